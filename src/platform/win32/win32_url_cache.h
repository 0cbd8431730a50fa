// The URL cache through the ANSI calls of WININET.
#pragma once

#include "platform/url_cache.h"

class Win32UrlCache : public UrlCache {
public:
    WinError FindFirstEntry(UrlCacheEntryInfo* entry, std::uint32_t* size,
                            UrlCacheFindHandle* find) override;
    WinError FindNextEntry(UrlCacheFindHandle find, UrlCacheEntryInfo* entry,
                           std::uint32_t* size) override;
    WinError CloseFind(UrlCacheFindHandle find) override;
    WinError GetEntryInfo(const std::string& url, UrlCacheEntryInfo* entry,
                          std::uint32_t* size) override;
    WinError DeleteEntry(const std::string& url) override;
};
