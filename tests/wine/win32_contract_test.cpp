// The platform contracts against the Win32 implementations: Wine's registry, files, shell
// and WinINet cache, real windows of the test's own thread, and the COM calls reaching a
// stand-in URL history object. What a test creates is removed again, so the prefix stays
// as it was.
#include <windows.h>
// windows.h first: the shell and WinINet headers build on it.
#include <shellapi.h>
#include <wininet.h>

#include "platform/environment_contract.h"
#include "platform/files_contract.h"
#include "platform/registry_contract.h"
#include "platform/security_contract.h"
#include "platform/shell_contract.h"
#include "platform/top_windows_contract.h"
#include "platform/url_cache_contract.h"
#include "platform/url_history_contract.h"
#include "platform/win32/win32_platform.h"
#include "wine/fake_url_history.h"
#include "wine/url_test_support.h"
#include "wine/wine_support.h"

template <>
struct EnvironmentTraits<Win32Environment> {
    static void Set(Win32Environment&, const std::string& name, const std::string& value) {
        SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
    static std::string Get(Win32Environment&, const std::string& name) {
        char buffer[1024] = "";
        GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
        return buffer;
    }
};

template <>
struct ShellTraits<Win32Shell> {
    static void Prepare(Win32Shell&) {}
    static void Recycle(Win32Shell&, std::int64_t size) {
        ASSERT_TRUE(RecycleNewFile("C:\\corvane-recycled.bin", std::string(size, 'r')));
    }
};

namespace {

// Wine's real cache. It leaves ERROR_INSUFFICIENT_BUFFER as the last-error value of calls
// that succeed on entries with a local file, so a walk that read that value instead of the
// answer would skip them: the contract's walks include such entries.
class Win32UrlCacheEnv {
public:
    // The local file of an entry that is gone must be gone too.
    ~Win32UrlCacheEnv() {
        for (const std::string& url : locked_) {
            UnlockUrlCacheEntryFileA(url.c_str(), 0);
        }
        for (const auto& file : files_) {
            DWORD size = 0;
            if (!GetUrlCacheEntryInfoA(file.first.c_str(), nullptr, &size) &&
                GetLastError() == ERROR_FILE_NOT_FOUND) {
                EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.second.c_str()));
            }
        }
        RemoveTestCookie(kContractHost);
        EmptyUrlCache();
    }
    UrlCache& cache() { return cache_; }
    void Commit(const std::string& url, const std::string& headerInfo) {
        ASSERT_TRUE(CommitTestEntry(url, headerInfo)) << url << " error " << GetLastError();
    }
    void CommitWithFile(const std::string& url, const std::string& content) {
        files_.emplace_back(url, CommitTestEntryWithFile(url, content));
    }
    std::string SetCookie(const std::string& host) { return SetTestCookie(host); }
    void Visit(const std::string& url) { ASSERT_TRUE(CommitVisitedEntry(url)) << url; }
    bool Lock(const std::string& url) {
        locked_.push_back(url);
        return LockTestEntry(url);
    }
    void Unlock(const std::string& url) { UnlockUrlCacheEntryFileA(url.c_str(), 0); }

private:
    Win32UrlCache cache_;
    std::vector<std::string> locked_;
    std::vector<std::pair<std::string, std::string>> files_;
};

// The COM calls reaching the stand-in history object, which COM outlives.
class Win32UrlHistoryEnv : private ComThread, public FakeUrlHistory {
public:
    UrlHistory& history() { return history_; }
    void Serve(const std::vector<HistoryUrl>& records) {
        std::vector<Entry> entries;
        for (const HistoryUrl& record : records) {
            entries.push_back({GbkToWide(record.url), GbkToWide(record.title)});
        }
        FakeUrlHistory::Serve(entries);
    }
    // Every record handed to IEnumSTATURL::Next must have come zeroed, with cbSize 40.
    int LiveObjects() {
        EXPECT_TRUE(RecordsArrivedClean());
        return FakeUrlHistory::LiveObjects();
    }

private:
    Win32UrlHistory history_;
};

LRESULT CALLBACK AnsweringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        return lstrlenA(reinterpret_cast<const char*>(lParam));
    }
    return message == kAppMessage ? static_cast<LRESULT>(wParam) + lParam
                                  : DefWindowProcA(window, message, wParam, lParam);
}

struct Win32WindowsEnv {
    ~Win32WindowsEnv() {
        for (HWND window : created) {
            DestroyWindow(window);
        }
    }
    HWnd Create(const std::string& className, bool visible, bool minimised) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = AnsweringProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className.c_str();
        RegisterClassA(&wc);  // fails harmlessly when an earlier test registered it
        DWORD style =
            WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0) | (minimised ? WS_MINIMIZE : 0);
        created.push_back(CreateWindowExA(0, className.c_str(), "", style, 0, 0, 100, 80, nullptr,
                                          nullptr, wc.hInstance, nullptr));
        return HWnd{reinterpret_cast<std::uintptr_t>(created.back())};
    }
    void Destroy(HWnd window) { DestroyWindow(reinterpret_cast<HWND>(window.value)); }

    Win32TopWindows windows;
    std::vector<HWND> created;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Registry);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FilesContract, Win32Files);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, AccountsContract, Win32Accounts);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, AccessListContract, Win32Security);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, EnvironmentContract, Win32Environment);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ShellContract, Win32Shell);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, UrlCacheContract, Win32UrlCacheEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, UrlHistoryContract, Win32UrlHistoryEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TopWindowsContract, Win32WindowsEnv);
