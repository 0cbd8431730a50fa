// Putting real entries into Wine's URL cache as a browser would, and taking them out
// again, for the platform tests and the eraser tests that run under Wine.
#pragma once

#include <string>

// COM initialised for the life of the object (CoInitialize / CoUninitialize).
class ComThread {
public:
    ComThread();
    ~ComThread();
    ComThread(const ComThread&) = delete;
    ComThread& operator=(const ComThread&) = delete;
};

// CommitUrlCacheEntryA of a normal entry without a local file. False on failure.
bool CommitTestEntry(const std::string& url, const std::string& headerInfo = "");
// CreateUrlCacheEntryA, the file written with content, then CommitUrlCacheEntryA: a normal
// entry with its file in the cache folder. Returns the file's path, empty on failure.
std::string CommitTestEntryWithFile(const std::string& url, const std::string& content);
// CommitUrlCacheEntryA of a visited page of the history: a "Visited:" URL with the
// history bit. False on failure.
bool CommitVisitedEntry(const std::string& url);
// Deletes every entry of the cache, so that a test knows all it holds.
void EmptyUrlCache();
// InternetSetCookieA of a persistent cookie for http://host/; WinINet stores it in the
// cache at once. Returns the URL of its entry, "Cookie:" + user + "@" + host + "/".
std::string SetTestCookie(const std::string& host);
// Expires the cookie (WinINet then deletes its entry) and deletes the entry as well.
void RemoveTestCookie(const std::string& host);
// RetrieveUrlCacheEntryFileA: the entry is in use until UnlockUrlCacheEntryFileA.
bool LockTestEntry(const std::string& url);

// Conversions between GBK (code page 936) and UTF-16.
std::wstring GbkToWide(const std::string& gbk);
std::string WideToGbk(const std::wstring& wide);
