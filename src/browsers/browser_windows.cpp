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

int CloseIEWindows(TopWindows& windows, HWnd owner) {
    int closed = 0;
    WalkWindowsOfClass(windows, kIeFrameClass, &owner, [&](HWnd window) {
        SendClose(windows, window);
        ++closed;
    });
    return closed;
}

void DetectIEWindows(TopWindows& windows, HWnd mainWindow) {
    WalkWindowsOfClass(windows, kIeFrameClass, &mainWindow, [&](HWnd) {
        windows.Send(mainWindow, kIeWindowOpenMessage, 0, 0, nullptr);
    });
}

int CloseMozillaWindows(EraserDlg& dlg) {
    TopWindows& windows = dlg.platform.windows;
    int closed = 0;
    WalkWindowsOfClass(windows, kMozillaClass, nullptr, [&](HWnd window) {
        SendClose(windows, window);
        ++closed;
    });
    return closed;
}

// AOL is told that the session ends before it is asked to close, so that it closes
// without asking its user first. Its answer to the query is not looked at.
int CloseAolWindows(EraserDlg& dlg) {
    TopWindows& windows = dlg.platform.windows;
    int closed = 0;
    WalkWindowsOfClass(windows, kAolClass, nullptr, [&](HWnd window) {
        windows.Send(window, winmsg::kQueryEndSession, 0, winmsg::kEndSessionLogoff, nullptr);
        windows.Send(window, winmsg::kEndSession, 1, winmsg::kEndSessionLogoff, nullptr);
        SendClose(windows, window);
        ++closed;
    });
    return closed;
}

// Sends nothing: Mozilla's and AOL's windows, and Internet Explorer's when the policy
// closes them without asking. What an asked user would answer is not known.
int CountBrowserWindowsToClose(EraserDlg& dlg) {
    int count = 0;
    auto add = [&count](HWnd) { ++count; };
    WalkWindowsOfClass(dlg.platform.windows, kMozillaClass, nullptr, add);
    WalkWindowsOfClass(dlg.platform.windows, kAolClass, nullptr, add);
    if (dlg.settings.closeBrowserPolicy == closepolicy::kCloseWithoutAsking) {
        WalkWindowsOfClass(dlg.platform.windows, kIeFrameClass, &dlg.window, add);
    }
    return count;
}
