// Access control as key security uses it: SIDs, access lists (ACLs) and self-relative
// security descriptors, all kept as byte blocks in the Windows binary layout, so that
// the in-memory platform and the Win32 calls agree byte for byte. Reading and writing
// the layout is plain code here; building an access list the way the program does goes
// through the Security interface, which the Win32 layer maps to ADVAPI32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win_error.h"

using ByteBlock = std::vector<std::uint8_t>;

// Which parts of a descriptor a key security call reads or writes.
namespace secinfo {
constexpr std::uint32_t kOwner = 1;
constexpr std::uint32_t kDacl = 4;
}  // namespace secinfo

namespace sidlayout {
constexpr std::uint8_t kRevision = 1;
constexpr std::uint8_t kMaxSubAuthorities = 15;
constexpr std::uint32_t kHeaderSize = 8;  // revision, count, six authority bytes
}  // namespace sidlayout

namespace acllayout {
constexpr std::uint8_t kRevision = 2;
constexpr std::uint8_t kRevisionDs = 4;
constexpr std::uint32_t kHeaderSize = 8;  // revision, 0, size, entry count, 0
constexpr std::uint32_t kAppendAtEnd = 0xFFFFFFFFu;
}  // namespace acllayout

namespace acelayout {
constexpr std::uint8_t kAccessAllowed = 0;
constexpr std::uint8_t kAccessDenied = 1;
constexpr std::uint8_t kObjectInherit = 0x01;
constexpr std::uint8_t kContainerInherit = 0x02;
constexpr std::uint8_t kInheritOnly = 0x08;
constexpr std::uint32_t kHeaderSize = 8;  // type, flags, size, access mask
}  // namespace acelayout

namespace sdlayout {
constexpr std::uint8_t kRevision = 1;
constexpr std::uint16_t kDaclPresent = 0x0004;
constexpr std::uint16_t kDaclAutoInherited = 0x0400;
constexpr std::uint16_t kDaclProtected = 0x1000;
constexpr std::uint16_t kSelfRelative = 0x8000;
constexpr std::uint32_t kHeaderSize = 20;  // revision, 0, control, four offsets
}  // namespace sdlayout

struct SidAuthority {
    std::uint8_t bytes[6];
};
constexpr SidAuthority kWorldAuthority{{0, 0, 0, 0, 0, 1}};
constexpr SidAuthority kNtAuthority{{0, 0, 0, 0, 0, 5}};

struct SidFields {
    std::uint8_t revision = sidlayout::kRevision;
    SidAuthority authority{};
    std::vector<std::uint32_t> subAuthorities;
};

// Reads the SID at the start of a block of blockSize bytes with IsValidSid's rules
// (revision 1, at most 15 sub-authorities), and only when the whole SID lies inside the
// block. False leaves *out untouched.
bool ReadSid(const std::uint8_t* block, std::size_t blockSize, SidFields* out);
ByteBlock WriteSid(const SidFields& sid);
inline std::uint32_t SidLength(const SidFields& sid) {
    return sidlayout::kHeaderSize + 4 * static_cast<std::uint32_t>(sid.subAuthorities.size());
}

struct AceFields {
    std::uint8_t type = acelayout::kAccessAllowed;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    ByteBlock sid;
};

struct AclFields {
    std::uint8_t revision = acllayout::kRevision;
    std::uint16_t size = 0;  // AclSize: the bytes the list occupies, free space included
    std::vector<AceFields> aces;
};

// Reads an access list: the declared size lies inside the block and every entry inside
// the declared size. False leaves *out untouched.
bool ReadAcl(const std::uint8_t* block, std::size_t blockSize, AclFields* out);
// An access list of exactly the size its entries need.
ByteBlock WriteAcl(const std::vector<AceFields>& aces);

// A self-relative descriptor as the key security calls exchange it.
struct DescriptorFields {
    std::uint8_t revision = sdlayout::kRevision;
    std::uint16_t control = sdlayout::kSelfRelative;
    ByteBlock owner;  // empty when absent
    ByteBlock dacl;   // the AclSize bytes of the DACL; empty when absent or null
};

// Reads a self-relative descriptor of size bytes: every part its offsets name lies
// inside it. Revisions are not judged. False leaves *out untouched.
bool ReadDescriptor(const std::uint8_t* block, std::size_t size, DescriptorFields* out);
// A self-relative descriptor with the DACL (and owner) of fields, in that order.
ByteBlock WriteDescriptor(const DescriptorFields& fields);

// The SID, access-list and descriptor building calls of ADVAPI32, each with the Win32
// error code as its result and its output untouched on failure.
class Security {
public:
    virtual ~Security() = default;

    // AllocateAndInitializeSid: the SID of an authority and 1 to 8 sub-authorities.
    [[nodiscard]] virtual WinError MakeSid(const SidAuthority& authority,
                                           const std::vector<std::uint32_t>& subAuthorities,
                                           ByteBlock* out) = 0;
    // InitializeAcl: an empty list of the given revision occupying the first `size`
    // bytes of acl.
    [[nodiscard]] virtual WinError StartAccessList(void* acl, std::uint32_t size,
                                                   std::uint32_t revision) = 0;
    // AddAce: inserts the whole entries of `entries` (entriesSize bytes) before the
    // entry startIndex, or at the end for acllayout::kAppendAtEnd. An entry that does
    // not fit in the list's declared size is refused.
    [[nodiscard]] virtual WinError AppendAccessEntry(void* acl, std::uint32_t revision,
                                                     std::uint32_t startIndex, const void* entries,
                                                     std::uint32_t entriesSize) = 0;
    // InitializeSecurityDescriptor, SetSecurityDescriptorDacl (present, not defaulted)
    // with acl, then MakeSelfRelativeSD into the caller's buffer: *size is its size in
    // and the descriptor's size out; a buffer too small gives kInsufficientBuffer with
    // the size needed.
    [[nodiscard]] virtual WinError MakeDescriptor(const void* acl, void* descriptor,
                                                  std::uint32_t* size) = 0;
};
