// A stand-in for open browsers in tests: creates top-level windows of the browsers'
// classes (and of near misses), visible and hidden, and appends every message of
// interest that each receives to a record file, one line each:
//   <tag> <message> <wParam hex> <lParam hex or text>
// Visible windows close as real ones do when asked. Usage:
//   browser_windows_app.exe RECORD-FILE READY-EVENT-NAME
// The ready event is set once every window exists; the program then runs until it is
// ended by its test.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HANDLE gRecord = INVALID_HANDLE_VALUE;

struct BrowserWindow {
    const char* tag;
    const char* className;
    DWORD style;
};

constexpr DWORD kShown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr BrowserWindow kWindows[] = {
    {"ie", "IEFrame", kShown},
    {"ie-lower", "ieframe", kShown},
    {"ie-minimised", "IEFrame", kShown | WS_MINIMIZE},
    {"ie-hidden", "IEFrame", WS_OVERLAPPEDWINDOW},
    {"ie-longer", "IEFrameX", kShown},
    {"mozilla", "MozillaWindowClass", kShown},
    {"mozilla-hidden", "MozillaWindowClass", WS_OVERLAPPEDWINDOW},
    {"aol", "AOL Frame25", kShown},
    {"aol-hidden", "AOL Frame25", WS_OVERLAPPEDWINDOW},
};

void Record(HWND window, const char* message, WPARAM wParam, const std::string& last) {
    char tag[64] = "";
    GetWindowTextA(window, tag, sizeof tag);
    char head[160];
    std::snprintf(head, sizeof head, "%s %s %lx ", tag, message,
                  static_cast<unsigned long>(wParam));
    std::string line = head + last + "\n";
    DWORD written = 0;
    WriteFile(gRecord, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string Hex(LPARAM value) {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(value));
    return text;
}

LRESULT CALLBACK BrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            Record(window, "WM_SYSCOMMAND", wParam, Hex(lParam));
            break;
        case WM_QUERYENDSESSION:
            Sleep(100);  // a slow answer: the sender must wait for it
            Record(window, "WM_QUERYENDSESSION", wParam, Hex(lParam));
            break;
        case WM_ENDSESSION:
            Record(window, "WM_ENDSESSION", wParam, Hex(lParam));
            break;
        case WM_SETTINGCHANGE:
            Record(window, "WM_SETTINGCHANGE", wParam,
                   lParam != 0 ? reinterpret_cast<const char*>(lParam) : "(null)");
            break;
        case WM_DESTROY:
            Record(window, "WM_DESTROY", 0, "0");
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    gRecord = CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const BrowserWindow& w : kWindows) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = BrowserProc;
        wc.hInstance = instance;
        wc.lpszClassName = w.className;
        RegisterClassA(&wc);
        CreateWindowExA(0, w.className, w.tag, w.style, 10, 10, 200, 120, nullptr, nullptr,
                        instance, nullptr);
    }
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    SetEvent(ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    return 0;
}
