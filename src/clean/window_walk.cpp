// Each walk visits every top-level window and applies one filter, in this order: a real
// handle, visible, a class name that can be read, the owner window still there (when
// given), the class.

#include "clean/window_walk.h"

#include <string>

#include "clean/ie_names.h"
#include "platform/gbk.h"

namespace {

constexpr int kClassNameSize = 200;  // class names are read up to 199 characters

}  // namespace

void WalkWindowsOfClass(TopWindows& windows, const char* className, const HWnd* owner,
                        const WindowAction& act) {
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

void NotifyIEWindowsOfMruChange(TopWindows& windows, HWnd owner) {
    WalkWindowsOfClass(windows, kIeFrameClass, &owner, [&](HWnd window) {
        windows.SendText(window, winmsg::kSettingChange, 0, iename::kTypedUrlsKey, nullptr);
        windows.SendText(window, winmsg::kSettingChange, 0, iename::kRunMruKey, nullptr);
    });
}
