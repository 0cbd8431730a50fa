// Drives the program's windows as a user would, from a thread of its own while the window
// runs its modal loop on the test's thread: real mouse and key input (SendInput), the
// controls read back through their messages, pixels read from the window's face.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace driver {

// The top-level window of class and title once it is shown; null after 10 seconds.
inline HWND WaitForWindow(const char* className, const char* title) {
    for (int tries = 0; tries < 200; ++tries, Sleep(50)) {
        HWND window = FindWindowA(className, title);
        if (window != nullptr && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Waits until the window's thread has handled what input and messages it had, and has
// painted what was waiting to be painted.
inline void Settle(HWND window) {
    Sleep(150);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

inline void Input(INPUT input) {
    SendInput(1, &input, sizeof input);
}

// Moves the mouse to point of window's client area.
inline void MouseTo(HWND window, POINT point) {
    ClientToScreen(window, &point);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx =
        (point.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy =
        (point.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Input(input);
}
inline void LeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    Input(input);
}
inline void Click(HWND window, POINT point) {
    MouseTo(window, point);
    LeftButton(true);
    LeftButton(false);
}
inline void Key(WORD vk) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    Input(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    Input(input);
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

inline COLORREF Pixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

// A pixel of a bitmap of the program's resources.
inline COLORREF BitmapPixel(int id, int x, int y) {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return color;
}

// The columns of r in window where a pixel has exactly color.
inline std::vector<int> ColumnsOf(HWND window, RECT r, COLORREF color) {
    std::vector<int> columns;
    HDC dc = GetDC(window);
    for (int x = r.left; x < r.right; ++x) {
        for (int y = r.top; y < r.bottom; ++y) {
            if (GetPixel(dc, x, y) == color) {
                columns.push_back(x);
                break;
            }
        }
    }
    ReleaseDC(window, dc);
    return columns;
}

// A list box's lines.
inline std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1, '\0');
        text.resize(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0])));
        lines.push_back(text);
    }
    return lines;
}

// Waits up to a minute for a list box's last line to be line.
inline bool WaitForLastLine(HWND list, const std::string& line) {
    for (int tries = 0; tries < 1200; ++tries, Sleep(50)) {
        std::vector<std::string> lines = ListLines(list);
        if (!lines.empty() && lines.back() == line) {
            return true;
        }
    }
    return false;
}

// Saves what window shows, frame included, as a 24-bit BMP file.
inline bool SaveScreenshot(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetWindowDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DWORD size = ((width * 3 + 3) & ~3) * height;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof header + size), 0, 0,
                          sizeof file + sizeof header};
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool ok = out != INVALID_HANDLE_VALUE &&
              WriteFile(out, &file, sizeof file, &written, nullptr) &&
              WriteFile(out, &header, sizeof header, &written, nullptr) &&
              WriteFile(out, bits, size, &written, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        CloseHandle(out);
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, screen);
    return ok;
}

}  // namespace driver

namespace driver {

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
