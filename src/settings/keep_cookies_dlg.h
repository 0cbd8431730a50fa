// The keep dialog (130), opened from the settings dialog: the sites that hold cookies now
// and the kept ones, each with a check box, and a field to add a host by hand. It works on
// a copy of the keep list that the caller takes back after OK.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "state/keep_list.h"
#include "ui/dialog.h"
#include "ui/message_table.h"
#include "ui/skin_button.h"

class KeepCookiesDlg : public Dialog {
public:
    // Its help topic in corvane.hlp.
    static constexpr int kTopic = 330;

    // rows: the hosts listed (KeepChoices), each ticked when keep holds it.
    KeepCookiesDlg(std::vector<std::string> rows, KeepList current)
        : Dialog(IDD_KEEP_COOKIES), keep(std::move(current)), rows_(std::move(rows)) {}

    BEGIN_MESSAGE_TABLE()
    ON_INIT_DIALOG(OnInitDialog)
    ON_HELP(OnHelp)
    ON_COMMAND(IDC_KEEP_HELP, OnHelp)
    ON_COMMAND(IDC_KEEP_ADD, OnAdd)
    ON_COMMAND(IDOK, OnOk)
    ON_COMMAND(IDCANCEL, OnCancel)
    END_MESSAGE_TABLE()

    // The ticked hosts, in the order listed; read back from the list on OK.
    KeepList keep;

private:
    bool OnInitDialog();
    void OnHelp();
    void OnAdd();
    void OnOk();
    void OnCancel() { EndDialog(IDCANCEL); }
    // Puts host in the list at row, ticked or not.
    void InsertRow(int row, const std::string& host, bool ticked);

    std::vector<std::string> rows_;  // the list's hosts, sorted, as it shows them
    SkinHelpButton help_;
};
