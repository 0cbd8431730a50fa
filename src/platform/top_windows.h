// The top-level windows of the desktop as the core sees them: the window walk, a
// window's class and visibility, and messages sent to windows of other programs. The
// class name goes into the caller's buffer, so that its fixed size stays visible where
// the name is read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/hwnd.h"

namespace winmsg {
constexpr std::uint32_t kQueryEndSession = 0x0011;
constexpr std::uint32_t kEndSession = 0x0016;
constexpr std::uint32_t kSettingChange = 0x001A;  // WM_WININICHANGE
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uint32_t kUser = 0x0400;
constexpr std::uintptr_t kScClose = 0xF060;
constexpr std::intptr_t kEndSessionLogoff = static_cast<std::intptr_t>(0x80000000u);
}  // namespace winmsg

class TopWindows {
public:
    virtual ~TopWindows() = default;

    // EnumWindows: visit is called for each top-level window, from the top of the Z
    // order, until it returns false. False when the walk could not be made.
    virtual bool Enumerate(const std::function<bool(HWnd window)>& visit) = 0;

    // GetClassNameA: copies at most size - 1 bytes of the class name and a NUL, and
    // returns the number of bytes copied without the NUL; 0 when window is not a window.
    [[nodiscard]] virtual int ClassName(HWnd window, char* buffer, int size) = 0;

    // IsWindowVisible: the window and all its owners have the visible style (a
    // minimised window is visible). False for anything that is not a window.
    virtual bool IsVisible(HWnd window) = 0;

    // IsWindow.
    virtual bool Exists(HWnd window) = 0;

    // Sends a message and waits until the window has processed it; *result (when not
    // null) receives the window's answer. False when the message was not processed:
    // window is not a window, or its program has stopped answering messages.
    virtual bool Send(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam, std::intptr_t* result) = 0;

    // As Send, with lParam pointing at text (a NUL-terminated ANSI string), which the
    // system carries into the other program for the messages that take a text, such as
    // the setting-change notification.
    virtual bool SendText(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                          const std::string& text, std::intptr_t* result) = 0;
};
