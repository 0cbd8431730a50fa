// The platform contracts against the Win32 implementations: Wine's registry, files, shell
// and WinINet cache, real windows of the test's own thread, and the COM calls reaching a
// stand-in URL history object. What a test creates is removed again, so the prefix stays
// as it was.
#include <windows.h>
// windows.h first: the shell, WinINet and URL history headers build on it.
#include <shellapi.h>
#include <urlhist.h>
#include <wininet.h>

#include <map>

#include "platform/environment_contract.h"
#include "platform/files_contract.h"
#include "platform/registry_contract.h"
#include "platform/security_contract.h"
#include "platform/shell_contract.h"
#include "platform/storage_contract.h"
#include "platform/top_windows_contract.h"
#include "platform/url_cache_contract.h"
#include "platform/url_history_contract.h"
#include "platform/win32/url_history_ids.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_storage.h"
#include "wine/wine_support.h"

// ole32's storage needs COM on the calling thread: initialised once, for the process.
template <>
struct StorageTraits<Win32Storage> {
    static std::string Folder() {
        static const HRESULT com = CoInitialize(nullptr);
        (void)com;
        CreateDirectoryA("C:\\隐私工具", nullptr);
        return "C:\\隐私工具";
    }
};

namespace {

struct Win32EnvironmentEnv : Win32Environment {
    void Set(const std::string& name, const std::string& value) {
        SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
};

struct Win32ShellEnv : Win32Shell {
    void Recycle(std::int64_t size) {
        const char* path = "C:\\corvane-recycled.bin";
        ASSERT_TRUE(WriteFileBytes(path, std::string(size, 'r')) && ShellDelete(path, true));
    }
};

// Wine's real cache. It leaves ERROR_INSUFFICIENT_BUFFER as the last-error value of calls
// that succeed on entries with a local file, so a walk that read that value instead of the
// answer would skip them: the contract's walks include such entries.
class Win32UrlCacheEnv {
public:
    // Takes out what it put in: the local file of an entry goes with it.
    ~Win32UrlCacheEnv() {
        for (const auto& [url, file] : entries_) {
            UnlockUrlCacheEntryFileA(url.c_str(), 0);
            DeleteUrlCacheEntryA(url.c_str());
            EXPECT_FALSE(PathExists(file)) << file;
        }
    }
    UrlCache& cache() { return cache_; }
    void Commit(const std::string& url, const std::string& header, const std::string& content) {
        char path[MAX_PATH] = "";
        ASSERT_TRUE(content.empty() || (CreateUrlCacheEntryA(url.c_str(), 0, "htm", path, 0) &&
                                        WriteFileBytes(path, content)));
        ASSERT_TRUE(Put(url, NORMAL_CACHE_ENTRY, header, path)) << url << " " << GetLastError();
    }
    std::string SetCookie(const std::string& host) {
        InternetSetCookieA(("http://" + host + "/").c_str(), nullptr,
                           "corvane=1; expires=Fri, 31 Dec 2100 23:59:59 GMT");
        entries_.push_back({"Cookie:" + std::string(getenv("USERNAME")) + "@" + host + "/", ""});
        return entries_.back().first;
    }
    void Visit(const std::string& url) { ASSERT_TRUE(Put(url, URLHISTORY_CACHE_ENTRY)) << url; }
    bool Lock(const std::string& url) {
        static char block[65536];  // the tests' entries all fit
        DWORD size = sizeof block;
        return RetrieveUrlCacheEntryFileA(
            url.c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block), &size, 0);
    }

private:
    bool Put(const std::string& url, DWORD type, std::string header = "", const char* file = "") {
        entries_.push_back({url, file});
        return CommitUrlCacheEntryA(url.c_str(), *file ? file : nullptr, {}, {}, type,
                                    reinterpret_cast<BYTE*>(header.data()),
                                    static_cast<DWORD>(header.size()), *file ? "htm" : nullptr,
                                    nullptr);
    }

