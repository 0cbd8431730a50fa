#include "platform/memory/memory_url_cache.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t Align4(std::uint32_t n) {
    return (n + 3) & ~3u;
}
std::uint32_t Length(const std::string& text) {
    return static_cast<std::uint32_t>(text.size());
}

// One text of the record: where it starts in the block and where it ends.
struct Piece {
    std::uint32_t offset = 0;
    std::uint32_t end = 0;
    bool present = false;
};

// WinINet's layout: the record, then the source URL, the local file name and the header
// information (without a terminator), each piece starting on a 4-byte boundary. The size
// a call asks for is the end of the last piece.
struct Layout {
    Piece url, localFileName, headerInfo;
    std::uint32_t total = 0;
};

Layout LayOut(const MemoryUrlCache::Entry& e) {
    Layout layout;
    std::uint32_t at = sizeof(UrlCacheEntryInfo);
    auto place = [&at](Piece& piece, std::uint32_t bytes, bool present) {
        if (!present) {
            return;
        }
        piece = Piece{at, at + bytes, true};
        at = Align4(at + bytes);
    };
    place(layout.url, Length(e.url) + 1, /*present=*/true);
    place(layout.localFileName, Length(e.localFileName) + 1, !e.localFileName.empty());
    place(layout.headerInfo, Length(e.headerInfo), !e.headerInfo.empty());
    layout.total = at;
    return layout;
}

// Copies a piece into the block when it fits in the `capacity` bytes offered, as WinINet
// does even when the whole record does not; the pointer stays null otherwise.
char* CopyPiece(char* base, std::uint32_t capacity, const Piece& piece, const std::string& text) {
    if (!piece.present || piece.end > capacity) {
        return nullptr;
    }
    std::memcpy(base + piece.offset, text.c_str(), piece.end - piece.offset);
    std::uint32_t padEnd = std::min(Align4(piece.end), capacity);
    std::memset(base + piece.end, 0, padEnd - piece.end);
    return base + piece.offset;
}

// Writes the record of e into the caller's block of *size bytes.
WinError CopyEntry(const MemoryUrlCache::Entry& e, UrlCacheEntryInfo* out, std::uint32_t* size) {
    Layout layout = LayOut(e);
    std::uint32_t capacity = *size;
    *size = layout.total;
    if (capacity < sizeof(UrlCacheEntryInfo)) {
        return winerr::kInsufficientBuffer;
    }
    char* base = reinterpret_cast<char*>(out);
    UrlCacheEntryInfo record = {};
    record.structSize = sizeof record;
    record.sourceUrlName = CopyPiece(base, capacity, layout.url, e.url);
    record.localFileName = CopyPiece(base, capacity, layout.localFileName, e.localFileName);
    record.cacheEntryType = e.type;
    record.headerInfo = CopyPiece(base, capacity, layout.headerInfo, e.headerInfo);
    record.headerInfoSize = Length(e.headerInfo);
    record.lastAccessTime = e.lastAccessTime;
    std::memcpy(out, &record, sizeof record);
    return layout.total > capacity ? winerr::kInsufficientBuffer : winerr::kSuccess;
}

// The type bit of the container that a URL's prefix names (case-sensitive, as WinINet
// compares prefixes); ordinary URLs go to the temporary Internet files, which add none.
std::uint32_t ContainerTypeBit(const std::string& url) {
    if (url.rfind("Cookie:", 0) == 0) {
        return cacheentry::kCookie;
    }
    if (url.rfind("Visited:", 0) == 0) {
        return cacheentry::kUrlHistory;
    }
    return 0;
}

}  // namespace

MemoryUrlCache::Entries::iterator MemoryUrlCache::FindStored(const std::string& url) {
    auto order = orderByUrl_.find(url);
    return order == orderByUrl_.end() ? entries_.end() : entries_.find(order->second);
}

WinError MemoryUrlCache::Commit(Entry entry) {
    if (FindStored(entry.url) != entries_.end()) {
        return winerr::kAlreadyExists;
    }
    entry.type |= ContainerTypeBit(entry.url);
    orderByUrl_[entry.url] = nextOrder_;
    entries_[nextOrder_++].entry = std::move(entry);
    return winerr::kSuccess;
}

bool MemoryUrlCache::Lock(const std::string& url) {
    auto it = FindStored(url);
    if (it == entries_.end()) {
        return false;
    }
    it->second.inUse = true;
    return true;
}

// Copies the first entry at or after *position into the block; on success the position
// moves past it. A block that is too small leaves the position where it was.
WinError MemoryUrlCache::Advance(std::uint64_t* position, UrlCacheEntryInfo* entry,
                                 std::uint32_t* size) {
    auto it = entries_.lower_bound(*position);
    if (it == entries_.end()) {
        return winerr::kNoMoreItems;
    }
    WinError error = CopyEntry(it->second.entry, entry, size);
    if (error == winerr::kSuccess) {
        *position = it->first + 1;
    }
    return error;
}

WinError MemoryUrlCache::FindFirstEntry(UrlCacheEntryInfo* entry, std::uint32_t* size,
                                        UrlCacheFindHandle* find) {
    if (WinError fault = faults.Check("UrlCache.FindFirstEntry", "")) {
        return fault;
    }
    std::uint64_t position = 0;
    WinError error = Advance(&position, entry, size);
    if (error == winerr::kSuccess) {
        finds_[nextHandle_] = position;
        find->value = nextHandle_++;
    }
    return error;
}

WinError MemoryUrlCache::FindNextEntry(UrlCacheFindHandle find, UrlCacheEntryInfo* entry,
                                       std::uint32_t* size) {
    if (WinError fault = faults.Check("UrlCache.FindNextEntry", "")) {
        return fault;  // the walk does not move on
    }
    return Advance(&finds_.at(find.value), entry, size);
}

WinError MemoryUrlCache::CloseFind(UrlCacheFindHandle find) {
    return finds_.erase(find.value) == 1 ? winerr::kSuccess : winerr::kInvalidHandle;
}

WinError MemoryUrlCache::GetEntryInfo(const std::string& url, UrlCacheEntryInfo* entry,
                                      std::uint32_t* size) {
    WinError fault = faults.Check("UrlCache.GetEntryInfo", url);
    if (fault != winerr::kSuccess) {
        return fault;
    }
    auto it = FindStored(url);
    return it == entries_.end() ? winerr::kFileNotFound : CopyEntry(it->second.entry, entry, size);
}

WinError MemoryUrlCache::DeleteEntry(const std::string& url) {
    if (WinError fault = faults.Check("UrlCache.DeleteEntry", url)) {
        return fault;
    }
    auto it = FindStored(url);
    if (it == entries_.end()) {
        return winerr::kFileNotFound;
    }
    if (it->second.inUse) {
        return winerr::kSharingViolation;
    }
    orderByUrl_.erase(url);
    entries_.erase(it);
    return winerr::kSuccess;
}
