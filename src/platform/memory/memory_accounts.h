// In-memory accounts: a table of account names with their SIDs, domains and kinds, and
// the name of the user the process runs as. Calls can be made to fail.
#pragma once

#include <map>
#include <string>

#include "platform/accounts.h"
#include "platform/memory/fault_plan.h"
#include "platform/security.h"

struct MemoryAccount {
    ByteBlock sid;
    std::string domain;
    std::uint32_t use = sidtype::kUser;
};

class MemoryAccounts : public Accounts {
public:
    // The user every double runs as unless a test says otherwise: a local account with
    // a machine SID of the usual shape (S-1-5-21-a-b-c-1000).
    static const char kDefaultUser[];
    static const char kDefaultDomain[];
    static ByteBlock DefaultUserSid();

    MemoryAccounts();

    WinError QueryUserName(char* name, std::uint32_t* size) override;
    WinError LookupAccount(const std::string& name, void* sid, std::uint32_t* sidSize, char* domain,
                           std::uint32_t* domainSize, std::uint32_t* use) override;

    std::string userName = kDefaultUser;
    // Account names are looked up without regard to case.
    std::map<std::string, MemoryAccount> accounts;

    // Calls are named "Accounts.QueryUserName" and "Accounts.LookupAccount"; the
    // argument matched is the account name looked up (empty for the user name).
    FaultPlan faults;
};
