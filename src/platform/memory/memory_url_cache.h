// An in-memory URL cache with WinINet's semantics: one enumeration over every container;
// the container chosen by the URL's prefix and adding its own type bit ("Cookie:" the
// cookie bit, "Visited:" the history bit); records laid out in the caller's block as
// WinINet lays them out, so the sizes asked for follow the same rule; an enumeration that
// does not move on when the block is too small; entries in use refusing deletion. Calls
// can be made to fail.
#pragma once

#include <map>
#include <string>

#include "platform/memory/fault_plan.h"
#include "platform/url_cache.h"

class MemoryUrlCache : public UrlCache {
public:
    // What CommitUrlCacheEntryA stores about an entry.
    struct Entry {
        std::string url;
        std::string localFileName;  // empty: the entry has no file
        std::uint32_t type = cacheentry::kNormal;
        std::string headerInfo;
        FileTime lastAccessTime;  // Restore drops the entries used after its save
    };

    WinError FindFirstEntry(UrlCacheEntryInfo* entry, std::uint32_t* size,
                            UrlCacheFindHandle* find) override;
    WinError FindNextEntry(UrlCacheFindHandle find, UrlCacheEntryInfo* entry,
                           std::uint32_t* size) override;
    WinError CloseFind(UrlCacheFindHandle find) override;
    WinError GetEntryInfo(const std::string& url, UrlCacheEntryInfo* entry,
                          std::uint32_t* size) override;
    WinError DeleteEntry(const std::string& url) override;

    // CommitUrlCacheEntryA for a URL not in the cache yet (kAlreadyExists otherwise): the
    // entry comes last in the enumeration.
    WinError Commit(Entry entry);
    // RetrieveUrlCacheEntryFileA: the entry is in use from then on and refuses deletion.
    // False when there is no entry.
    bool Lock(const std::string& url);

    // Enumerations opened and not yet closed; tests use it to find leaked handles.
    size_t OpenFindCount() const { return finds_.size(); }

    // Calls are named "UrlCache.FindFirstEntry", "UrlCache.FindNextEntry" (the argument
    // matched is empty), "UrlCache.GetEntryInfo" and "UrlCache.DeleteEntry" (the URL).
    FaultPlan faults;

private:
    struct Stored {
        Entry entry;
        bool inUse = false;
    };
    // Keyed by commit order, so that deleting entries during a walk leaves the walk's
    // position (the next order number to return) valid.
    using Entries = std::map<std::uint64_t, Stored>;

    Entries::iterator FindStored(const std::string& url);
    WinError Advance(std::uint64_t* position, UrlCacheEntryInfo* entry, std::uint32_t* size);

    Entries entries_;
    std::map<std::string, std::uint64_t> orderByUrl_;
    std::map<std::uintptr_t, std::uint64_t> finds_;
    std::uint64_t nextOrder_ = 1;
    std::uintptr_t nextHandle_ = 0x2000;
};
