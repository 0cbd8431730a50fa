// Behaviour that every UrlCache implementation shares with WinINet. The suite is
// instantiated for the in-memory double (natively) and for the Win32 calls (under Wine,
// whose cache is real); where the two disagree, the double is wrong.
//
// The type parameter is an environment that owns the cache and puts entries into it as a
// browser would, removing them again when it is destroyed:
//   UrlCache& cache();
//   void Commit(const std::string& url, const std::string& headerInfo);  // no local file
//   std::string CommitWithFile(const std::string& url, const std::string& content);
//       // the entry's local file, holding content; returns its path
//   std::string SetCookie(const std::string& host);  // a persistent cookie for http://host/;
//       // returns the URL of its cache entry
//   bool Lock(const std::string& url);  // the entry is in use until Unlock
//   void Unlock(const std::string& url);
// The cache may hold entries of others; the tests look only at URLs on kContractHost.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/url_cache.h"

constexpr char kContractHost[] = "corvane-contract.test";

struct WalkedEntry {
    std::string url;
    std::uint32_t type = 0;
    std::string localFileName;
    std::uint32_t sizeLow = 0;
    std::string headerInfo;
};

struct CacheWalk {
    std::vector<WalkedEntry> entries;  // those on kContractHost, in walk order
    int reallocations = 0;
    WinError end = winerr::kSuccess;  // the answer that ended the walk
};

inline WalkedEntry Describe(const UrlCacheEntryInfo& e) {
    WalkedEntry walked;
    walked.url = e.sourceUrlName;
    walked.type = e.cacheEntryType;
    walked.localFileName = e.localFileName != nullptr ? e.localFileName : "";
    walked.sizeLow = e.sizeLow;
    if (e.headerInfo != nullptr) {
        walked.headerInfo.assign(e.headerInfo, e.headerInfoSize);
    }
    return walked;
}

// Walks the whole cache as the program's walks do: a 4096-byte block and the size
// variable that travels with it; when a call answers kInsufficientBuffer the block is
// reallocated to the size asked for and the call repeated once. The walk ends at the
// first other answer than success. visit(entry) runs for every entry read.
template <typename Visit>
CacheWalk WalkCache(UrlCache& cache, Visit visit) {
    CacheWalk walk;
    UrlCacheEntryBuffer buffer;
    UrlCacheFind find(cache);
    auto grown = [&](auto call) {
        WinError error = call();
        if (error == winerr::kInsufficientBuffer) {
            buffer.Reallocate();
            ++walk.reallocations;
            error = call();
        }
        return error;
    };
    WinError error = grown([&] { return find.First(buffer.entry(), &buffer.size); });
    while (error == winerr::kSuccess) {
        const UrlCacheEntryInfo& entry = *buffer.entry();
        if (std::strstr(entry.sourceUrlName, kContractHost) != nullptr) {
            walk.entries.push_back(Describe(entry));
        }
        visit(entry);
        error = grown([&] { return find.Next(buffer.entry(), &buffer.size); });
    }
    walk.end = error;
    return walk;
}

inline CacheWalk WalkCache(UrlCache& cache) {
    return WalkCache(cache, [](const UrlCacheEntryInfo&) {});
}

inline std::uint32_t Align4(std::uint32_t n) {
    return (n + 3) & ~3u;
}

template <typename Env>
class UrlCacheContract : public ::testing::Test {
protected:
    static std::string Url(const std::string& path) {
        return std::string("http://") + kContractHost + "/" + path;
    }
    // The size of the record of an entry without file or extension: the record, its URL
    // and its header information, each piece rounded up to four bytes.
    static std::uint32_t RecordSize(const std::string& url, size_t headerInfoSize = 0) {
        std::uint32_t size = Align4(sizeof(UrlCacheEntryInfo) + url.size() + 1);
        return Align4(size + static_cast<std::uint32_t>(headerInfoSize));
    }
    std::set<std::string> WalkedUrls() {
        std::set<std::string> urls;
        for (const WalkedEntry& entry : WalkCache(env.cache()).entries) {
            EXPECT_TRUE(urls.insert(entry.url).second) << entry.url << " listed twice";
        }
        return urls;
    }
    WinError Info(const std::string& url) {
        UrlCacheEntryBuffer buffer;
        return env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size);
    }

    Env env;
};

