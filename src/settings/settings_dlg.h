// The settings dialog (129): the ten categories, each with its help button, and what
// Clear does about open browser windows. It works on a copy of the user's choices that
// the caller takes back after OK.
#pragma once

#include "res/resource.h"
#include "state/command_state.h"
#include "ui/dialog.h"
#include "ui/message_table.h"
#include "ui/skin_button.h"

class SettingsDlg : public Dialog {
public:
    static constexpr int kCategories = 10;

    explicit SettingsDlg(const EraserSettings& current) : Dialog(IDD_SETTINGS), settings(current) {}

    BEGIN_MESSAGE_TABLE()
    ON_INIT_DIALOG(OnInitDialog)
    ON_HELP(OnHelp)
    ON_COMMAND(IDC_SELECT_ALL, OnSelectAll)
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
    void OnOk();
    void OnCancel() { EndDialog(IDCANCEL); }
    void OnHelpButton(int id);
    // Check marks and the checked radio button from settings, and back.
    void ShowSettings();
    void ReadSettings();

    SkinHelpButton helpButtons_[kCategories];
};
