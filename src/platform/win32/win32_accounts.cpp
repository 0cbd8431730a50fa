#include "platform/win32/win32_accounts.h"

#include <windows.h>

static_assert(winerr::kNoneMapped == ERROR_NONE_MAPPED);
static_assert(sidtype::kUser == SidTypeUser);

WinError Win32Accounts::QueryUserName(char* name, std::uint32_t* size) {
    DWORD length = *size;
    if (!GetUserNameA(name, &length)) {
        WinError error = GetLastError();
        if (error == ERROR_INSUFFICIENT_BUFFER) {
            *size = length;
        }
        return error;
    }
    *size = length;
    return winerr::kSuccess;
}

WinError Win32Accounts::LookupAccount(const std::string& name, void* sid, std::uint32_t* sidSize,
                                      char* domain, std::uint32_t* domainSize, std::uint32_t* use) {
    DWORD sidLength = *sidSize;
    DWORD domainLength = *domainSize;
    SID_NAME_USE kind = SidTypeUnknown;
    if (!LookupAccountNameA(nullptr, name.c_str(), sid, &sidLength, domain, &domainLength, &kind)) {
        WinError error = GetLastError();
        if (error == ERROR_INSUFFICIENT_BUFFER) {
            *sidSize = sidLength;
            *domainSize = domainLength;
        }
        return error;
    }
    *sidSize = sidLength;
    *domainSize = domainLength;
    *use = static_cast<std::uint32_t>(kind);
    return winerr::kSuccess;
}
