// Takes pictures of Corvane's windows for the main job and the documentation. It starts
// PROGRAM (corvane.exe) without switches, and
//   window_shot test  OUT.bmp PROGRAM   presses Test in the main window, waits for the
//                                       run's last line and saves the window;
//   window_shot about OUT.bmp PROGRAM   opens About from the system menu and saves it;
//   window_shot settings OUT.bmp PROGRAM  opens the settings dialog and saves it;
//   window_shot keep OUT.bmp PROGRAM  opens the keep dialog of cookies from it and saves that;
// as a 24-bit BMP, then closes the program. Exit status 0 when the picture was saved.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND WaitForWindow(const char* title) {
    for (int tries = 0; tries < 600; ++tries, Sleep(50)) {
        HWND window = FindWindowA("#32770", title);
        if (window != nullptr && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Asked in UTF-16: another process's list box answers an ANSI request with the wrong text.
std::wstring LastLine(HWND list) {
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    wchar_t text[512] = L"";
    LRESULT length = count > 0 ? SendMessageW(list, LB_GETTEXTLEN, count - 1, 0) : -1;
    if (length < 0 || length >= 512) {
        return L"";
    }
    SendMessageW(list, LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(text));
    return text;
}

// Saves what window shows on the screen, frame included.
bool Save(HWND window, const char* path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(500);  // the display catches up with the window's surface
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    DWORD size = ((width * 3 + 3) & ~3) * height;
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + size), 0, 0,
                             sizeof file + sizeof header};
    FILE* out = std::fopen(path, "wb");
    bool saved = out != nullptr && std::fwrite(&file, sizeof file, 1, out) == 1 &&
                 std::fwrite(&header, sizeof header, 1, out) == 1 &&
                 std::fwrite(bits, size, 1, out) == 1;
    if (out != nullptr) {
        saved = std::fclose(out) == 0 && saved;
    }
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: window_shot test|about|settings|keep OUT.bmp PROGRAM\n");
        return 2;
    }
    const std::string what = argv[1];
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION program = {};
    std::string command = std::string("\"") + argv[3] + "\"";
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &program)) {
        std::fprintf(stderr, "window_shot: cannot start %s\n", argv[3]);
        return 1;
    }
    HWND main = WaitForWindow("Corvane");
    bool saved = false;
    if (main != nullptr && (what == "about" || what == "settings" || what == "keep")) {
        if (what == "about") {
            PostMessageA(main, WM_SYSCOMMAND, 0x0010, 0);  // the system menu's About entry
        } else {
            PostMessageA(main, WM_COMMAND, 3, 0);  // Settings
        }
        HWND dialog = WaitForWindow(what == "about" ? "关于 Corvane" : "设置");
        HWND keep = nullptr;
        if (dialog != nullptr && what == "keep") {
            PostMessageA(dialog, WM_COMMAND, 1040, 0);  // 保留 Cookie
            keep = WaitForWindow("保留的 Cookie");
        }
        saved = (what == "keep" ? keep : dialog) != nullptr &&
                Save(what == "keep" ? keep : dialog, argv[2]);
        PostMessageA(keep, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    } else if (main != nullptr) {
        HWND log = GetDlgItem(main, 1000);
        PostMessageA(main, WM_COMMAND, 5, 0);  // Test
        for (int tries = 0; tries < 1200 && LastLine(log) != L"完成!"; ++tries) {
            Sleep(50);
        }
        saved = LastLine(log) == L"完成!" && Save(main, argv[2]);
    }
    PostMessageA(main, WM_COMMAND, 10, 0);  // Close
    WaitForSingleObject(program.hProcess, 30000);
    CloseHandle(program.hThread);
    CloseHandle(program.hProcess);
    return saved ? 0 : 1;
}
