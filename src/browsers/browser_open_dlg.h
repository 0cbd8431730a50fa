// Dialog 151: tells the user that Internet Explorer windows are open and offers to
// close them before the command goes on, or to leave them.
#pragma once

#include <functional>

#include "res/resource.h"
#include "state/browser_prompt.h"
#include "ui/dialog.h"
#include "ui/message_table.h"

class BrowserOpenDlg : public Dialog {
public:
    // closeBrowsers is called with the dialog's own window when the user chooses to
    // close the browsers.
    explicit BrowserOpenDlg(std::function<void(HWnd self)> closeBrowsers)
        : Dialog(IDD_BROWSER_OPEN), closeBrowsers_(std::move(closeBrowsers)) {}

    // Follows the "以后不再显示本对话框" box whenever the dialog reads its controls.
    bool dontShowAgain = false;

    BEGIN_MESSAGE_TABLE()
    ON_INIT_DIALOG(OnInitDialog)
    ON_COMMAND(IDCANCEL, OnCloseBrowsers)  // button 2, Escape and the close box
    ON_COMMAND(IDOK, OnLeaveOpen)          // button 1
    ON_COMMAND(IDC_DONT_SHOW_AGAIN, ReadControls)
    END_MESSAGE_TABLE()

private:
    bool OnInitDialog();
    void OnCloseBrowsers();
    void OnLeaveOpen();
    void ReadControls() { dontShowAgain = IsChecked(IDC_DONT_SHOW_AGAIN); }

    std::function<void(HWnd self)> closeBrowsers_;
};

// The program's way of asking: dialog 151, modal over the owner.
class DialogBrowserPrompt : public BrowserPrompt {
public:
    int Ask(HWnd owner, const std::function<void(HWnd self)>& closeBrowsers,
            bool* dontShowAgain) override;
};
