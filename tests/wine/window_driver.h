// Drives the program's windows as a user would, from a thread of its own while the window
// runs its modal loop on the test's thread: real mouse and key input (SendInput), the
// controls read back through their messages, pixels read from the window's face.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/gdi.h"

namespace driver {

// Asks done up to tries times, pausing ms milliseconds after each no; whether it said yes.
template <class Done>
bool WaitUntil(int tries, DWORD ms, const Done& done) {
    for (int i = 0; i < tries; ++i) {
        if (done()) {
            return true;
        }
        Sleep(ms);
    }
    return false;
}

// The top-level window of class and title once it is shown; null after 10 seconds.
inline HWND WaitForWindow(const char* className, const char* title) {
    HWND window = nullptr;
    WaitUntil(200, 50, [&] { return IsWindowVisible(window = FindWindowA(className, title)); });
    return window;
}

// Waits until the window's thread has handled what input and messages it had, and has
// painted what was waiting to be painted.
inline void Settle(HWND window) {
    Sleep(150);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Mouse input: a move to point of window's client area (absolute, in 1/65536 of the
// screen), or the left button going down or up.
inline void Mouse(DWORD flags, HWND window = nullptr, POINT point = {}) {
    ClientToScreen(window, &point);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx =
        (point.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy =
        (point.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}
inline void MouseTo(HWND window, POINT point) {
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, window, point);
}
inline void LeftButton(bool down) {
    Mouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}
inline void Click(HWND window, POINT point) {
    MouseTo(window, point);
    LeftButton(true);
    LeftButton(false);
}
inline void Key(WORD vk) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

// The control that has the keyboard focus in window's thread.
inline HWND Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A control's rectangle in its parent's client area.
inline RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The columns of r in window where a pixel has exactly color.
inline std::vector<int> ColumnsOf(HWND window, RECT r, COLORREF color) {
    std::vector<int> columns;
    HDC dc = GetDC(window);
    for (int x = r.left; x < r.right; ++x) {
        for (int y = r.top; y < r.bottom; ++y) {
            if (GetPixel(dc, x, y) == color && (columns.empty() || columns.back() != x)) {
                columns.push_back(x);
            }
        }
    }
    ReleaseDC(window, dc);
    return columns;
}
inline COLORREF Pixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

// A pixel of a bitmap of the program's resources.
inline COLORREF BitmapPixel(int id, int x, int y) {
    Bitmap bitmap(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    MemoryDC dc(nullptr);
    Selection into(dc.Get(), bitmap.Get());
    return GetPixel(dc.Get(), x, y);
}

// A list box's lines; waiting up to a minute for its last line to be line.
inline std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (size_t i = 0; i < lines.size(); ++i) {
        lines[i].resize(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1);
        lines[i].resize(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&lines[i][0])));
    }
    return lines;
}
inline bool WaitForLastLine(HWND list, const std::string& line) {
    return WaitUntil(1200, 50, [&] {
        std::vector<std::string> lines = ListLines(list);
        return !lines.empty() && lines.back() == line;
    });
}

// GDI objects in use: Wine keeps its GDI handle table where Windows does, named in the
// process environment block, 24 bytes an entry, an entry in use having a type.
inline int LiveGdiObjects() {
    struct Entry {
        unsigned long long object;
        unsigned int owner;
        unsigned short unique;
        unsigned char type, flags;
        unsigned long long user;
    };
    const char* peb = nullptr;
    asm("movl %%fs:0x30, %0" : "=r"(peb));
    const Entry* table = *reinterpret_cast<const Entry* const*>(peb + 0x94);
    int live = 0;
    for (int i = 0; table != nullptr && i < 0x10000; ++i) {
        live += table[i].type != 0;
    }
    return live;
}

}  // namespace driver
