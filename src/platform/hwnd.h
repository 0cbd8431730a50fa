// A window handle as the core sees it. Plain value; null is no window.
#pragma once

#include <cstdint>

struct HWnd {
    std::uintptr_t value = 0;
    bool operator==(HWnd other) const { return value == other.value; }
    bool operator!=(HWnd other) const { return value != other.value; }
};
