// The one walk over the URL cache, for every eraser, counter and snapshot command: all
// entries of all containers (a null search pattern), read one at a time into one heap
// block that grows only when the cache asks for more.
//
//     UrlCacheWalk walk(dlg.platform.urlCache);
//     for (bool more = walk.First(); more; more = walk.Next()) {
//         ... walk.SourceUrl(), walk.EntryType() ...
//     }
#pragma once

#include <cstdint>
#include <string>

#include "platform/url_cache.h"

class UrlCacheWalk {
public:
    explicit UrlCacheWalk(UrlCache& cache) : cache_(cache), find_(cache) {}

    // Opens the walk on the first entry. False when the cache holds nothing or cannot be
    // read; no handle is then open.
    bool First();
    // Moves on to the next entry. False after the last one, and also when the call fails
    // in any other way: the block would still hold the entry before, and a walk that went
    // on with it would visit that entry again and again. The handle stays open until
    // Close or the end of the walk's scope.
    bool Next();
    void Close() { find_.Close(); }
    // Whether the walk has seen every entry: the last First or Next found no more. A walk
    // that stopped on a failure has not, and may have missed some.
    bool AtEnd() const { return last_ == winerr::kNoMoreItems; }

    // The entry read last: its source URL name (empty when it has none), its local file
    // (empty when it has none) and type bits.
    std::string SourceUrl() { return TextInBlock(buffer_.entry()->sourceUrlName); }
    std::string LocalFileName() { return TextInBlock(buffer_.entry()->localFileName); }
    std::uint32_t EntryType() { return buffer_.entry()->cacheEntryType; }
    FileTime LastAccessTime() { return buffer_.entry()->lastAccessTime; }
    // The size of the entry's file, as the cache records it.
    std::uint64_t EntrySize() {
        return (std::uint64_t{buffer_.entry()->sizeHigh} << 32) | buffer_.entry()->sizeLow;
    }

    // Whether the cache holds an entry named url, read into the walk's block as the
    // walk's own calls are (after this the current entry's fields are those of url).
    bool EntryExists(const std::string& url);
    // An eraser's work on one entry: Clear deletes it, Test only looks it up. kSuccess
    // when it was deleted, or is there to be; else the error of the deletion (or of the
    // look-up, in Test).
    WinError Take(const std::string& url, bool testMode);

private:
    template <typename Call>
    WinError Grown(Call call);
    std::string TextInBlock(const char* text);

    UrlCache& cache_;
    UrlCacheEntryBuffer buffer_;
    UrlCacheFind find_;
    WinError last_ = winerr::kSuccess;
};
