#include "platform/win32/win32_url_cache.h"

#include <windows.h>
#include <wininet.h>

#include <cstddef>

// The record the core reads is INTERNET_CACHE_ENTRY_INFOA, field for field.
static_assert(sizeof(UrlCacheEntryInfo) == sizeof(INTERNET_CACHE_ENTRY_INFOA));
#define CORVANE_SAME_OFFSET(ours, theirs) \
    static_assert(offsetof(UrlCacheEntryInfo, ours) == offsetof(INTERNET_CACHE_ENTRY_INFOA, theirs))
CORVANE_SAME_OFFSET(structSize, dwStructSize);
CORVANE_SAME_OFFSET(sourceUrlName, lpszSourceUrlName);
CORVANE_SAME_OFFSET(localFileName, lpszLocalFileName);
CORVANE_SAME_OFFSET(cacheEntryType, CacheEntryType);
CORVANE_SAME_OFFSET(useCount, dwUseCount);
CORVANE_SAME_OFFSET(hitRate, dwHitRate);
CORVANE_SAME_OFFSET(sizeLow, dwSizeLow);
CORVANE_SAME_OFFSET(sizeHigh, dwSizeHigh);
CORVANE_SAME_OFFSET(lastModifiedTime, LastModifiedTime);
CORVANE_SAME_OFFSET(expireTime, ExpireTime);
CORVANE_SAME_OFFSET(lastAccessTime, LastAccessTime);
CORVANE_SAME_OFFSET(lastSyncTime, LastSyncTime);
CORVANE_SAME_OFFSET(headerInfo, lpHeaderInfo);
CORVANE_SAME_OFFSET(headerInfoSize, dwHeaderInfoSize);
CORVANE_SAME_OFFSET(fileExtension, lpszFileExtension);
CORVANE_SAME_OFFSET(exemptDelta, dwExemptDelta);
#undef CORVANE_SAME_OFFSET
static_assert(sizeof(FileTime) == sizeof(FILETIME));
static_assert(cacheentry::kNormal == NORMAL_CACHE_ENTRY);
static_assert(cacheentry::kCookie == COOKIE_CACHE_ENTRY);
static_assert(cacheentry::kUrlHistory == URLHISTORY_CACHE_ENTRY);
static_assert(winerr::kNoMoreItems == ERROR_NO_MORE_ITEMS);
static_assert(winerr::kInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(winerr::kInvalidHandle == ERROR_INVALID_HANDLE);

namespace {

INTERNET_CACHE_ENTRY_INFOA* AsInfo(UrlCacheEntryInfo* entry) {
    return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(entry);
}
LPDWORD AsDword(std::uint32_t* p) {
    return reinterpret_cast<LPDWORD>(p);
}
HANDLE AsHandle(UrlCacheFindHandle find) {
    return reinterpret_cast<HANDLE>(find.value);
}

// The error of a call that reported failure. The result alone says whether a call
// succeeded: WinINet can leave a stale last-error value behind a successful call (Wine's
// FindFirstUrlCacheEntryA leaves ERROR_INSUFFICIENT_BUFFER), and a failure that set none
// must still read as a failure.
WinError FailureCode() {
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

}  // namespace

WinError Win32UrlCache::FindFirstEntry(UrlCacheEntryInfo* entry, std::uint32_t* size,
                                       UrlCacheFindHandle* find) {
    HANDLE handle = FindFirstUrlCacheEntryA(nullptr, AsInfo(entry), AsDword(size));
    if (handle == nullptr) {
        return FailureCode();
    }
    find->value = reinterpret_cast<std::uintptr_t>(handle);
    return winerr::kSuccess;
}

WinError Win32UrlCache::FindNextEntry(UrlCacheFindHandle find, UrlCacheEntryInfo* entry,
                                      std::uint32_t* size) {
    return FindNextUrlCacheEntryA(AsHandle(find), AsInfo(entry), AsDword(size)) ? winerr::kSuccess
                                                                                : FailureCode();
}

WinError Win32UrlCache::CloseFind(UrlCacheFindHandle find) {
    return FindCloseUrlCache(AsHandle(find)) ? winerr::kSuccess : FailureCode();
}

WinError Win32UrlCache::GetEntryInfo(const std::string& url, UrlCacheEntryInfo* entry,
                                     std::uint32_t* size) {
    return GetUrlCacheEntryInfoA(url.c_str(), AsInfo(entry), AsDword(size)) ? winerr::kSuccess
                                                                            : FailureCode();
}

WinError Win32UrlCache::DeleteEntry(const std::string& url) {
    return DeleteUrlCacheEntryA(url.c_str()) ? winerr::kSuccess : FailureCode();
}
