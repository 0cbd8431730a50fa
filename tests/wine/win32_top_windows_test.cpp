// The top-windows contract against real windows of the test's own thread.
#include "platform/win32/win32_top_windows.h"

#include <windows.h>

#include <map>

#include "platform/top_windows_contract.h"

namespace {

std::map<HWND, std::vector<SentMessage>>& Records() {
    static std::map<HWND, std::vector<SentMessage>> records;
    return records;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        const char* text = reinterpret_cast<const char*>(lParam);
        Records()[window].push_back(SentMessage{message, wParam, 0, true, text ? text : ""});
        return 0;
    }
    if (message >= kAppMessage && message < 0xC000) {
        Records()[window].push_back(SentMessage{message, wParam, lParam, false, ""});
        return message == kAppMessage + 1 ? static_cast<LRESULT>(wParam) + lParam : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Win32WindowsEnv {
    ~Win32WindowsEnv() {
        for (HWND window : created) {
            DestroyWindow(window);
        }
    }
    HWnd Create(const std::string& className, bool visible, bool minimised) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className.c_str();
        RegisterClassA(&wc);  // fails harmlessly when an earlier test registered it
        DWORD style =
            WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0) | (minimised ? WS_MINIMIZE : 0);
        HWND window = CreateWindowExA(0, className.c_str(), "", style, 0, 0, 100, 80, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        EXPECT_NE(nullptr, window) << className;
        created.push_back(window);
        Records().erase(window);  // a handle may be that of a window of an earlier test
        return HWnd{reinterpret_cast<std::uintptr_t>(window)};
    }
    void Destroy(HWnd window) { DestroyWindow(reinterpret_cast<HWND>(window.value)); }
    std::vector<SentMessage> Received(HWnd window) {
        return Records()[reinterpret_cast<HWND>(window.value)];
    }

    Win32TopWindows windows;
    std::vector<HWND> created;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TopWindowsContract, Win32WindowsEnv);
