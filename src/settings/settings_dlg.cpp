#include "settings/settings_dlg.h"

#include "clean/erasers.h"
#include "settings/keep_cookies_dlg.h"
#include "ui/help.h"

namespace {

// Each category's check box, its switch, and its help button with the topic it shows,
// in the order the help buttons are bound.
struct Category {
    int checkBox;
    std::int32_t EraserSettings::*field;
    int helpButton;
    int topic;
};

// clang-format off
constexpr Category kRows[SettingsDlg::kCategories] = {
    {1001, &EraserSettings::clearCookies,           1029, 320},
    {1002, &EraserSettings::clearHistory,           1030, 321},
    {1003, &EraserSettings::clearTempInternetFiles, 1031, 322},
    {1004, &EraserSettings::clearIndexDat,          1032, 323},
    {1009, &EraserSettings::clearWindowsTemp,       1037, 324},
    {1006, &EraserSettings::emptyRecycleBin,        1034, 326},
    {1007, &EraserSettings::clearRecentDocs,        1035, 325},
    {1008, &EraserSettings::clearAutoComplete,      1036, 327},
    {1005, &EraserSettings::resetStartPage,         1033, 328},
    {1010, &EraserSettings::clearSearchHistory,     1038, 329},
};
// clang-format on

constexpr int kFirstPolicy = 1021;  // radio buttons 1021 to 1023: policies 0 to 2

}  // namespace

bool SettingsDlg::OnInitDialog() {
    ShowSettings();
    for (int i = 0; i < kCategories; ++i) {
        helpButtons_[i].Attach(Handle(), kRows[i].helpButton);
        SetWindowPos(helpButtons_[i].Handle(), nullptr, 0, 0, SkinHelpButton::kSize,
                     SkinHelpButton::kSize, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    Center();
    return true;
}

// A policy other than 0 to 2 (a value edited in the registry) acts as 2, asking: the
// dialog shows it so, and never opens with no choice checked.
void SettingsDlg::ShowSettings() {
    for (const Category& category : kRows) {
        SetChecked(category.checkBox, settings.*category.field != 0);
    }
    int policy = settings.closeBrowserPolicy;
    if (policy < 0 || policy > closepolicy::kAsk) {
        policy = closepolicy::kAsk;
    }
    CheckRadioButton(Handle(), kFirstPolicy, kFirstPolicy + 2, kFirstPolicy + policy);
}

void SettingsDlg::ReadSettings() {
    for (const Category& category : kRows) {
        settings.*category.field = IsChecked(category.checkBox) ? 1 : 0;
    }
    for (int policy = 0; policy <= 2; ++policy) {
        if (IsChecked(kFirstPolicy + policy)) {
            settings.closeBrowserPolicy = policy;
        }
    }
}

// Nothing is read first: the radio buttons go back to the choice the dialog opened with.
void SettingsDlg::OnSelectAll() {
    SetAllSwitches(settings, 1);
    ShowSettings();
}

// The sites of the URL cache's cookies and of Mozilla's cookies.txt, and the kept ones.
// OK there changes this dialog's copy only: Cancel here drops it too.
void SettingsDlg::OnKeepCookies() {
    std::vector<std::string> hosts = CacheCookieHosts(commands_);
    std::vector<std::string> mozilla = MozillaCookieHosts(commands_);
    hosts.insert(hosts.end(), mozilla.begin(), mozilla.end());
    KeepCookiesDlg keep(KeepChoices(hosts, settings.keepCookies), settings.keepCookies);
    if (keep.DoModal(Handle()) == IDOK) {
        settings.keepCookies = keep.keep;
    }
}

void SettingsDlg::OnOk() {
    ReadSettings();
    EndDialog(IDOK);
}

void SettingsDlg::OnHelp() {
    ShowHelpContents(Handle());
}

void SettingsDlg::OnHelpButton(int id) {
    for (const Category& category : kRows) {
        if (category.helpButton == id) {
            ShowHelpTopic(Handle(), category.topic);
        }
    }
}
