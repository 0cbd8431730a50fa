// The About dialog: the program's name and version, and a link to its web page.
#pragma once

#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/message_table.h"
#include "ui/static_link.h"

// A neutral address on a domain reserved for examples.
constexpr char kHomePage[] = "http://www.example.com/corvane/";

class AboutDlg : public Dialog {
public:
    AboutDlg() : Dialog(IDD_ABOUTBOX) {}

    BEGIN_MESSAGE_TABLE()
    ON_INIT_DIALOG(OnInitDialog)
    ON_COMMAND(IDOK, OnOk)
    ON_COMMAND(IDCANCEL, OnOk)
    END_MESSAGE_TABLE()

private:
    bool OnInitDialog() {
        SetDlgItemTextA(Handle(), IDC_LINK, kHomePage);
        link_.Attach(Handle(), IDC_LINK);
        Center();
        return true;
    }
    void OnOk() { EndDialog(IDOK); }

    CStaticLink link_{kHomePage};
};
