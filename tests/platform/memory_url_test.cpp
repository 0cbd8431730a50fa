// What the in-memory URL cache and history add to the contracts: fault injection, the
// find handles they count, and the caller-side buffer and handle owners.
#include <gtest/gtest.h>

#include "platform/memory/memory_url_cache.h"
#include "platform/memory/memory_url_history.h"

namespace {

class MemoryUrlCacheTest : public ::testing::Test {
protected:
    void Commit(const std::string& url, std::uint32_t type = cacheentry::kNormal) {
        MemoryUrlCache::Entry entry;
        entry.url = url;
        entry.type = type;
        ASSERT_EQ(winerr::kSuccess, cache.Commit(entry));
    }
    std::uint32_t TypeOf(const std::string& url) {
        UrlCacheEntryBuffer buffer;
        EXPECT_EQ(winerr::kSuccess, cache.GetEntryInfo(url, buffer.entry(), &buffer.size));
        return buffer.entry()->cacheEntryType;
    }
    // The URL the next call of find returns, or "error N".
    std::string Next(UrlCacheFind& find) {
        WinError error = find.Next(buffer.entry(), &buffer.size);
        buffer.size = buffer.capacity();
        return error == winerr::kSuccess ? buffer.entry()->sourceUrlName
                                         : "error " + std::to_string(error);
    }

