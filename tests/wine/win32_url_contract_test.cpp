// The URL cache and URL history contracts against the Win32 implementations: Wine's real
// WinINet cache, and the COM calls reaching a stand-in history object. Every entry a test
// creates is deleted again, with its file, so the prefix stays as it was.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include "platform/url_cache_contract.h"
#include "platform/url_history_contract.h"
#include "platform/win32/win32_url_cache.h"
#include "platform/win32/win32_url_history.h"
#include "wine/fake_url_history.h"
#include "wine/url_test_support.h"

namespace {

class Win32UrlCacheEnv {
public:
    ~Win32UrlCacheEnv() {
        for (const std::string& url : locked_) {
            UnlockUrlCacheEntryFileA(url.c_str(), 0);
        }
        for (const std::string& host : cookieHosts_) {
            RemoveTestCookie(host);
        }
        for (const std::string& url : urls_) {
            DeleteUrlCacheEntryA(url.c_str());
        }
        for (const std::string& file : files_) {
            DeleteFileA(file.c_str());
        }
    }

    UrlCache& cache() { return cache_; }

    void Commit(const std::string& url, const std::string& headerInfo) {
        urls_.push_back(url);
        ASSERT_TRUE(CommitTestEntry(url, headerInfo)) << url << " error " << GetLastError();
    }
    std::string CommitWithFile(const std::string& url, const std::string& content) {
        urls_.push_back(url);
        std::string file = CommitTestEntryWithFile(url, content);
        EXPECT_NE("", file) << url << " error " << GetLastError();
        files_.push_back(file);
        return file;
    }
    std::string SetCookie(const std::string& host) {
        cookieHosts_.push_back(host);
        std::string url = SetTestCookie(host);
        EXPECT_NE("", url) << host << " error " << GetLastError();
        return url;
    }
    bool Lock(const std::string& url) {
        locked_.push_back(url);
        return LockTestEntry(url);
    }
    void Unlock(const std::string& url) { UnlockUrlCacheEntryFileA(url.c_str(), 0); }

private:
    Win32UrlCache cache_;
    std::vector<std::string> urls_, files_, cookieHosts_, locked_;
};

class Win32UrlHistoryEnv {
public:
    UrlHistory& history() { return history_; }
    void Serve(const std::vector<HistoryUrl>& records) {
        std::vector<FakeUrlHistory::Entry> entries;
        for (const HistoryUrl& record : records) {
            entries.push_back({GbkToWide(record.url), GbkToWide(record.title)});
        }
        fake_.Serve(entries);
    }
    std::vector<std::string> RemainingUrls() {
        std::vector<std::string> urls;
        for (const std::wstring& url : fake_.Urls()) {
            urls.push_back(WideToGbk(url));
        }
        return urls;
    }
    int ClearHistoryCalls() { return fake_.ClearHistoryCalls(); }
    int LiveObjects() { return fake_.LiveObjects(); }
    void FailCreation(HResult result) { fake_.FailCreation(result); }
    void FailEnumUrls(HResult result) { fake_.FailEnumUrls(result); }
    void FailReset(HResult result) { fake_.FailReset(result); }
    void FailClearHistory(HResult result) { fake_.FailClearHistory(result); }
    void FailNextAt(size_t index, HResult result) { fake_.FailNextAt(index, result); }

private:
    ComThread com_;  // first in, last out: the stand-in is revoked before COM goes
    FakeUrlHistory fake_;
    Win32UrlHistory history_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, UrlCacheContract, Win32UrlCacheEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, UrlHistoryContract, Win32UrlHistoryEnv);
