#include "platform/memory/memory_accounts.h"

#include <cstring>

#include "platform/gbk.h"

const char MemoryAccounts::kDefaultUser[] = "corvane";
const char MemoryAccounts::kDefaultDomain[] = "CORVANE-PC";

ByteBlock MemoryAccounts::DefaultUserSid() {
    return WriteSid(
        {sidlayout::kRevision, kNtAuthority, {21, 1004336348, 1177238915, 682003330, 1000}});
}

MemoryAccounts::MemoryAccounts() {
    accounts[kDefaultUser] = MemoryAccount{DefaultUserSid(), kDefaultDomain, sidtype::kUser};
}

WinError MemoryAccounts::QueryUserName(char* name, std::uint32_t* size) {
    if (WinError fault = faults.Check("Accounts.QueryUserName", "")) {
        return fault;
    }
    std::uint32_t needed = static_cast<std::uint32_t>(userName.size() + 1);
    if (*size < needed) {
        *size = needed;
        return winerr::kInsufficientBuffer;
    }
    std::memcpy(name, userName.c_str(), needed);
    *size = needed;
    return winerr::kSuccess;
}

WinError MemoryAccounts::LookupAccount(const std::string& name, void* sid, std::uint32_t* sidSize,
                                       char* domain, std::uint32_t* domainSize,
                                       std::uint32_t* use) {
    if (WinError fault = faults.Check("Accounts.LookupAccount", name)) {
        return fault;
    }
    const MemoryAccount* found = nullptr;
    for (const auto& entry : accounts) {
        if (GbkEqualNoCase(entry.first, name)) {
            found = &entry.second;
        }
    }
    if (found == nullptr) {
        return winerr::kNoneMapped;
    }
    std::uint32_t sidNeeded = static_cast<std::uint32_t>(found->sid.size());
    std::uint32_t domainNeeded = static_cast<std::uint32_t>(found->domain.size() + 1);
    if (*sidSize < sidNeeded || *domainSize < domainNeeded) {
        *sidSize = sidNeeded;
        *domainSize = domainNeeded;
        return winerr::kInsufficientBuffer;
    }
    std::memcpy(sid, found->sid.data(), sidNeeded);
    std::memcpy(domain, found->domain.c_str(), domainNeeded);
    *sidSize = sidNeeded;
    *domainSize = domainNeeded - 1;
    *use = found->use;
    return winerr::kSuccess;
}
