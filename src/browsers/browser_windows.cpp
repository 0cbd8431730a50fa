// The window walks behind the open-browser steps. Each visits every top-level window
// and applies one filter, in this order: a real handle, visible, a class name that can
// be read, the owner window still there (Internet Explorer walks only), the class.
// Nothing checks afterwards that a window has really closed.

#include "browsers/browser_windows.h"

#include "clean/erasers.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kIeClass[] = "IEFrame";
constexpr char kMozillaClass[] = "MozillaWindowClass";
constexpr char kAolClass[] = "AOL Frame25";
constexpr int kClassNameSize = 200;  // class names are read up to 199 characters

constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kRunMruKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

using Action = std::function<void(HWnd window)>;

// owner is null for the walks that need none.
void WalkClass(TopWindows& windows, const char* className, const HWnd* owner, const Action& act) {
    windows.Enumerate([&](HWnd window) {
        if (window.value == 0 || !windows.IsVisible(window)) {
            return true;
        }
        char name[kClassNameSize];
        int length = windows.ClassName(window, name, sizeof name);
        if (length == 0 || (owner != nullptr && !windows.Exists(*owner))) {
            return true;
        }
        if (GbkEqualNoCase(std::string(name, length), className)) {
            act(window);
        }
        return true;  // every matching window is handled
    });
}

void SendClose(TopWindows& windows, HWnd window) {
    windows.Send(window, winmsg::kSysCommand, winmsg::kScClose, 0, nullptr);
}

}  // namespace

void CloseIEWindows(TopWindows& windows, HWnd owner) {
    WalkClass(windows, kIeClass, &owner, [&](HWnd window) { SendClose(windows, window); });
}

void DetectIEWindows(TopWindows& windows, HWnd mainWindow) {
    WalkClass(windows, kIeClass, &mainWindow,
              [&](HWnd) { windows.Send(mainWindow, kIeWindowOpenMessage, 0, 0, nullptr); });
}

void NotifyIEWindowsOfMruChange(TopWindows& windows, HWnd owner) {
    WalkClass(windows, kIeClass, &owner, [&](HWnd window) {
        windows.SendText(window, winmsg::kSettingChange, 0, kTypedUrlsKey, nullptr);
        windows.SendText(window, winmsg::kSettingChange, 0, kRunMruKey, nullptr);
    });
}

void CloseMozillaWindows(EraserDlg& dlg) {
    TopWindows& windows = dlg.platform.windows;
    WalkClass(windows, kMozillaClass, nullptr, [&](HWnd window) { SendClose(windows, window); });
}

// AOL is told that the session ends before it is asked to close, so that it closes
// without asking its user first. Its answer to the query is not looked at.
void CloseAolWindows(EraserDlg& dlg) {
    TopWindows& windows = dlg.platform.windows;
    WalkClass(windows, kAolClass, nullptr, [&](HWnd window) {
        windows.Send(window, winmsg::kQueryEndSession, 0, winmsg::kEndSessionLogoff, nullptr);
        windows.Send(window, winmsg::kEndSession, 1, winmsg::kEndSessionLogoff, nullptr);
        SendClose(windows, window);
    });
}
