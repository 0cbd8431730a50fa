#include "platform/win32/win32_security.h"

#include <windows.h>

#include <cstring>

static_assert(sidlayout::kMaxSubAuthorities == SID_MAX_SUB_AUTHORITIES);
static_assert(acllayout::kRevision == ACL_REVISION);
static_assert(acllayout::kHeaderSize == sizeof(ACL));
static_assert(acllayout::kAppendAtEnd == MAXDWORD);
static_assert(acelayout::kAccessAllowed == ACCESS_ALLOWED_ACE_TYPE);
static_assert(acelayout::kContainerInherit == CONTAINER_INHERIT_ACE);
static_assert(acelayout::kObjectInherit == OBJECT_INHERIT_ACE);
static_assert(acelayout::kInheritOnly == INHERIT_ONLY_ACE);
static_assert(sdlayout::kRevision == SECURITY_DESCRIPTOR_REVISION);

namespace {

WinError LastErrorOr(BOOL ok) {
    return ok ? winerr::kSuccess : static_cast<WinError>(GetLastError());
}

}  // namespace

WinError Win32Security::MakeSid(const SidAuthority& authority,
                                const std::vector<std::uint32_t>& subAuthorities, ByteBlock* out) {
    if (subAuthorities.empty() || subAuthorities.size() > 8) {
        return winerr::kInvalidParameter;
    }
    SID_IDENTIFIER_AUTHORITY id;
    std::memcpy(id.Value, authority.bytes, 6);
    DWORD sub[8] = {};
    for (size_t i = 0; i < subAuthorities.size(); ++i) {
        sub[i] = subAuthorities[i];
    }
    PSID sid = nullptr;
    if (!AllocateAndInitializeSid(&id, static_cast<BYTE>(subAuthorities.size()), sub[0], sub[1],
                                  sub[2], sub[3], sub[4], sub[5], sub[6], sub[7], &sid)) {
        return GetLastError();
    }
    const auto* bytes = static_cast<const std::uint8_t*>(sid);
    out->assign(bytes, bytes + GetLengthSid(sid));
    FreeSid(sid);
    return winerr::kSuccess;
}

WinError Win32Security::StartAccessList(void* acl, std::uint32_t size, std::uint32_t revision) {
    return LastErrorOr(InitializeAcl(static_cast<PACL>(acl), size, revision));
}

WinError Win32Security::AppendAccessEntry(void* acl, std::uint32_t revision,
                                          std::uint32_t startIndex, const void* entries,
                                          std::uint32_t entriesSize) {
    return LastErrorOr(AddAce(static_cast<PACL>(acl), revision, startIndex,
                              const_cast<void*>(entries), entriesSize));
}

WinError Win32Security::MakeDescriptor(const void* acl, void* descriptor, std::uint32_t* size) {
    SECURITY_DESCRIPTOR absolute;
    if (!InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&absolute, TRUE, static_cast<PACL>(const_cast<void*>(acl)),
                                   FALSE)) {
        return GetLastError();
    }
    DWORD length = *size;
    if (!MakeSelfRelativeSD(&absolute, descriptor, &length)) {
        WinError error = GetLastError();
        if (error == ERROR_INSUFFICIENT_BUFFER) {
            *size = length;
        }
        return error;
    }
    *size = length;
    return winerr::kSuccess;
}
