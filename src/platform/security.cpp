#include "platform/security.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Set16(ByteBlock& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Set32(ByteBlock& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// The part [offset, offset + length) lies inside a block of size bytes.
bool Inside(std::size_t size, std::uint32_t offset, std::size_t length) {
    return offset <= size && length <= size - offset;
}

bool ReadSidAt(const std::uint8_t* block, std::size_t size, std::uint32_t offset, ByteBlock* out) {
    SidFields sid;
    if (!Inside(size, offset, 0) || !ReadSid(block + offset, size - offset, &sid)) {
        return false;
    }
    out->assign(block + offset, block + offset + SidLength(sid));
    return true;
}

}  // namespace

bool ReadSid(const std::uint8_t* block, std::size_t blockSize, SidFields* out) {
    if (blockSize < sidlayout::kHeaderSize || block[0] != sidlayout::kRevision ||
        block[1] > sidlayout::kMaxSubAuthorities) {
        return false;
    }
    SidFields sid;
    sid.revision = block[0];
    std::memcpy(sid.authority.bytes, block + 2, 6);
    if (blockSize < sidlayout::kHeaderSize + 4u * block[1]) {
        return false;
    }
    for (int i = 0; i < block[1]; ++i) {
        sid.subAuthorities.push_back(Get32(block + sidlayout::kHeaderSize + 4 * i));
    }
    *out = std::move(sid);
    return true;
}

ByteBlock WriteSid(const SidFields& sid) {
    ByteBlock out(SidLength(sid));
    out[0] = sid.revision;
    out[1] = static_cast<std::uint8_t>(sid.subAuthorities.size());
    std::memcpy(out.data() + 2, sid.authority.bytes, 6);
    for (std::size_t i = 0; i < sid.subAuthorities.size(); ++i) {
        Set32(out, sidlayout::kHeaderSize + 4 * i, sid.subAuthorities[i]);
    }
    return out;
}

bool ReadAcl(const std::uint8_t* block, std::size_t blockSize, AclFields* out) {
    if (blockSize < acllayout::kHeaderSize) {
        return false;
    }
    AclFields acl;
    acl.revision = block[0];
    acl.size = Get16(block + 2);
    std::uint16_t count = Get16(block + 4);
    if (acl.size < acllayout::kHeaderSize || acl.size > blockSize) {
        return false;
    }
    std::uint32_t at = acllayout::kHeaderSize;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!Inside(acl.size, at, acelayout::kHeaderSize)) {
            return false;
        }
        std::uint16_t aceSize = Get16(block + at + 2);
        if (aceSize < acelayout::kHeaderSize || !Inside(acl.size, at, aceSize)) {
            return false;
        }
        AceFields ace;
        ace.type = block[at];
        ace.flags = block[at + 1];
        ace.mask = Get32(block + at + 4);
        ace.sid.assign(block + at + acelayout::kHeaderSize, block + at + aceSize);
        acl.aces.push_back(std::move(ace));
        at += aceSize;
    }
    *out = std::move(acl);
    return true;
}

ByteBlock WriteAcl(const std::vector<AceFields>& aces) {
    std::size_t size = acllayout::kHeaderSize;
    for (const AceFields& ace : aces) {
        size += acelayout::kHeaderSize + ace.sid.size();
    }
    ByteBlock out(size, 0);
    out[0] = acllayout::kRevision;
    Set16(out, 2, static_cast<std::uint16_t>(size));
    Set16(out, 4, static_cast<std::uint16_t>(aces.size()));
    std::size_t at = acllayout::kHeaderSize;
    for (const AceFields& ace : aces) {
        out[at] = ace.type;
        out[at + 1] = ace.flags;
        Set16(out, at + 2, static_cast<std::uint16_t>(acelayout::kHeaderSize + ace.sid.size()));
        Set32(out, at + 4, ace.mask);
        std::copy(ace.sid.begin(), ace.sid.end(), out.begin() + at + acelayout::kHeaderSize);
        at += acelayout::kHeaderSize + ace.sid.size();
    }
    return out;
}

bool ReadDescriptor(const std::uint8_t* block, std::size_t size, DescriptorFields* out) {
    if (size < sdlayout::kHeaderSize) {
        return false;
    }
    DescriptorFields fields;
    fields.revision = block[0];
    fields.control = Get16(block + 2);
    std::uint32_t ownerOffset = Get32(block + 4);
    std::uint32_t daclOffset = Get32(block + 16);
    if (ownerOffset != 0 && !ReadSidAt(block, size, ownerOffset, &fields.owner)) {
        return false;
    }
    if ((fields.control & sdlayout::kDaclPresent) != 0 && daclOffset != 0) {
        AclFields acl;
        if (!Inside(size, daclOffset, 0) || !ReadAcl(block + daclOffset, size - daclOffset, &acl)) {
            return false;
        }
        fields.dacl.assign(block + daclOffset, block + daclOffset + acl.size);
    }
    *out = std::move(fields);
    return true;
}

ByteBlock WriteDescriptor(const DescriptorFields& fields) {
    ByteBlock out(sdlayout::kHeaderSize + fields.dacl.size() + fields.owner.size(), 0);
    out[0] = fields.revision;
    Set16(out, 2, fields.control);
    std::size_t at = sdlayout::kHeaderSize;
    if (!fields.dacl.empty()) {
        Set32(out, 16, static_cast<std::uint32_t>(at));
        std::copy(fields.dacl.begin(), fields.dacl.end(), out.begin() + at);
        at += fields.dacl.size();
    }
    if (!fields.owner.empty()) {
        Set32(out, 4, static_cast<std::uint32_t>(at));
        std::copy(fields.owner.begin(), fields.owner.end(), out.begin() + at);
    }
    return out;
}
