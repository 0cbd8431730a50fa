// What Clear (and later Save state and Restore) does first about open Internet
// Explorer windows, by closeBrowserPolicy: close them, leave them, or ask.

#include "browsers/browser_windows.h"
#include "clean/erasers.h"
#include "state/browser_prompt.h"
#include "state/eraser_dlg.h"

namespace {

// The question is asked only when the main window heard of an open window. A ticked
// "以后不再显示本对话框" turns the answer into the policy; it reaches the registry when
// the settings are saved.
// How many windows the user had closed.
int AskAboutOpenIEWindows(EraserDlg& dlg) {
    TopWindows& windows = dlg.platform.windows;
    dlg.ieWindowOpen = false;
    DetectIEWindows(windows, dlg.window);
    if (!dlg.ieWindowOpen) {
        return 0;
    }
    bool dontShowAgain = false;
    int answer = 0;
    int closed = 0;
    if (dlg.browserPrompt != nullptr) {
        answer = dlg.browserPrompt->Ask(
            dlg.window, [&](HWnd self) { closed += CloseIEWindows(windows, self); },
            &dontShowAgain);
    }
    if (dontShowAgain) {
        dlg.settings.closeBrowserPolicy = answer == browserprompt::kLeftOpen
                                              ? closepolicy::kNeverClose
                                              : closepolicy::kCloseWithoutAsking;
    }
    dlg.ieWindowOpen = false;
    return closed;
}

}  // namespace

int HandleOpenIEWindows(EraserDlg& dlg) {
    switch (dlg.settings.closeBrowserPolicy) {
        case closepolicy::kNeverClose:
            return 0;
        case closepolicy::kCloseWithoutAsking:
            return CloseIEWindows(dlg.platform.windows, dlg.window);
        default:
            return AskAboutOpenIEWindows(dlg);
    }
}
