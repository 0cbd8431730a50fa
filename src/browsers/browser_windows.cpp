// The window walks behind the open-browser steps (clean/window_walk.h). Nothing checks
// afterwards that a window has really closed.

#include "browsers/browser_windows.h"

#include "clean/erasers.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kMozillaClass[] = "MozillaWindowClass";
constexpr char kAolClass[] = "AOL Frame25";

void SendClose(TopWindows& windows, HWnd window) {
    windows.Send(window, winmsg::kSysCommand, winmsg::kScClose, 0, nullptr);
}

}  // namespace

void CloseIEWindows(TopWindows& windows, HWnd owner) {
    WalkWindowsOfClass(windows, kIeFrameClass, &owner,
                       [&](HWnd window) { SendClose(windows, window); });
}

void DetectIEWindows(TopWindows& windows, HWnd mainWindow) {
    WalkWindowsOfClass(windows, kIeFrameClass, &mainWindow, [&](HWnd) {
        windows.Send(mainWindow, kIeWindowOpenMessage, 0, 0, nullptr);
    });
}

void CloseMozillaWindows(EraserDlg& dlg) {
    TopWindows& windows = dlg.platform.windows;
    WalkWindowsOfClass(windows, kMozillaClass, nullptr,
                       [&](HWnd window) { SendClose(windows, window); });
}

// AOL is told that the session ends before it is asked to close, so that it closes
// without asking its user first. Its answer to the query is not looked at.
void CloseAolWindows(EraserDlg& dlg) {
    TopWindows& windows = dlg.platform.windows;
    WalkWindowsOfClass(windows, kAolClass, nullptr, [&](HWnd window) {
        windows.Send(window, winmsg::kQueryEndSession, 0, winmsg::kEndSessionLogoff, nullptr);
        windows.Send(window, winmsg::kEndSession, 1, winmsg::kEndSessionLogoff, nullptr);
        SendClose(windows, window);
    });
}