    Win32UrlCache cache_;
    std::vector<std::pair<std::string, std::string>> entries_;  // URL, local file
};

// Wine's own URL history object answers E_NOTIMPL to EnumUrls and ClearHistory: for the
// life of the environment, given to CoRegisterClassObject, the environment itself is what
// the program's CoCreateInstance(CLSID_CUrlHistory, ...) reaches. It serves as the class
// object, the store and the enumeration, and counts the references the program holds
// beyond those COM keeps. A failing call answers its result instead of doing its work.
class Win32UrlHistoryEnv : public IClassFactory, public IUrlHistoryStg2, public IEnumSTATURL {
public:
    Win32UrlHistoryEnv() {
        CoInitialize(nullptr);
        CoRegisterClassObject(kClsidCUrlHistory, static_cast<IClassFactory*>(this),
                              CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
        references_ = 0;
    }
    ~Win32UrlHistoryEnv() {
        EXPECT_TRUE(recordsClean_);
        CoRevokeClassObject(cookie_);
        CoUninitialize();
    }
    UrlHistory& history() { return history_; }
    int LiveObjects() { return references_; }
    void Fail(const std::string& call, HRESULT result) { failures_[call] = result; }
    std::vector<HistoryUrl> entries;  // GBK, served as UTF-16
    int clearHistoryCount = 0;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        void* store = static_cast<IUrlHistoryStg2*>(this);
        *out = iid == kIidIEnumStatUrl ? static_cast<IEnumSTATURL*>(this)
               : iid == kIidIUrlHistoryStg || iid == kIidIUrlHistoryStg2 ? store
               : iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this)
                                                                 : nullptr;
        return *out != nullptr ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override { return --references_; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID iid, void** out) override {
        *out = nullptr;
        return failures_["Create"] ? failures_["Create"] : QueryInterface(iid, out);
    }
    STDMETHODIMP EnumUrls(IEnumSTATURL** out) override {
        position_ = 0;
        *out = failures_["EnumUrls"] ? nullptr : (AddRef(), static_cast<IEnumSTATURL*>(this));
        return failures_["EnumUrls"];
    }
    STDMETHODIMP ClearHistory() override {
        return failures_["ClearHistory"] ? failures_["ClearHistory"]
                                         : (entries.clear(), ++clearHistoryCount, S_OK);
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    // One record per call, as the program asks for them; it must come of size 40 and without
    // texts, which the program frees whatever the answer.
    STDMETHODIMP Next(ULONG, STATURL* record, ULONG* fetched) override {
        recordsClean_ &= record->cbSize == 40 && !record->pwcsUrl && !record->pwcsTitle;
        *fetched = position_ < entries.size();
        record->pwcsUrl = *fetched ? TaskCopy(entries[position_].url) : nullptr;
        record->pwcsTitle = *fetched ? TaskCopy(entries[position_++].title) : nullptr;
        return *fetched ? S_OK : S_FALSE;
    }

private:
    static wchar_t* TaskCopy(const std::string& gbk) {
        auto* wide = static_cast<wchar_t*>(CoTaskMemAlloc(2 * gbk.size() + 2));
        MultiByteToWideChar(936, 0, gbk.c_str(), -1, wide, static_cast<int>(gbk.size()) + 1);
        return gbk.empty() ? (CoTaskMemFree(wide), nullptr) : wide;
    }

    Win32UrlHistory history_;
    DWORD cookie_ = 0;
    int references_ = 0;
    bool recordsClean_ = true;
    std::map<std::string, HRESULT> failures_;  // by call; S_OK unless made to fail
    size_t position_ = 0;

public:  // the calls the program never makes
         // clang-format off
#define NEVER_CALLED(signature) STDMETHODIMP signature override { return E_NOTIMPL; }
    NEVER_CALLED(LockServer(BOOL)) NEVER_CALLED(Skip(ULONG)) NEVER_CALLED(Clone(IEnumSTATURL**))
    NEVER_CALLED(SetFilter(LPCOLESTR, DWORD)) NEVER_CALLED(AddUrl(LPCOLESTR, LPCOLESTR, DWORD))
    NEVER_CALLED(DeleteUrl(LPCOLESTR, DWORD)) NEVER_CALLED(QueryUrl(LPCOLESTR, DWORD, STATURL*))
    NEVER_CALLED(BindToObject(LPCOLESTR, REFIID, void**))
    NEVER_CALLED(AddUrlAndNotify(LPCOLESTR, LPCOLESTR, DWORD, BOOL, IOleCommandTarget*, IUnknown*))
#undef NEVER_CALLED
};
// clang-format on

LRESULT CALLBACK AnsweringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_SETTINGCHANGE ? lstrlenA(reinterpret_cast<const char*>(lParam))
           : message == kAppMessage    ? static_cast<LRESULT>(wParam) + lParam
                                       : DefWindowProcA(window, message, wParam, lParam);
}

struct Win32WindowsEnv {
    ~Win32WindowsEnv() {
        for (HWND window : created) {
            DestroyWindow(window);
        }
    }
    HWnd Create(const std::string& className, bool visible, bool minimised) {
        WNDCLASSA windowClass = {0,       AnsweringProc, 0,       0,       nullptr,
                                 nullptr, nullptr,       nullptr, nullptr, className.c_str()};
        RegisterClassA(&windowClass);  // fails harmlessly when an earlier test registered it
        DWORD style = (visible ? WS_VISIBLE : 0) | (minimised ? WS_MINIMIZE : 0);
        created.push_back(CreateWindowExA(0, className.c_str(), "", WS_OVERLAPPEDWINDOW | style, 0,
                                          0, 100, 80, nullptr, nullptr, nullptr, nullptr));
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
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, EnvironmentContract, Win32EnvironmentEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ShellContract, Win32ShellEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, UrlCacheContract, Win32UrlCacheEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, UrlHistoryContract, Win32UrlHistoryEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TopWindowsContract, Win32WindowsEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, StorageContract, Win32Storage);