TYPED_TEST_SUITE_P(UrlCacheContract);

TYPED_TEST_P(UrlCacheContract, WalkListsEveryEntryWithItsFields) {
    this->env.Commit(this->Url("a"), "");
    this->env.Commit(this->Url("b"), "");
    std::string file = this->env.CommitWithFile(this->Url("page.htm"), "hello");

    CacheWalk walk = WalkCache(this->env.cache());
    EXPECT_EQ(winerr::kNoMoreItems, walk.end);
    ASSERT_EQ(3u, walk.entries.size());
    for (const WalkedEntry& entry : walk.entries) {
        EXPECT_EQ(cacheentry::kNormal, entry.type) << entry.url;
        if (entry.url == this->Url("page.htm")) {
            EXPECT_EQ(file, entry.localFileName);
            EXPECT_EQ(5u, entry.sizeLow);
        } else {
            EXPECT_EQ("", entry.localFileName) << entry.url;
            EXPECT_EQ(0u, entry.sizeLow) << entry.url;
        }
    }
    EXPECT_EQ((std::set<std::string>{this->Url("a"), this->Url("b"), this->Url("page.htm")}),
              this->WalkedUrls());
}

TYPED_TEST_P(UrlCacheContract, CookieEntriesAloneCarryTheCookieBit) {
    std::string cookie = this->env.SetCookie(kContractHost);
    this->env.Commit(this->Url("index.html"), "");
    ASSERT_EQ(winerr::kSuccess, this->Info(cookie)) << cookie;

    CacheWalk walk = WalkCache(this->env.cache());
    ASSERT_EQ(2u, walk.entries.size());
    for (const WalkedEntry& entry : walk.entries) {
        if (entry.url == cookie) {
            EXPECT_EQ(cacheentry::kCookie, entry.type);
            EXPECT_NE("", entry.localFileName);
        } else {
            EXPECT_EQ(this->Url("index.html"), entry.url);
            EXPECT_EQ(0u, entry.type & cacheentry::kCookie);
        }
    }
}

TYPED_TEST_P(UrlCacheContract, SuccessReportsTheBytesTheRecordUsed) {
    std::string url = this->Url("size");
    this->env.Commit(url, "");
    UrlCacheEntryBuffer buffer;
    ASSERT_EQ(winerr::kSuccess, this->env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size));
    EXPECT_EQ(this->RecordSize(url), buffer.size);
    EXPECT_EQ(url, buffer.entry()->sourceUrlName);
    EXPECT_EQ(nullptr, buffer.entry()->headerInfo);
    EXPECT_EQ(0u, buffer.entry()->headerInfoSize);
}

TYPED_TEST_P(UrlCacheContract, RecordOverFourKilobytesIsReadAfterOneReallocation) {
    std::string url = this->Url("big");
    std::string header(5000, 'h');
    header.replace(0, 10, "X-Corvane:");
    this->env.Commit(url, header);

    UrlCacheEntryBuffer buffer;
    ASSERT_EQ(winerr::kInsufficientBuffer,
              this->env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size));
    EXPECT_EQ(this->RecordSize(url, header.size()), buffer.size);
    buffer.Reallocate();
    ASSERT_EQ(winerr::kSuccess, this->env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size));
    EXPECT_EQ(this->RecordSize(url, header.size()), buffer.capacity());
    EXPECT_EQ(url, buffer.entry()->sourceUrlName);
    ASSERT_EQ(5000u, buffer.entry()->headerInfoSize);
    EXPECT_EQ(header, std::string(buffer.entry()->headerInfo, 5000));

    CacheWalk walk = WalkCache(this->env.cache());
    ASSERT_EQ(1u, walk.entries.size());
    EXPECT_EQ(header, walk.entries[0].headerInfo);
    EXPECT_GE(walk.reallocations, 1);
}

