// What the URL erasers rely on of WinINet's cache, checked on the in-memory double
// (natively) and on Wine's real cache: where the two disagree, the double is wrong.
//
// The type parameter owns the cache and puts entries into it as a browser would, taking
// them out again when it goes: cache(); Commit(url, headerInfo) without a local file;
// CommitWithFile(url, content), with a local file holding content; SetCookie(host), a persistent
// cookie for http://host/, returning its entry's URL; Visit(url), a visited page of the
// history; Lock(url) and Unlock(url), the entry in use in between. The cache may hold
// entries of others: only URLs on kContractHost are looked at.
#pragma once

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/rows.h"
#include "platform/url_cache.h"

constexpr char kContractHost[] = "corvane-contract.test";

template <typename Env>
class UrlCacheContract : public ::testing::Test {
protected:
    static std::string Url(const std::string& path) {
        return std::string("http://") + kContractHost + "/" + path;
    }
    // The record of an entry without file or extension: the record, its URL and its header
    // information, each piece rounded up to four bytes.
    static std::string RecordSize(const std::string& url, std::uint32_t headerSize = 0) {
        std::uint32_t size = (sizeof(UrlCacheEntryInfo) + url.size() + 1 + 3) & ~3u;
        return std::to_string((size + headerSize + 3) & ~3u);
    }
    // The erasers' walk: one block, first of 4096 bytes (or, when `small`, offered as 16
    // bytes to every call), and the size variable that travels with it, grown when a call
    // asks for more. The entries on the contract host as "url type" (of the type, the bits
    // kNormal, kCookie and kUrlHistory) and the answer that ended the walk, sorted; `visit`
    // sees every entry.
    std::string Walk(bool small = false, std::function<void(const char*)> visit = nullptr) {
        UrlCacheEntryBuffer buffer;
        UrlCacheFind find(env.cache());
        auto step = [&](bool first) {
            buffer.size = small ? 16 : buffer.size;
            WinError error = first ? find.First(buffer.entry(), &buffer.size)
                                   : find.Next(buffer.entry(), &buffer.size);
            if (error == winerr::kInsufficientBuffer) {
                buffer.Reallocate();
                ++reallocations;
                return first ? find.First(buffer.entry(), &buffer.size)
                             : find.Next(buffer.entry(), &buffer.size);
            }
            return error;
        };
        std::vector<std::string> lines;
        WinError error = step(true);
        for (; error == winerr::kSuccess; error = step(false)) {
            const UrlCacheEntryInfo& e = *buffer.entry();
            char type[12];
            std::snprintf(type, sizeof type, "%x", e.cacheEntryType & 0x300001);
            if (std::strstr(e.sourceUrlName, kContractHost) != nullptr) {
                lines.push_back(std::string(e.sourceUrlName) + " " + type);
            }
            visit ? visit(e.sourceUrlName) : void();
        }
        lines.push_back(Err(error));
        return SortedText(lines);
    }
    // GetEntryInfo into a block of 4096 bytes, grown when asked: the answers, the size asked
    // and the bytes the record used.
    std::string Info(const std::string& url) {
        UrlCacheEntryBuffer buffer;
        WinError error = env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size);
        std::string out = Err(error);
        if (error == winerr::kInsufficientBuffer) {
            buffer.Reallocate();
            error = env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size);
            out += " " + std::to_string(buffer.capacity()) + " " + Err(error);
        }
        return out + (error ? "" : " " + std::to_string(buffer.size));
    }

    Env env;
    int reallocations = 0;
};

TYPED_TEST_SUITE_P(UrlCacheContract);

// Each container adds its bit to the type. A block too small does not move the walk on:
// every entry comes back once it has grown. A call that succeeds tells the bytes it used.
TYPED_TEST_P(UrlCacheContract, WalkListsEveryEntryWithItsType) {
    const std::string a = this->Url("a"), big = this->Url("big"), page = this->Url("page.htm");
    const std::string seen = "Visited: corvane@" + this->Url("v");
    this->env.Commit(a, "");
    this->env.Commit(big, "X-Corvane:" + std::string(4990, 'h'));
    this->env.CommitWithFile(page, "hello");
    const std::string cookie = this->env.SetCookie(kContractHost);
    this->env.Visit(seen);
    UrlCacheEntryBuffer small;
    UrlCacheFind find(this->env.cache());
    auto opened = [&](WinError error) { return Err(error) + " " + std::to_string(find.IsOpen()); };
    small.size = 16;
    const std::string all = "259, " + cookie + " 100000, " + seen + " 200000, " + a + " 1, " + big +
                            " 1, " + page + " 1";
    ExpectRows({
        {std::to_string(UrlCacheEntryBuffer().entry()->structSize), "4096"},  // the first block
        {opened(find.First(small.entry(), &small.size)), "122 0"},
        {this->Walk(), all},
        {std::to_string(this->reallocations > 0), "1"},
        {this->Walk(true), all},
        {this->Info(a), "0 " + this->RecordSize(a)},
        {this->Info(big),
         "122 " + this->RecordSize(big, 5000) + " 0 " + this->RecordSize(big, 5000)},
        {this->Info(this->Url("never")), "2"},
    });
}

// The erasers delete each entry as the walk reaches it; an entry in use goes when released.
TYPED_TEST_P(UrlCacheContract, DeletedEntriesAreGone) {
    const std::string gone = this->Url("gone.htm"), busy = this->Url("busy.htm");
    this->env.CommitWithFile(gone, "bye");
    this->env.CommitWithFile(busy, "in use");
    this->env.Commit(this->Url("a"), "");
    this->env.Commit(this->Url("b"), "");
    ASSERT_TRUE(this->env.Lock(busy));
    UrlCache& cache = this->env.cache();
    std::vector<std::string> deletes;
    auto remove = [&](const char* url) {
        if (std::strstr(url, kContractHost) != nullptr) {
            deletes.push_back(Err(cache.DeleteEntry(url)));
        }
    };
    ExpectRows({
        {Err(cache.DeleteEntry(gone)), "0"},
        {this->Info(gone), "2"},
        {Err(cache.DeleteEntry(gone)), "2"},
        {(this->Walk(false, remove), SortedText(deletes)), "0, 0, 32"},
        {this->Walk(), "259, " + busy + " 1"},
        {(this->env.Unlock(busy), this->Info(busy)), "2"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(UrlCacheContract, WalkListsEveryEntryWithItsType,
                            DeletedEntriesAreGone);
