// Reaching the Protected Storage area of the registry: the Windows version that chooses
// the road, the current user's SID and its text form, and the access lists of the area's
// keys, read, granted over a whole subtree and put back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace keyaccess {
constexpr std::uint32_t kUserNameSize = 260;
constexpr std::uint32_t kSidTextSize = 256;
constexpr std::uint32_t kSubKeyNameSize = 261;
// First sizes of the account lookup's blocks; grown when the lookup asks for more.
constexpr std::uint32_t kSidBlockSize = 128;
constexpr std::uint32_t kDomainBlockSize = 16;
constexpr std::uint32_t kLocalSystemRid = 18;
constexpr std::uint8_t kGrantFlags = acelayout::kObjectInherit | acelayout::kContainerInherit;
}  // namespace keyaccess

// The Windows version code, computed afresh by the table of OsVersionCode. Sets *code to
// 0 first; false only when the version query fails.
bool DetectWindowsVersion(System& system, int* code);

// The SID of the account that GetUserNameA names, looked up on the local system. The
// block may be longer than the SID it starts with. False leaves *sid untouched.
bool GetCurrentUserSid(Platform& platform, ByteBlock* sid);

// Writes the SID's text ("S-1-5-18") into text; *length is the buffer size. False for
// an invalid SID, and for a buffer smaller than 28 + 12 bytes per sub-authority, when
// *length becomes that size and text is untouched.
bool FormatSidString(const ByteBlock& sid, char* text, std::uint32_t* length);

// The access list of the key at path below root, as a self-relative descriptor holding
// only the DACL. *saved is emptied first and stays empty when the registry answers
// without one.
bool ReadKeyDacl(Registry& registry, HKey root, const std::string& path, ByteBlock* saved);

// A self-relative descriptor whose DACL gives the user and LocalSystem full access to a
// key and, by inheritance, to everything later created below it.
bool BuildGrantDescriptor(Security& security, const ByteBlock& userSid, ByteBlock* descriptor);

// A self-relative descriptor whose DACL allows mask to each of sids (SID blocks that
// may be longer than their SID), in that order, with the inheritance flags given.
bool BuildAllowedDescriptor(Security& security, const std::vector<ByteBlock>& sids,
                            std::uint32_t mask, std::uint8_t flags, ByteBlock* descriptor);

// A key whose access list was changed, with the list it had. The key is reached from
// the root link by link, each link opened below the one before, as the walk reached it:
// a path from the root may be longer than the ANSI registry calls accept.
struct SavedKeyDacl {
    std::vector<std::string> links;
    ByteBlock descriptor;
};

// What a walk of ApplyKeyDacl carries along.
struct KeyDaclWalk {
    Registry& registry;
    // Called with every subkey name met below the starting key of a recursive walk,
    // after that subkey's own subtree.
    std::function<void(const char* name)> report;
    // When set, every key changed is recorded here with its old access list, and a key
    // whose list cannot be read is left alone: it could not be put back.
    std::vector<SavedKeyDacl>* changed = nullptr;
    // The links from the root to the key being changed.
    std::vector<std::string> links;
};

// Writes descriptor as the access list of the key subKey below parent and, when
// recursive, of every key below it, depth first. False when the key itself could not be
// changed or walked; a subkey that fails ends only its own branch.
bool ApplyKeyDacl(KeyDaclWalk& walk, HKey parent, const char* subKey, const ByteBlock& descriptor,
                  bool recursive);

// Gives every recorded key its old access list back, the last changed first, reaching
// it link by link from root. Keys that no longer exist are passed over.
void RestoreKeyDacls(Registry& registry, HKey root, const std::vector<SavedKeyDacl>& changed);

// Calls visit with the name of every direct subkey of key, by index up to the count
// that RegQueryInfoKeyA gives, in a 261-byte buffer. A name that does not fit, like any
// other failed index, is skipped whole; the end of the list ends the walk. False when
// the count cannot be read.
bool ForEachSubKey(Registry& registry, HKey key, const std::function<void(const char*)>& visit);
