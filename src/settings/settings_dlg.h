// The settings dialog (129): the ten categories, each with its help button, the keep list
// of cookies (its own dialog) and what Clear does about open browser windows. It works on
// a copy of the user's choices that the caller takes back after OK.
#pragma once

#include "res/resource.h"
#include "state/command_state.h"
#include "state/eraser_dlg.h"
#include "ui/dialog.h"
#include "ui/message_table.h"
#include "ui/skin_button.h"

class SettingsDlg : public Dialog {
public:
    static constexpr int kCategories = 10;

    // commands: where the keep dialog finds the sites that hold cookies now.
    SettingsDlg(const EraserSettings& current, EraserDlg& commands)
        : Dialog(IDD_SETTINGS), settings(current), commands_(commands) {}

    BEGIN_MESSAGE_TABLE()
    ON_INIT_DIALOG(OnInitDialog)
    ON_HELP(OnHelp)
    ON_COMMAND(IDC_SELECT_ALL, OnSelectAll)
    ON_COMMAND(IDC_KEEP_COOKIES, OnKeepCookies)
    ON_COMMAND(IDOK, OnOk)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_COMMAND_RANGE(IDC_HELP_FIRST, IDC_HELP_LAST, OnHelpButton)
    END_MESSAGE_TABLE()

    // The choices as the dialog shows them; read back from the controls on OK.
    EraserSettings settings;

private:
    bool OnInitDialog();
    void OnHelp();
    void OnSelectAll();
    void OnKeepCookies();
    void OnOk();
    void OnCancel() { EndDialog(IDCANCEL); }
    void OnHelpButton(int id);
    // Check marks and the checked radio button from settings, and back.
    void ShowSettings();
    void ReadSettings();

    EraserDlg& commands_;
    SkinHelpButton helpButtons_[kCategories];
};
