// SID, access-list and descriptor building through ADVAPI32.
#pragma once

#include "platform/security.h"

class Win32Security : public Security {
public:
    WinError MakeSid(const SidAuthority& authority,
                     const std::vector<std::uint32_t>& subAuthorities, ByteBlock* out) override;
    WinError StartAccessList(void* acl, std::uint32_t size, std::uint32_t revision) override;
    WinError AppendAccessEntry(void* acl, std::uint32_t revision, std::uint32_t startIndex,
                               const void* entries, std::uint32_t entriesSize) override;
    WinError MakeDescriptor(const void* acl, void* descriptor, std::uint32_t* size) override;
};
