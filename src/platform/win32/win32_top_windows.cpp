#include "platform/win32/win32_top_windows.h"

#include <windows.h>

static_assert(winmsg::kQueryEndSession == WM_QUERYENDSESSION);
static_assert(winmsg::kEndSession == WM_ENDSESSION);
static_assert(winmsg::kSettingChange == WM_SETTINGCHANGE);
static_assert(winmsg::kSysCommand == WM_SYSCOMMAND);
static_assert(winmsg::kUser == WM_USER);
static_assert(winmsg::kScClose == SC_CLOSE);
static_assert(winmsg::kEndSessionLogoff == static_cast<std::intptr_t>(ENDSESSION_LOGOFF));

namespace {

HWND ToHwnd(HWnd window) {
    return reinterpret_cast<HWND>(window.value);
}

struct Walk {
    const std::function<bool(HWnd)>& visit;
    bool stopped = false;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
    Walk& walk = *reinterpret_cast<Walk*>(context);
    walk.stopped = !walk.visit(HWnd{reinterpret_cast<std::uintptr_t>(window)});
    return walk.stopped ? FALSE : TRUE;
}

// A send waits as long as the window works on the message (a browser may ask its user
// something first), but not for a program that has already stopped answering: the
// system then reports it as hung and the send fails at once instead of blocking the
// run for good.
constexpr UINT kSendFlags = SMTO_NORMAL | SMTO_ABORTIFHUNG;
constexpr UINT kNoTimeout = 0xFFFFFFFFu;

bool SendWaiting(HWnd window, std::uint32_t message, std::uintptr_t wParam, LPARAM lParam,
                 std::intptr_t* result) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(ToHwnd(window), message, wParam, lParam, kSendFlags, kNoTimeout,
                            &answer) == 0) {
        return false;
    }
    if (result != nullptr) {
        *result = static_cast<std::intptr_t>(answer);
    }
    return true;
}

}  // namespace

bool Win32TopWindows::Enumerate(const std::function<bool(HWnd window)>& visit) {
    Walk walk{visit};
    // EnumWindows also answers FALSE when the visit ends the walk early.
    return EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&walk)) != FALSE || walk.stopped;
}

int Win32TopWindows::ClassName(HWnd window, char* buffer, int size) {
    return GetClassNameA(ToHwnd(window), buffer, size);
}

bool Win32TopWindows::IsVisible(HWnd window) {
    return IsWindowVisible(ToHwnd(window)) != FALSE;
}

bool Win32TopWindows::Exists(HWnd window) {
    return IsWindow(ToHwnd(window)) != FALSE;
}

bool Win32TopWindows::Send(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam, std::intptr_t* result) {
    return SendWaiting(window, message, wParam, lParam, result);
}

bool Win32TopWindows::SendText(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                               const std::string& text, std::intptr_t* result) {
    return SendWaiting(window, message, wParam, reinterpret_cast<LPARAM>(text.c_str()), result);
}
