#include "browsers/browser_open_dlg.h"

namespace {

HWnd ToHWnd(HWND window) {
    return HWnd{reinterpret_cast<std::uintptr_t>(window)};
}

}  // namespace

bool BrowserOpenDlg::OnInitDialog() {
    SetChecked(IDC_DONT_SHOW_AGAIN, dontShowAgain);
    Center();
    return true;
}

void BrowserOpenDlg::OnCloseBrowsers() {
    closeBrowsers_(ToHWnd(Handle()));
    ReadControls();
    EndDialog(browserprompt::kClosedBrowsers);
}

void BrowserOpenDlg::OnLeaveOpen() {
    ReadControls();
    EndDialog(browserprompt::kLeftOpen);
}

int DialogBrowserPrompt::Ask(HWnd owner, const std::function<void(HWnd self)>& closeBrowsers,
                             bool* dontShowAgain) {
    BrowserOpenDlg dialog(closeBrowsers);
    INT_PTR result = dialog.DoModal(reinterpret_cast<HWND>(owner.value));
    *dontShowAgain = dialog.dontShowAgain;
    return static_cast<int>(result);
}
