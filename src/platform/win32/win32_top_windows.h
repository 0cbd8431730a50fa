// Top-level windows through USER32: EnumWindows, GetClassNameA, IsWindowVisible,
// IsWindow and SendMessageTimeoutA.
#pragma once

#include "platform/top_windows.h"

class Win32TopWindows : public TopWindows {
public:
    bool Enumerate(const std::function<bool(HWnd window)>& visit) override;
    int ClassName(HWnd window, char* buffer, int size) override;
    bool IsVisible(HWnd window) override;
    bool Exists(HWnd window) override;
    bool Send(HWnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
              std::intptr_t* result) override;
    bool SendText(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                  const std::string& text, std::intptr_t* result) override;
};
