#include "platform/memory/memory_security.h"

#include <cstring>

namespace {

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
void Set16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Byte offset of entry `index` in a list already known to be well formed, or of its
// end when index is past the last entry.
std::uint32_t EntryOffset(const std::uint8_t* acl, std::uint32_t index) {
    std::uint32_t at = acllayout::kHeaderSize;
    std::uint16_t count = Get16(acl + 4);
    for (std::uint32_t i = 0; i < index && i < count; ++i) {
        at += Get16(acl + at + 2);
    }
    return at;
}

}  // namespace

WinError MemorySecurity::MakeSid(const SidAuthority& authority,
                                 const std::vector<std::uint32_t>& subAuthorities, ByteBlock* out) {
    if (WinError fault = faults.Check("Security.MakeSid", "")) {
        return fault;
    }
    *out = WriteSid({sidlayout::kRevision, authority, subAuthorities});
    return winerr::kSuccess;
}

WinError MemorySecurity::StartAccessList(void* acl, std::uint32_t size, std::uint32_t revision) {
    if (WinError fault = faults.Check("Security.StartAccessList", "")) {
        return fault;
    }
    if (size < acllayout::kHeaderSize) {
        return winerr::kInsufficientBuffer;
    }
    auto* bytes = static_cast<std::uint8_t*>(acl);
    std::memset(bytes, 0, acllayout::kHeaderSize);
    bytes[0] = static_cast<std::uint8_t>(revision);
    Set16(bytes + 2, size);
    return winerr::kSuccess;
}

WinError MemorySecurity::AppendAccessEntry(void* acl, std::uint32_t, std::uint32_t startIndex,
                                           const void* entries, std::uint32_t entriesSize) {
    if (WinError fault = faults.Check("Security.AppendAccessEntry", "")) {
        return fault;
    }
    auto* bytes = static_cast<std::uint8_t*>(acl);
    AclFields list;
    if (!ReadAcl(bytes, Get16(bytes + 2), &list)) {
        return winerr::kInvalidParameter;
    }
    // Count the whole entries in the block handed in.
    const auto* added = static_cast<const std::uint8_t*>(entries);
    std::uint32_t addedCount = 0;
    for (std::uint32_t at = 0; at + acelayout::kHeaderSize <= entriesSize;) {
        std::uint16_t aceSize = Get16(added + at + 2);
        if (aceSize < acelayout::kHeaderSize || aceSize > entriesSize - at) {
            return winerr::kInvalidParameter;
        }
        at += aceSize;
        ++addedCount;
    }
    std::uint32_t used = EntryOffset(bytes, list.aces.size());
    if (entriesSize > list.size - used) {
        return winerr::kInvalidParameter;  // what ADVAPI32 answers for a full list
    }
    std::uint32_t insertAt = EntryOffset(bytes, startIndex);
    std::memmove(bytes + insertAt + entriesSize, bytes + insertAt, used - insertAt);
    std::memcpy(bytes + insertAt, added, entriesSize);
    Set16(bytes + 4, list.aces.size() + addedCount);
    return winerr::kSuccess;
}

WinError MemorySecurity::MakeDescriptor(const void* acl, void* descriptor, std::uint32_t* size) {
    if (WinError fault = faults.Check("Security.MakeDescriptor", "")) {
        return fault;
    }
    const auto* list = static_cast<const std::uint8_t*>(acl);
    DescriptorFields fields;
    fields.control = sdlayout::kSelfRelative | sdlayout::kDaclPresent;
    fields.dacl.assign(list, list + Get16(list + 2));
    ByteBlock bytes = WriteDescriptor(fields);
    std::uint32_t available = *size;
    *size = static_cast<std::uint32_t>(bytes.size());
    if (available < bytes.size()) {
        return winerr::kInsufficientBuffer;
    }
    std::memcpy(descriptor, bytes.data(), bytes.size());
    return winerr::kSuccess;
}
