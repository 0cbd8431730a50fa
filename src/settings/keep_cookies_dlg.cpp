#include "settings/keep_cookies_dlg.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/help.h"

namespace {

constexpr char kNotAHost[] = "请输入网站的主机名，例如 mail.example.com。";
constexpr char kCaption[] = "信息";
// What a typed URL may take; longer text is no address of a site anyway.
constexpr int kTypedLimit = 1000;

}  // namespace

bool KeepCookiesDlg::OnInitDialog() {
    HWND list = Item(IDC_KEEP_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT area;
    GetClientRect(list, &area);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = area.right - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (size_t row = 0; row < rows_.size(); ++row) {
        bool ticked = std::find(keep.begin(), keep.end(), rows_[row]) != keep.end();
        InsertRow(static_cast<int>(row), rows_[row], ticked);
    }
    SendDlgItemMessageA(Handle(), IDC_KEEP_HOST, EM_LIMITTEXT, kTypedLimit, 0);
    help_.Attach(Handle(), IDC_KEEP_HELP);
    SetWindowPos(help_.Handle(), nullptr, 0, 0, SkinHelpButton::kSize, SkinHelpButton::kSize,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
    Center();
    return true;
}

void KeepCookiesDlg::InsertRow(int row, const std::string& host, bool ticked) {
    HWND list = Item(IDC_KEEP_LIST);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(host.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    ListView_SetCheckState(list, row, ticked ? TRUE : FALSE);
}

void KeepCookiesDlg::OnHelp() {
    ShowHelpTopic(Handle(), kTopic);
}

// A host already listed is ticked; a new one joins the list in its sorted place. Text
// that is no host name is refused, and stays in the field to be mended.
void KeepCookiesDlg::OnAdd() {
    char typed[kTypedLimit + 1] = "";
    GetDlgItemTextA(Handle(), IDC_KEEP_HOST, typed, sizeof typed);
    std::string host = HostOfTyped(typed);
    if (host.empty()) {
        MessageBoxA(Handle(), kNotAHost, kCaption, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(IDC_KEEP_HOST));
        return;
    }
    auto at = std::lower_bound(rows_.begin(), rows_.end(), host);
    int row = static_cast<int>(at - rows_.begin());
    if (at == rows_.end() || *at != host) {
        rows_.insert(at, host);
        InsertRow(row, host, true);
    }
    HWND list = Item(IDC_KEEP_LIST);
    ListView_SetCheckState(list, row, TRUE);
    ListView_EnsureVisible(list, row, FALSE);
    SetDlgItemTextA(Handle(), IDC_KEEP_HOST, "");
}

void KeepCookiesDlg::OnOk() {
    keep.clear();
    for (size_t row = 0; row < rows_.size(); ++row) {
        if (ListView_GetCheckState(Item(IDC_KEEP_LIST), static_cast<int>(row))) {
            keep.push_back(rows_[row]);
        }
    }
    EndDialog(IDOK);
}
