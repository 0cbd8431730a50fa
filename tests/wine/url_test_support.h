// Putting real entries into Wine's URL cache as a browser would, for the tests of the
// URL cache and history calls under Wine.
#pragma once

#include <windows.h>
// windows.h first: WinINet builds on it.
#include <wininet.h>

#include <cstdlib>
#include <string>

#include "wine/wine_support.h"

// COM initialised for the life of the object (CoInitialize / CoUninitialize).
struct ComThread {
    ComThread() { CoInitialize(nullptr); }
    ~ComThread() { CoUninitialize(); }
};

// CommitUrlCacheEntryA of a normal entry without a local file. False on failure.
inline bool CommitTestEntry(const std::string& url, std::string headerInfo = "") {
    FILETIME never = {};
    return CommitUrlCacheEntryA(url.c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY,
                                reinterpret_cast<BYTE*>(headerInfo.data()),
                                static_cast<DWORD>(headerInfo.size()), nullptr, nullptr) != FALSE;
}

// CreateUrlCacheEntryA, the file written with content, then CommitUrlCacheEntryA: a normal
// entry with its file in the cache folder. Returns the file's path, empty on failure.
inline std::string CommitTestEntryWithFile(const std::string& url, const std::string& content) {
    char path[MAX_PATH];
    FILETIME never = {};
    return CreateUrlCacheEntryA(url.c_str(), 0, "htm", path, 0) && WriteFileBytes(path, content) &&
                   CommitUrlCacheEntryA(url.c_str(), path, never, never, NORMAL_CACHE_ENTRY,
                                        nullptr, 0, "htm", nullptr)
               ? path
               : "";
}

inline bool CommitVisitedEntry(const std::string& url) {
    FILETIME never = {};
    return CommitUrlCacheEntryA(url.c_str(), nullptr, never, never, URLHISTORY_CACHE_ENTRY, nullptr,
                                0, nullptr, nullptr) != FALSE;
}
inline void EmptyUrlCache() {
    static char block[65536];
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block);
    std::vector<std::string> urls;
    DWORD size = sizeof block;
    HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
    for (BOOL more = find != nullptr; more; more = FindNextUrlCacheEntryA(find, info, &size)) {
        urls.push_back(info->lpszSourceUrlName);
        size = sizeof block;
    }
    FindCloseUrlCache(find);
    for (const std::string& url : urls) {
        DeleteUrlCacheEntryA(url.c_str());
    }
}
// The URL of the cache entry of the cookies of http://host/.
inline std::string CookieEntry(const std::string& host) {
    const char* user = std::getenv("USERNAME");
    return "Cookie:" + std::string(user != nullptr ? user : "") + "@" + host + "/";
}
// InternetSetCookieA of a persistent cookie for http://host/; WinINet stores it in the
// cache at once. Returns the URL of its entry, empty on failure.
inline std::string SetTestCookie(const std::string& host) {
    return InternetSetCookieA(("http://" + host + "/").c_str(), nullptr,
                              "corvane=1; expires=Fri, 31 Dec 2100 23:59:59 GMT")
               ? CookieEntry(host)
               : "";
}
// Expires the cookie (WinINet then deletes its entry) and deletes the entry as well.
inline void RemoveTestCookie(const std::string& host) {
    InternetSetCookieA(("http://" + host + "/").c_str(), nullptr,
                       "corvane=1; expires=Thu, 01 Jan 1970 00:00:01 GMT");
    DeleteUrlCacheEntryA(CookieEntry(host).c_str());
}

// RetrieveUrlCacheEntryFileA: the entry is in use until UnlockUrlCacheEntryFileA.
inline bool LockTestEntry(const std::string& url) {
    static char block[65536];  // the tests' entries all fit
    DWORD size = sizeof block;
    return RetrieveUrlCacheEntryFileA(url.c_str(),
                                      reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block), &size,
                                      0) != FALSE;
}

// Conversions between GBK (code page 936) and UTF-16.
inline std::wstring GbkToWide(const std::string& gbk) {
    std::wstring wide(gbk.size(), L'\0');
    wide.resize(MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    return wide;
}
inline std::string WideToGbk(const std::wstring& wide) {
    std::string gbk(wide.size() * 2, '\0');
    gbk.resize(WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(),
                                   static_cast<int>(gbk.size()), nullptr, nullptr));
    return gbk;
}