    MemoryUrlCache cache;
    UrlCacheEntryBuffer buffer;
};

TEST_F(MemoryUrlCacheTest, EmptyCacheOpensNoHandle) {
    UrlCacheFindHandle find{0xbdbd};
    EXPECT_EQ(winerr::kNoMoreItems, cache.FindFirstEntry(buffer.entry(), &buffer.size, &find));
    EXPECT_EQ(0xbdbdu, find.value);
    EXPECT_EQ(0u, cache.OpenFindCount());
}

TEST_F(MemoryUrlCacheTest, BufferStartsAtFourKilobytesAndRecordsItsSize) {
    EXPECT_EQ(4096u, buffer.capacity());
    EXPECT_EQ(4096u, buffer.size);
    EXPECT_EQ(4096u, buffer.entry()->structSize);
    buffer.size = 5112;
    buffer.Reallocate();
    EXPECT_EQ(5112u, buffer.capacity());
    EXPECT_EQ(5112u, buffer.entry()->structSize);
}

TEST_F(MemoryUrlCacheTest, FindIsClosedOnScopeExitAndMovedNotShared) {
    Commit("http://a/");
    Commit("http://b/");
    {
        UrlCacheFind first(cache);
        ASSERT_EQ(winerr::kSuccess, first.First(buffer.entry(), &buffer.size));
        ASSERT_EQ(winerr::kSuccess, first.First(buffer.entry(), &buffer.size));
        EXPECT_EQ(1u, cache.OpenFindCount());
        UrlCacheFind moved(std::move(first));
        EXPECT_FALSE(first.IsOpen());
        EXPECT_EQ(winerr::kInvalidHandle, first.Next(buffer.entry(), &buffer.size));
        EXPECT_EQ("http://b/", Next(moved));
        EXPECT_EQ(1u, cache.OpenFindCount());
    }
    EXPECT_EQ(0u, cache.OpenFindCount());
}

// The failure the erasers must survive: a next-entry call that fails with neither
// ERROR_NO_MORE_ITEMS nor ERROR_INSUFFICIENT_BUFFER. The walk is not moved on by it.
TEST_F(MemoryUrlCacheTest, FailedNextEntryDoesNotMoveTheWalkOn) {
    Commit("http://a/");
    Commit("http://b/");
    Commit("http://c/");
    UrlCacheFind find(cache);
    ASSERT_EQ(winerr::kSuccess, find.First(buffer.entry(), &buffer.size));
    cache.faults.Fail("UrlCache.FindNextEntry", winerr::kAccessDenied, "", 1);
    EXPECT_EQ("error 5", Next(find));
    EXPECT_EQ("http://b/", Next(find));
    cache.faults.Fail("UrlCache.FindNextEntry", winerr::kInvalidParameter, "http://c/");
    EXPECT_EQ("error 87", Next(find));
    EXPECT_EQ("error 87", Next(find));
    cache.faults.Clear();
    EXPECT_EQ("http://c/", Next(find));
    EXPECT_EQ("error 259", Next(find));
}

TEST_F(MemoryUrlCacheTest, FaultsOfTheOtherCalls) {
    Commit("http://a/");
    cache.faults.Fail("UrlCache.FindFirstEntry", winerr::kAccessDenied, "", 1);
    UrlCacheFind find(cache);
    EXPECT_EQ(winerr::kAccessDenied, find.First(buffer.entry(), &buffer.size));
    EXPECT_FALSE(find.IsOpen());
    EXPECT_EQ(0u, cache.OpenFindCount());

    cache.faults.Fail("UrlCache.GetEntryInfo", winerr::kAccessDenied, "http://a/", 1);
    EXPECT_EQ(winerr::kAccessDenied, cache.GetEntryInfo("http://a/", buffer.entry(), &buffer.size));
    cache.faults.Fail("UrlCache.DeleteEntry", winerr::kAccessDenied, "http://a/", 1);
    EXPECT_EQ(winerr::kAccessDenied, cache.DeleteEntry("http://a/"));
    EXPECT_TRUE(cache.Contains("http://a/"));
    EXPECT_EQ(winerr::kSuccess, cache.DeleteEntry("http://a/"));
    EXPECT_EQ(0u, cache.EntryCount());
}

// WinINet compares container prefixes case-sensitively.
TEST_F(MemoryUrlCacheTest, ContainersAddTheirTypeBit) {
    Commit("Cookie:user@host/", 0);
    Commit("cookie:user@host/");
    Commit("Visited: user@http://host/", cacheentry::kNormal);
    EXPECT_EQ(cacheentry::kCookie, TypeOf("Cookie:user@host/"));
    EXPECT_EQ(cacheentry::kNormal, TypeOf("cookie:user@host/"));
    EXPECT_EQ(cacheentry::kNormal | cacheentry::kUrlHistory, TypeOf("Visited: user@http://host/"));
}

TEST_F(MemoryUrlCacheTest, CommitReplacesAnEntryUnlessItIsInUse) {
    Commit("http://a/");
    Commit("http://b/");
    MemoryUrlCache::Entry again;
    again.url = "http://a/";
    again.headerInfo = "X: 1";
    ASSERT_EQ(winerr::kSuccess, cache.Commit(again));
    EXPECT_EQ(2u, cache.EntryCount());
    UrlCacheFind find(cache);
    ASSERT_EQ(winerr::kSuccess, find.First(buffer.entry(), &buffer.size));
    EXPECT_EQ("http://b/", std::string(buffer.entry()->sourceUrlName));
    buffer.size = buffer.capacity();
    EXPECT_EQ("http://a/", Next(find));

    ASSERT_TRUE(cache.Lock("http://a/"));
    EXPECT_EQ(winerr::kSharingViolation, cache.Commit(again));
    EXPECT_FALSE(cache.Lock("http://none/"));
}

TEST(MemoryUrlHistoryTest, CreationFaultCanSingleOutTheSecondInterface) {
    MemoryUrlHistory history;
    history.FailWith("UrlHistory.Create", hresult::kNoInterface, "IUrlHistoryStg2");
    std::unique_ptr<UrlHistoryStore> store;
    EXPECT_EQ(hresult::kNoInterface, history.Create(UrlHistoryInterface::kStg2, &store));
    EXPECT_EQ(nullptr, store);
    EXPECT_EQ(hresult::kOk, history.Create(UrlHistoryInterface::kStg, &store));
    EXPECT_NE(nullptr, store);
    EXPECT_EQ(1, history.LiveObjects());
}

}  // namespace
