// The platform contracts against the in-memory doubles.
#include "platform/environment_contract.h"
#include "platform/files_contract.h"
#include "platform/memory/memory_platform.h"
#include "platform/registry_contract.h"
#include "platform/security_contract.h"
#include "platform/shell_contract.h"
#include "platform/storage_contract.h"
#include "platform/top_windows_contract.h"
#include "platform/url_cache_contract.h"
#include "platform/url_history_contract.h"

template <>
struct StorageTraits<MemoryStorage> {
    static std::string Folder() { return "C:\\隐私工具"; }
};

namespace {

struct MemoryShellEnv : MemoryShell {
    MemoryShellEnv() { specialFolders[csidl::kRecent] = "C:\\Documents and Settings\\me\\Recent"; }
    void Recycle(std::int64_t size) { recycleBin.push_back(size); }
};

struct MemoryRegistryEnv : MemoryRegistry {
    ~MemoryRegistryEnv() { EXPECT_EQ(0u, OpenHandleCount()); }  // every key was closed
};

// Entries go in as WinINet's own callers put them: cookies under "Cookie:user@host/" and
// visited pages under "Visited:", with no type of their own (the container adds the bit).
struct MemoryUrlCacheEnv : MemoryUrlCache {
    ~MemoryUrlCacheEnv() { EXPECT_EQ(0u, OpenFindCount()); }  // every walk closed its find
    UrlCache& cache() { return *this; }
    void Commit(const std::string& url, const std::string& header, const std::string& content) {
        EXPECT_EQ(0u,
                  MemoryUrlCache::Commit({url, content.empty() ? "" : "C:\\f.htm", 1, header, {}}));
    }
    std::string SetCookie(const std::string& host) {
        EXPECT_EQ(0u,
                  MemoryUrlCache::Commit({"Cookie:corvane@" + host + "/", "C:\\c.txt", 0, "", {}}));
        return "Cookie:corvane@" + host + "/";
    }
    void Visit(const std::string& url) {
        EXPECT_EQ(0u, MemoryUrlCache::Commit({url, "", 0, "", {}}));
    }
};

struct MemoryUrlHistoryEnv : MemoryUrlHistory {
    UrlHistory& history() { return *this; }
    void Fail(const std::string& call, HResult result) { FailWith("UrlHistory." + call, result); }
};

struct MemoryWindowsEnv {
    HWnd Create(const std::string& className, bool visible, bool /*minimised*/) {
        return windows.Add(className, visible, [](HWnd, const SentMessage& m) {
            return m.hasText ? static_cast<std::intptr_t>(m.text.size())
                             : static_cast<std::intptr_t>(m.wParam) + m.lParam;
        });
    }
    void Destroy(HWnd window) { windows.Destroy(window); }

    MemoryTopWindows windows;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryRegistryEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FilesContract, MemoryFiles);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, AccountsContract, MemoryAccounts);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, AccessListContract, MemorySecurity);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, EnvironmentContract, MemoryEnvironment);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ShellContract, MemoryShellEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, UrlCacheContract, MemoryUrlCacheEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, UrlHistoryContract, MemoryUrlHistoryEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TopWindowsContract, MemoryWindowsEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, StorageContract, MemoryStorage);
