// A second program for the tests under Wine, doing what the test process itself must
// not: holding a file open as another program does, and using WinINet, whose cache
// folders are fixed when it loads.
//   corvane_wine_helper hold PATH   opens PATH for reading and writing without sharing,
//                                   prints "held" (or "failed"), holds it until its
//                                   standard input ends
//   corvane_wine_helper urlcache [HOST...]
//                                   for each host (corvane.test when none is given)
//                                   puts a page, a cookie and a visited URL in the URL
//                                   cache, so that WinINet writes its index.dat files
//                                   where the shell folders point; prints "ok"
#include <windows.h>
// windows.h first: WinINet builds on it.
#include <wininet.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Hold(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::puts(file == INVALID_HANDLE_VALUE ? "failed" : "held");
    std::fflush(stdout);
    char c;
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &read, nullptr) && read > 0) {
    }
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return 0;
}

bool CachePage(const char* url) {
    char file[MAX_PATH];
    if (!CreateUrlCacheEntryA(url, 0, "htm", file, 0)) {
        return false;
    }
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, "<html></html>", 13, &written, nullptr);
    CloseHandle(handle);
    FILETIME none = {};
    return CommitUrlCacheEntryA(url, file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                                nullptr) != FALSE;
}

std::string UserName() {
    char name[257];
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "user";
}

bool FillUrlCache(const std::string& host) {
    FILETIME none = {};
    std::string site = "http://" + host + "/";
    std::string visited = "Visited: " + UserName() + "@" + site;
    return CachePage((site + "page.htm").c_str()) &&
           InternetSetCookieA(site.c_str(), "visit", "1; expires=Sat, 01-Jan-2033 00:00:00 GMT") &&
           CommitUrlCacheEntryA(visited.c_str(), nullptr, none, none, URLHISTORY_CACHE_ENTRY,
                                nullptr, 0, nullptr, nullptr);
}

int FillUrlCache(int hostCount, char** hosts) {
    bool ok = hostCount > 0 ? true : FillUrlCache("corvane.test");
    for (int i = 0; i < hostCount; ++i) {
        ok = FillUrlCache(hosts[i]) && ok;
    }
    std::puts(ok ? "ok" : "failed");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        return Hold(argv[2]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "urlcache") == 0) {
        return FillUrlCache(argc - 2, argv + 2);
    }
    std::fputs("usage: corvane_wine_helper hold PATH | urlcache [HOST...]\n", stderr);
    return 2;
}
