// The URL cache and URL history contracts against the in-memory doubles.
#include "platform/memory/memory_url_cache.h"
#include "platform/memory/memory_url_history.h"
#include "platform/url_cache_contract.h"
#include "platform/url_history_contract.h"

namespace {

// Entries go in as WinINet's own callers put them: files in the cache folder, cookies
// under "Cookie:user@host/" with no type of their own (the container adds the bit).
struct MemoryUrlCacheEnv {
    UrlCache& cache() { return memory; }
    void Commit(const std::string& url, const std::string& headerInfo) {
        MemoryUrlCache::Entry entry;
        entry.url = url;
        entry.headerInfo = headerInfo;
        ASSERT_EQ(winerr::kSuccess, memory.Commit(entry));
    }
    std::string CommitWithFile(const std::string& url, const std::string& content) {
        MemoryUrlCache::Entry entry;
        entry.url = url;
        entry.localFileName = "C:\\Cache\\Content.IE5\\ABCD1234\\" + url.substr(url.rfind('/') + 1);
        entry.fileExtension = "htm";
        entry.fileSize = content.size();
        EXPECT_EQ(winerr::kSuccess, memory.Commit(entry));
        return entry.localFileName;
    }
    std::string SetCookie(const std::string& host) {
        MemoryUrlCache::Entry entry;
        entry.url = "Cookie:corvane@" + host + "/";
        entry.type = 0;
        entry.localFileName = "C:\\Cookies\\corvane@" + host + ".txt";
        entry.fileExtension = "txt";
        EXPECT_EQ(winerr::kSuccess, memory.Commit(entry));
        return entry.url;
    }
    bool Lock(const std::string& url) { return memory.Lock(url); }
    void Unlock(const std::string& url) { memory.Unlock(url); }

    MemoryUrlCache memory;
};

struct MemoryUrlHistoryEnv {
    UrlHistory& history() { return memory; }
    void Serve(std::vector<HistoryUrl> records) { memory.entries = std::move(records); }
    std::vector<std::string> RemainingUrls() {
        std::vector<std::string> urls;
        for (const HistoryUrl& record : memory.entries) {
            urls.push_back(record.url);
        }
        return urls;
    }
    int ClearHistoryCalls() { return memory.clearHistoryCount; }
    int LiveObjects() { return memory.LiveObjects(); }
    void FailCreation(HResult result) { memory.FailWith("UrlHistory.Create", result); }
    void FailEnumUrls(HResult result) { memory.FailWith("UrlHistory.EnumUrls", result); }
    void FailReset(HResult result) { memory.FailWith("UrlHistory.Reset", result); }
    void FailClearHistory(HResult result) { memory.FailWith("UrlHistory.ClearHistory", result); }
    void FailNextAt(size_t index, HResult result) {
        memory.FailWith("UrlHistory.Next", result, memory.entries.at(index).url, 1);
    }

    MemoryUrlHistory memory;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, UrlCacheContract, MemoryUrlCacheEnv);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, UrlHistoryContract, MemoryUrlHistoryEnv);
