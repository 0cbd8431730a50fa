// The user accounts of the local system as the core sees them: the name of the user
// the process runs as and the SID of an account name. Buffers are the caller's, so that
// the sizes the program gives them stay visible where it calls.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_error.h"

// The SID_NAME_USE value of a user's account.
namespace sidtype {
constexpr std::uint32_t kUser = 1;
}  // namespace sidtype

class Accounts {
public:
    virtual ~Accounts() = default;

    // GetUserNameA. *size is the buffer size in and, on success, the name's length with
    // its NUL. A name that does not fit gives kInsufficientBuffer with *size the size
    // needed and the buffer untouched.
    [[nodiscard]] virtual WinError QueryUserName(char* name, std::uint32_t* size) = 0;

    // LookupAccountNameA on the local system. *sidSize and *domainSize are the sizes of
    // the two buffers in; on success they are the SID's length and the domain name's
    // length without its NUL. When either buffer is too small the result is
    // kInsufficientBuffer and both sizes are the sizes needed (the domain's with its
    // NUL). An unknown name gives kNoneMapped.
    [[nodiscard]] virtual WinError LookupAccount(const std::string& name, void* sid,
                                                 std::uint32_t* sidSize, char* domain,
                                                 std::uint32_t* domainSize, std::uint32_t* use) = 0;
};
