// The second program of the tests under Wine, doing what the test process itself cannot:
//   windows (or none)  opens top-level windows of the browsers' classes (and of a near
//                      miss), prints "ready", then one line per message of interest that a
//                      window receives: "<title> <message> <wParam hex> <lParam>", until
//                      its hidden window "corvane_wine_helper" receives WM_QUIT
//   urlcache           puts a page, a cookie and a visited page of corvane.test into
//                      WinINet's cache, so that WinINet writes its index.dat files where
//                      the shell folders point
//   cookies HOST...    sets a lasting cookie of each host through WinINet
//   cookie URL         prints the cookies WinINet answers for URL, or "none"
#include <windows.h>
// windows.h first: WinINet builds on it.
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

// Prints the messages of interest a window receives.
LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // clang-format off
    static const std::map<UINT, const char*> names = {{WM_QUERYENDSESSION, "WM_QUERYENDSESSION"},
        {WM_ENDSESSION, "WM_ENDSESSION"}, {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"}};
    // clang-format on
    char title[64] = "", hex[16];
    std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(lParam));
    if (names.count(message) > 0 && GetWindowTextA(window, title, sizeof title) > 0) {
        std::printf("%s %s %x %s\n", title, names.at(message), static_cast<unsigned>(wParam),
                    message == WM_SETTINGCHANGE ? reinterpret_cast<const char*>(lParam) : hex);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "urlcache") {
        std::string site = "http://corvane.test/";
        std::string visited = "Visited: " + std::string(std::getenv("USERNAME")) + "@" + site;
        return !(
            CommitUrlCacheEntryA((site + "page.htm").c_str(), nullptr, {}, {}, NORMAL_CACHE_ENTRY,
                                 nullptr, 0, nullptr, nullptr) &&
            InternetSetCookieA(site.c_str(), "visit", "1; expires=Sat, 01-Jan-2033 00:00:00 GMT") &&
            CommitUrlCacheEntryA(visited.c_str(), nullptr, {}, {}, URLHISTORY_CACHE_ENTRY, nullptr,
                                 0, nullptr, nullptr));
    }
    if (argc > 1 && std::string(argv[1]) == "cookies") {
        bool set = true;
        for (int i = 2; i < argc; ++i) {
            set = set && InternetSetCookieA(("http://" + std::string(argv[i]) + "/").c_str(), "visit",
                                            "1; expires=Sat, 01-Jan-2033 00:00:00 GMT");
        }
        return !set;
    }
    if (argc > 2 && std::string(argv[1]) == "cookie") {
        char cookie[256] = "";
        DWORD size = sizeof cookie;
        std::puts(InternetGetCookieA(argv[2], nullptr, cookie, &size) ? cookie : "none");
        return 0;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // each line reaches the test as it is written
    // The window the test finds when it tells the helper to end. Shown hidden first, it
    // takes the show command of the command interpreter's start-up information.
    ShowWindow(CreateWindowA("STATIC", "corvane_wine_helper", 0, 0, 0, 0, 0, nullptr, nullptr,
                             nullptr, nullptr),
               SW_HIDE);
    constexpr DWORD kHidden = WS_OVERLAPPEDWINDOW, kShown = kHidden | WS_VISIBLE;
    // clang-format off
    const struct { const char *className, *title; DWORD style; } kWindows[] = {
        {"IEFrame", "ie", kShown}, {"IEFrame", "ie-minimised", kShown | WS_MINIMIZE},
        {"IEFrame", "ie-hidden", kHidden}, {"IEFrameX", "ie-longer", kShown},
        {"MozillaWindowClass", "mozilla", kShown}, {"MozillaWindowClass", "mozilla-hidden", kHidden},
        {"AOL Frame25", "aol", kShown}, {"AOL Frame25", "aol-hidden", kHidden}};
    // clang-format on
    for (const auto& w : kWindows) {
        WNDCLASSA windowClass = {0,       Record,  0,       0,       nullptr,
                                 nullptr, nullptr, nullptr, nullptr, w.className};
        RegisterClassA(&windowClass);  // fails harmlessly for a class registered before
        CreateWindowA(w.className, w.title, w.style, 9, 9, 200, 99, nullptr, nullptr, nullptr,
                      nullptr);
    }
    std::puts("ready");
    for (MSG msg; GetMessageA(&msg, nullptr, 0, 0) > 0;) {
        DispatchMessageA(&msg);
    }
}
