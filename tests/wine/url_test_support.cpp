#include "wine/url_test_support.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

ComThread::ComThread() {
    CoInitialize(nullptr);
}

ComThread::~ComThread() {
    CoUninitialize();
}

namespace {

constexpr char kCookieValue[] = "corvane=1; expires=Fri, 31 Dec 2100 23:59:59 GMT";
constexpr char kExpiredCookie[] = "corvane=1; expires=Thu, 01 Jan 1970 00:00:01 GMT";

std::string UserName() {
    char name[257];
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

}  // namespace

bool CommitTestEntry(const std::string& url, const std::string& headerInfo) {
    FILETIME never = {};
    std::string header = headerInfo;
    return CommitUrlCacheEntryA(url.c_str(), nullptr, never, never, NORMAL_CACHE_ENTRY,
                                header.empty() ? nullptr : reinterpret_cast<BYTE*>(header.data()),
                                static_cast<DWORD>(header.size()), nullptr, nullptr) != FALSE;
}

bool CommitVisitedEntry(const std::string& url) {
    FILETIME never = {};
    return CommitUrlCacheEntryA(url.c_str(), nullptr, never, never, URLHISTORY_CACHE_ENTRY, nullptr,
                                0, nullptr, nullptr) != FALSE;
}

void EmptyUrlCache() {
    std::vector<std::string> urls;
    std::vector<char> block(65536);  // the tests' entries all fit
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = static_cast<DWORD>(block.size());
    HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
    for (BOOL more = find != nullptr; more; more = FindNextUrlCacheEntryA(find, info, &size)) {
        urls.push_back(info->lpszSourceUrlName);
        size = static_cast<DWORD>(block.size());
    }
    if (find != nullptr) {
        FindCloseUrlCache(find);
    }
    for (const std::string& url : urls) {
        DeleteUrlCacheEntryA(url.c_str());
    }
}

std::string CommitTestEntryWithFile(const std::string& url, const std::string& content) {
    char path[MAX_PATH];
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", path, 0)) {
        return "";
    }
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    FILETIME never = {};
    if (!ok || !CommitUrlCacheEntryA(url.c_str(), path, never, never, NORMAL_CACHE_ENTRY, nullptr,
                                     0, "htm", nullptr)) {
        DeleteFileA(path);
        return "";
    }
    return path;
}

std::string SetTestCookie(const std::string& host) {
    std::string url = "http://" + host + "/";
    if (!InternetSetCookieA(url.c_str(), nullptr, kCookieValue)) {
        return "";
    }
    return "Cookie:" + UserName() + "@" + host + "/";
}

void RemoveTestCookie(const std::string& host) {
    std::string url = "http://" + host + "/";
    InternetSetCookieA(url.c_str(), nullptr, kExpiredCookie);
    DeleteUrlCacheEntryA(("Cookie:" + UserName() + "@" + host + "/").c_str());
}

bool LockTestEntry(const std::string& url) {
    std::vector<char> block(4096);
    DWORD size = static_cast<DWORD>(block.size());
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    if (RetrieveUrlCacheEntryFileA(url.c_str(), info, &size, 0)) {
        return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    block.resize(size);
    info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    return RetrieveUrlCacheEntryFileA(url.c_str(), info, &size, 0) != FALSE;
}

std::wstring GbkToWide(const std::string& gbk) {
    if (gbk.empty()) {
        return {};
    }
    int size = static_cast<int>(gbk.size());
    int length = MultiByteToWideChar(936, 0, gbk.data(), size, nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), size, wide.data(), length);
    return wide;
}

std::string WideToGbk(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    int size = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(936, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string gbk(length, '\0');
    WideCharToMultiByte(936, 0, wide.data(), size, gbk.data(), length, nullptr, nullptr);
    return gbk;
}
