// User accounts through ADVAPI32.
#pragma once

#include "platform/accounts.h"

class Win32Accounts : public Accounts {
public:
    WinError QueryUserName(char* name, std::uint32_t* size) override;
    WinError LookupAccount(const std::string& name, void* sid, std::uint32_t* sidSize, char* domain,
                           std::uint32_t* domainSize, std::uint32_t* use) override;
};
