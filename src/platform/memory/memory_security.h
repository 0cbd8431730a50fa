// In-memory SID, access-list and descriptor building, writing the same bytes as
// ADVAPI32. Calls can be made to fail.
#pragma once

#include "platform/memory/fault_plan.h"
#include "platform/security.h"

class MemorySecurity : public Security {
public:
    WinError MakeSid(const SidAuthority& authority,
                     const std::vector<std::uint32_t>& subAuthorities, ByteBlock* out) override;
    WinError StartAccessList(void* acl, std::uint32_t size, std::uint32_t revision) override;
    WinError AppendAccessEntry(void* acl, std::uint32_t revision, std::uint32_t startIndex,
                               const void* entries, std::uint32_t entriesSize) override;
    WinError MakeDescriptor(const void* acl, void* descriptor, std::uint32_t* size) override;

    // Calls are named "Security.MakeSid", "Security.StartAccessList",
    // "Security.AppendAccessEntry" and "Security.MakeDescriptor"; the argument matched
    // is empty.
    FaultPlan faults;
};
