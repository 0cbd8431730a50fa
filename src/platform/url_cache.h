// The WinINet URL cache as the core sees it: the ANSI cache calls, one method each, with
// the Win32 error code as the result.
//
// An entry is read into a heap block that the caller owns and sizes, exactly as WinINet
// does it: the record comes first and the texts it points to follow inside the same block.
// UrlCacheEntryInfo is a field-for-field copy of INTERNET_CACHE_ENTRY_INFOA (the Win32
// layer checks its size and every offset against the SDK), so the real calls write straight
// into the caller's block and the core reads the fields where the calls put them. The
// alternative, copying a few fields into a struct of our own, would hide what the walks
// depend on: that the size a call asks for is the size of the block the caller allocates,
// and that the texts live in that block. The core cannot include <wininet.h>, hence the copy.
//
// Buffer rules shared by FindFirstEntry, FindNextEntry and GetEntryInfo:
// - *size is the block's size on the way in. On kSuccess it is the number of bytes the
//   record used, which may be less than the block: a caller that passes the same variable
//   on to the next call offers only that much, and may be asked to grow again.
// - kInsufficientBuffer: *size is the size needed. The enumeration has not moved on: the
//   same call with a block of that size returns the same entry. The block's contents are
//   undefined: WinINet fills in the fixed fields and whichever texts happen to fit.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "platform/file_time.h"
#include "platform/win_error.h"

// INTERNET_CACHE_ENTRY_INFOA. The text pointers point into the caller's block (or are null).
struct UrlCacheEntryInfo {
    std::uint32_t structSize;
    char* sourceUrlName;
    char* localFileName;  // null when the entry has no file
    std::uint32_t cacheEntryType;
    std::uint32_t useCount;
    std::uint32_t hitRate;
    std::uint32_t sizeLow;
    std::uint32_t sizeHigh;
    FileTime lastModifiedTime;
    FileTime expireTime;
    FileTime lastAccessTime;
    FileTime lastSyncTime;
    char* headerInfo;  // headerInfoSize bytes, not NUL-terminated; null when there are none
    std::uint32_t headerInfoSize;
    char* fileExtension;
    std::uint32_t exemptDelta;
};

// Bits of UrlCacheEntryInfo::cacheEntryType.
namespace cacheentry {
constexpr std::uint32_t kNormal = 0x00000001;
constexpr std::uint32_t kCookie = 0x00100000;      // COOKIE_CACHE_ENTRY
constexpr std::uint32_t kUrlHistory = 0x00200000;  // URLHISTORY_CACHE_ENTRY: a visited page
}  // namespace cacheentry

// An open enumeration of the cache. Plain value; see UrlCacheFind for ownership.
struct UrlCacheFindHandle {
    std::uintptr_t value = 0;
};

class UrlCache {
public:
    virtual ~UrlCache() = default;

    // FindFirstUrlCacheEntryA with a null search pattern: every entry of every container
    // (temporary Internet files, cookies, visited pages). On kSuccess *find is a new
    // handle that must be closed and the block holds the first record. kNoMoreItems: the
    // cache holds nothing. On any failure *find is untouched and no handle is open.
    [[nodiscard]] virtual WinError FindFirstEntry(UrlCacheEntryInfo* entry, std::uint32_t* size,
                                                  UrlCacheFindHandle* find) = 0;
    // FindNextUrlCacheEntryA. kNoMoreItems after the last entry, and again on every later
    // call. Entries deleted during the walk do not disturb it.
    [[nodiscard]] virtual WinError FindNextEntry(UrlCacheFindHandle find, UrlCacheEntryInfo* entry,
                                                 std::uint32_t* size) = 0;
    // FindCloseUrlCache.
    virtual WinError CloseFind(UrlCacheFindHandle find) = 0;

    // GetUrlCacheEntryInfoA: the record of the entry whose source URL name is url (exact
    // bytes). kFileNotFound when there is none.
    [[nodiscard]] virtual WinError GetEntryInfo(const std::string& url, UrlCacheEntryInfo* entry,
                                                std::uint32_t* size) = 0;
    // DeleteUrlCacheEntryA: removes the entry and its local file. kFileNotFound when there
    // is none; kSharingViolation while the entry is in use (it then goes when released).
    virtual WinError DeleteEntry(const std::string& url) = 0;
};

// The heap block a walk reads its entries into, and the size variable that travels with
// it as the in/out size argument of every call. After a call answered kInsufficientBuffer,
// `size` holds the size asked for and Reallocate() replaces the block by one of that size
// (nothing is copied: the repeated call fills it afresh).
class UrlCacheEntryBuffer {
public:
    static constexpr std::uint32_t kFirstSize = 4096;

    UrlCacheEntryBuffer() { Allocate(kFirstSize); }

    void Reallocate() { Allocate(size); }

    UrlCacheEntryInfo* entry() { return reinterpret_cast<UrlCacheEntryInfo*>(block_.get()); }
    std::uint32_t capacity() const { return capacity_; }

    std::uint32_t size = 0;

private:
    // Every allocation sets the record's first field, its structure size, to the block's
    // size, and the size variable too.
    void Allocate(std::uint32_t bytes) {
        block_ = std::make_unique<unsigned char[]>(bytes);
        capacity_ = bytes;
        size = bytes;
        if (bytes >= sizeof(std::uint32_t)) {
            std::memcpy(block_.get(), &bytes, sizeof bytes);
        }
    }

    std::unique_ptr<unsigned char[]> block_;
    std::uint32_t capacity_ = 0;
};

// Owns one enumeration of the cache and closes it when it goes out of scope. Move-only.
class UrlCacheFind {
public:
    explicit UrlCacheFind(UrlCache& cache) : cache_(&cache) {}
    ~UrlCacheFind() { Close(); }
    UrlCacheFind(UrlCacheFind&& other) noexcept { *this = std::move(other); }
    UrlCacheFind& operator=(UrlCacheFind&& other) noexcept {
        if (this != &other) {
            Close();
            cache_ = other.cache_;
            handle_ = std::exchange(other.handle_, UrlCacheFindHandle{});
        }
        return *this;
    }
    UrlCacheFind(const UrlCacheFind&) = delete;
    UrlCacheFind& operator=(const UrlCacheFind&) = delete;

    // Starts a new enumeration (closing an earlier one); the handle is kept on kSuccess.
    [[nodiscard]] WinError First(UrlCacheEntryInfo* entry, std::uint32_t* size) {
        Close();
        return cache_->FindFirstEntry(entry, size, &handle_);
    }
    // The next entry; kInvalidHandle when no enumeration is open.
    [[nodiscard]] WinError Next(UrlCacheEntryInfo* entry, std::uint32_t* size) {
        return IsOpen() ? cache_->FindNextEntry(handle_, entry, size) : winerr::kInvalidHandle;
    }
    void Close() {
        if (IsOpen()) {
            cache_->CloseFind(std::exchange(handle_, UrlCacheFindHandle{}));
        }
    }
    bool IsOpen() const { return handle_.value != 0; }

private:
    UrlCache* cache_ = nullptr;
    UrlCacheFindHandle handle_{};
};
