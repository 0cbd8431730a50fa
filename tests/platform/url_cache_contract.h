// What the URL erasers rely on of WinINet's cache, checked on the in-memory double
// (natively) and on Wine's real cache: where the two disagree, the double is wrong.
//
// The type parameter owns the cache and puts entries into it as a browser would, taking
// them out again when it goes: cache(); Commit(url, headerInfo, content), with a local
// file holding content unless that is empty; SetCookie(host), a
// persistent cookie for http://host/, returning its entry's URL; Visit(url), a visited
// page of the history; Lock(url), the entry in use from then on. The cache may hold
// entries of others: only URLs on kContractHost are looked at.
#pragma once

#include <string>
#include <vector>

#include "clean/url_cache_walk.h"
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
        return Num((size + headerSize + 3) & ~3u);
    }
    // The erasers' walk: the entries on the contract host as "url type" (of the type, the
    // bits kNormal, kCookie and kUrlHistory), sorted; with `remove`, each is deleted as the
    // walk reaches it, as the erasers do, and the deletion's answer follows.
    std::string Walk(bool remove = false) {
        UrlCacheWalk walk(env.cache());
        std::vector<std::string> lines;
        for (bool more = walk.First(); more; more = walk.Next()) {
            const std::string url = walk.SourceUrl();
            if (url.find(kContractHost) != std::string::npos) {
                lines.push_back(url + " " + Hex(walk.EntryType() & 0x300001) +
                                (remove ? " " + Num(env.cache().DeleteEntry(url)) : ""));
            }
        }
        return SortedText(lines);
    }
    // GetEntryInfo into a block of 4096 bytes, grown when asked: the answers, the size asked
    // and the bytes the record used.
    std::string Info(const std::string& url) {
        UrlCacheEntryBuffer buffer;
        WinError error = env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size);
        std::string out = Num(error);
        if (error == winerr::kInsufficientBuffer) {
            buffer.Reallocate();
            error = env.cache().GetEntryInfo(url, buffer.entry(), &buffer.size);
            out += " " + Num(buffer.capacity()) + " " + Num(error);
        }
        return out + (error ? "" : " " + Num(buffer.size));
    }

    Env env;
};

TYPED_TEST_SUITE_P(UrlCacheContract);

// Each container adds its bit to the type. A block too small does not open the walk; the
// walk grows its block and sees every entry. A call that succeeds tells the bytes it used.
// The erasers delete each entry as the walk reaches it; an entry in use stays.
TYPED_TEST_P(UrlCacheContract, WalkListsTypesAndDeletes) {
    const std::string a = this->Url("a"), big = this->Url("big"), page = this->Url("page.htm");
    const std::string seen = "Visited: corvane@" + this->Url("v"), busy = this->Url("busy.htm");
    this->env.Commit(a, "", "");
    this->env.Commit(big, "X-Corvane:" + std::string(4990, 'h'), "");
    this->env.Commit(page, "", "hello");
    this->env.Commit(busy, "", "in use");
    const std::string cookie = this->env.SetCookie(kContractHost);
    this->env.Visit(seen);
    ASSERT_TRUE(this->env.Lock(busy));
    UrlCacheEntryBuffer small;
    UrlCacheFind find(this->env.cache());
    small.size = 16;
    UrlCache& cache = this->env.cache();
    // clang-format off
    ExpectRows({
        {Num(UrlCacheEntryBuffer().entry()->structSize), "4096"},  // the first block
        {Seq({Num(find.First(small.entry(), &small.size)), Num(find.IsOpen())}), "122 0"},
        {this->Walk(), cookie + " 100000, " + seen + " 200000, " + a + " 1, " + big + " 1, " + busy + " 1, " +
                          page + " 1"},
        {this->Info(a), "0 " + this->RecordSize(a)},
        {this->Info(big), "122 " + this->RecordSize(big, 5000) + " 0 " + this->RecordSize(big, 5000)},
        {Seq({Num(cache.DeleteEntry(a)), this->Info(a), Num(cache.DeleteEntry(a))}), "0 2 2"},
        {this->Walk(true), cookie + " 100000 0, " + seen + " 200000 0, " + big + " 1 0, " + busy + " 1 32, " +
                              page + " 1 0"},
        {this->Walk(), busy + " 1"},
    });
    // clang-format on
}

REGISTER_TYPED_TEST_SUITE_P(UrlCacheContract, WalkListsTypesAndDeletes);