// A block that is too small does not move the walk on: every entry comes back after its
// block has grown, none is skipped or returned twice.
TYPED_TEST_P(UrlCacheContract, EveryEntryComesBackAfterItsBlockGrew) {
    for (const char* path : {"g1", "g2", "g3"}) {
        this->env.Commit(this->Url(path), "");
    }
    UrlCacheEntryBuffer buffer;
    UrlCacheFind find(this->env.cache());
    buffer.size = 16;
    ASSERT_EQ(winerr::kInsufficientBuffer, find.First(buffer.entry(), &buffer.size));
    EXPECT_FALSE(find.IsOpen());
    EXPECT_GT(buffer.size, 16u);
    buffer.Reallocate();
    WinError error = find.First(buffer.entry(), &buffer.size);
    std::multiset<std::string> seen;
    while (error == winerr::kSuccess) {
        seen.insert(buffer.entry()->sourceUrlName);
        buffer.size = 16;
        error = find.Next(buffer.entry(), &buffer.size);
        if (error == winerr::kInsufficientBuffer) {
            buffer.Reallocate();
            error = find.Next(buffer.entry(), &buffer.size);
        }
    }
    EXPECT_EQ(winerr::kNoMoreItems, error);
    buffer.size = buffer.capacity();
    EXPECT_EQ(winerr::kNoMoreItems, find.Next(buffer.entry(), &buffer.size));
    for (const char* path : {"g1", "g2", "g3"}) {
        EXPECT_EQ(1u, seen.count(this->Url(path))) << path;
    }
}

TYPED_TEST_P(UrlCacheContract, MissingEntryIsNotFound) {
    EXPECT_EQ(winerr::kFileNotFound, this->Info(this->Url("never")));
    EXPECT_EQ(winerr::kFileNotFound, this->env.cache().DeleteEntry(this->Url("never")));
}

TYPED_TEST_P(UrlCacheContract, DeletedEntryIsGone) {
    std::string url = this->Url("gone.htm");
    this->env.CommitWithFile(url, "bye");
    this->env.Commit(this->Url("stays"), "");
    EXPECT_EQ(winerr::kSuccess, this->env.cache().DeleteEntry(url));
    EXPECT_EQ(winerr::kFileNotFound, this->Info(url));
    EXPECT_EQ(winerr::kFileNotFound, this->env.cache().DeleteEntry(url));
    EXPECT_EQ(std::set<std::string>{this->Url("stays")}, this->WalkedUrls());
}

// The erasers delete each entry as the walk reaches it.
TYPED_TEST_P(UrlCacheContract, DeletingDuringTheWalkKeepsTheWalkGoing) {
    std::set<std::string> urls;
    for (int i = 0; i < 6; ++i) {
        urls.insert(this->Url("d" + std::to_string(i)));
        this->env.Commit(this->Url("d" + std::to_string(i)), "");
    }
    std::vector<WinError> deletes;
    CacheWalk walk = WalkCache(this->env.cache(), [&](const UrlCacheEntryInfo& entry) {
        if (urls.count(entry.sourceUrlName) != 0) {
            deletes.push_back(this->env.cache().DeleteEntry(entry.sourceUrlName));
        }
    });
    EXPECT_EQ(winerr::kNoMoreItems, walk.end);
    EXPECT_EQ(std::vector<WinError>(6, winerr::kSuccess), deletes);
    EXPECT_TRUE(this->WalkedUrls().empty());
}

TYPED_TEST_P(UrlCacheContract, EntryInUseIsDeletedWhenReleased) {
    std::string url = this->Url("busy.htm");
    this->env.CommitWithFile(url, "in use");
    ASSERT_TRUE(this->env.Lock(url));
    EXPECT_EQ(winerr::kSharingViolation, this->env.cache().DeleteEntry(url));
    EXPECT_EQ(winerr::kSuccess, this->Info(url));
    this->env.Unlock(url);
    EXPECT_EQ(winerr::kFileNotFound, this->Info(url));
}

REGISTER_TYPED_TEST_SUITE_P(UrlCacheContract, WalkListsEveryEntryWithItsFields,
                            CookieEntriesAloneCarryTheCookieBit,
                            SuccessReportsTheBytesTheRecordUsed,
                            RecordOverFourKilobytesIsReadAfterOneReallocation,
                            EveryEntryComesBackAfterItsBlockGrew, MissingEntryIsNotFound,
                            DeletedEntryIsGone, DeletingDuringTheWalkKeepsTheWalkGoing,
                            EntryInUseIsDeletedWhenReleased);
