#include "autocomplete/key_access.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "state/command_state.h"

namespace {

// One allowed entry: mask for sid, with the inheritance flags given.
ByteBlock AllowedEntry(const ByteBlock& sid, std::uint32_t mask, std::uint8_t flags) {
    ByteBlock ace(acelayout::kHeaderSize + sid.size(), 0);
    std::uint32_t size = static_cast<std::uint32_t>(ace.size());
    ace[0] = acelayout::kAccessAllowed;
    ace[1] = flags;
    ace[2] = static_cast<std::uint8_t>(size);
    ace[3] = static_cast<std::uint8_t>(size >> 8);
    for (int i = 0; i < 4; ++i) {
        ace[4 + i] = static_cast<std::uint8_t>(mask >> (8 * i));
    }
    std::memcpy(ace.data() + acelayout::kHeaderSize, sid.data(), sid.size());
    return ace;
}

std::string FormatAuthority(const SidAuthority& authority) {
    const std::uint8_t* a = authority.bytes;
    char text[20];
    if (a[0] != 0 || a[1] != 0) {
        std::snprintf(text, sizeof text, "0x%02x%02x%02x%02x%02x%02x", a[0], a[1], a[2], a[3], a[4],
                      a[5]);
    } else {
        unsigned long value = (static_cast<unsigned long>(a[2]) << 24) |
                              (static_cast<unsigned long>(a[3]) << 16) |
                              (static_cast<unsigned long>(a[4]) << 8) | a[5];
        std::snprintf(text, sizeof text, "%lu", value);
    }
    return text;
}

}  // namespace

bool DetectWindowsVersion(System& system, int* code) {
    *code = osver::kUnknown;
    OsVersionInfo info;
    if (!system.QueryVersion(&info)) {
        return false;
    }
    *code = OsVersionCode(info);
    return true;
}

bool GetCurrentUserSid(Platform& platform, ByteBlock* sid) {
    char userName[keyaccess::kUserNameSize];
    std::uint32_t nameSize = sizeof userName;
    if (platform.accounts.QueryUserName(userName, &nameSize) != winerr::kSuccess) {
        return false;
    }
    ByteBlock sidBlock(keyaccess::kSidBlockSize);
    std::string domain(keyaccess::kDomainBlockSize, '\0');
    for (;;) {
        std::uint32_t sidSize = static_cast<std::uint32_t>(sidBlock.size());
        std::uint32_t domainSize = static_cast<std::uint32_t>(domain.size());
        std::uint32_t use = 0;
        WinError error = platform.accounts.LookupAccount(userName, sidBlock.data(), &sidSize,
                                                         domain.data(), &domainSize, &use);
        if (error == winerr::kSuccess) {
            *sid = std::move(sidBlock);
            return true;
        }
        // A lookup that asks for no more room than it had would ask forever.
        if (error != winerr::kInsufficientBuffer ||
            (sidSize <= sidBlock.size() && domainSize <= domain.size())) {
            return false;
        }
        sidBlock.resize(sidSize);
        domain.resize(domainSize);
    }
}

bool FormatSidString(const ByteBlock& sid, char* text, std::uint32_t* length) {
    SidFields fields;
    if (!ReadSid(sid.data(), sid.size(), &fields)) {
        return false;
    }
    std::uint32_t needed = 28 + 12 * static_cast<std::uint32_t>(fields.subAuthorities.size());
    if (*length < needed) {
        *length = needed;
        return false;
    }
    // The revision written is the one revision there is, as Windows writes it.
    std::string out = "S-" + std::to_string(sidlayout::kRevision) + "-";
    out += FormatAuthority(fields.authority);
    for (std::uint32_t sub : fields.subAuthorities) {
        out += "-" + std::to_string(sub);
    }
    std::memcpy(text, out.c_str(), out.size() + 1);  // at most 19 + 11 per sub-authority
    return true;
}

bool ReadKeyDacl(Registry& registry, HKey root, const std::string& path, ByteBlock* saved) {
    saved->clear();
    RegKey key(registry);
    if (key.Open(root, path, regaccess::kReadControl) != winerr::kSuccess) {
        return false;
    }
    std::uint32_t size = 0;
    WinError error = registry.GetKeySecurity(key.Get(), secinfo::kDacl, nullptr, &size);
    if (error == winerr::kSuccess) {
        return true;
    }
    if (error != winerr::kInsufficientBuffer) {
        return false;
    }
    ByteBlock block(size);
    if (registry.GetKeySecurity(key.Get(), secinfo::kDacl, block.data(), &size) !=
        winerr::kSuccess) {
        return false;
    }
    block.resize(size < block.size() ? size : block.size());
    *saved = std::move(block);
    return true;
}

bool BuildGrantDescriptor(Security& security, const ByteBlock& userSid, ByteBlock* descriptor) {
    ByteBlock system;
    return security.MakeSid(kNtAuthority, {keyaccess::kLocalSystemRid}, &system) ==
               winerr::kSuccess &&
           BuildAllowedDescriptor(security, {userSid, system}, regaccess::kAllAccess,
                                  keyaccess::kGrantFlags, descriptor);
}

bool BuildAllowedDescriptor(Security& security, const std::vector<ByteBlock>& sids,
                            std::uint32_t mask, std::uint8_t flags, ByteBlock* descriptor) {
    std::vector<ByteBlock> exact;  // each SID without what may follow it in its block
    size_t entries = 0;
    for (const ByteBlock& block : sids) {
        SidFields sid;
        if (!ReadSid(block.data(), block.size(), &sid)) {
            return false;
        }
        exact.emplace_back(block.begin(), block.begin() + SidLength(sid));
        entries += acelayout::kHeaderSize + exact.back().size();
    }
    ByteBlock acl(acllayout::kHeaderSize + entries);
    if (security.StartAccessList(acl.data(), static_cast<std::uint32_t>(acl.size()),
                                 acllayout::kRevision) != winerr::kSuccess) {
        return false;
    }
    for (const ByteBlock& sid : exact) {
        ByteBlock ace = AllowedEntry(sid, mask, flags);
        if (security.AppendAccessEntry(acl.data(), acllayout::kRevision, acllayout::kAppendAtEnd,
                                       ace.data(), static_cast<std::uint32_t>(ace.size())) !=
            winerr::kSuccess) {
            return false;
        }
    }
    std::uint32_t size = static_cast<std::uint32_t>(sdlayout::kHeaderSize + acl.size());
    ByteBlock bytes(size);
    if (security.MakeDescriptor(acl.data(), bytes.data(), &size) != winerr::kSuccess) {
        return false;
    }
    bytes.resize(size);
    *descriptor = std::move(bytes);
    return true;
}

namespace {

bool ApplyToKey(KeyDaclWalk& walk, HKey parent, const char* subKey, const ByteBlock& descriptor,
                bool recursive) {
    ByteBlock original;
    if (walk.changed != nullptr &&
        (!ReadKeyDacl(walk.registry, parent, subKey, &original) || original.empty())) {
        return false;
    }
    RegKey key(walk.registry);
    if (key.Open(parent, subKey, regaccess::kWriteDac) != winerr::kSuccess ||
        walk.registry.SetKeySecurity(key.Get(), secinfo::kDacl, descriptor.data(),
                                     static_cast<std::uint32_t>(descriptor.size())) !=
            winerr::kSuccess) {
        return false;
    }
    if (walk.changed != nullptr) {
        walk.changed->push_back(SavedKeyDacl{walk.links, std::move(original)});
    }
    if (!recursive) {
        return true;
    }
    if (key.Open(parent, subKey, regaccess::kRead) != winerr::kSuccess) {
        return false;
    }
    return ForEachSubKey(walk.registry, key.Get(), [&](const char* name) {
        ApplyKeyDacl(walk, key.Get(), name, descriptor, /*recursive=*/true);
        if (walk.report) {
            walk.report(name);
        }
    });
}

}  // namespace

bool ApplyKeyDacl(KeyDaclWalk& walk, HKey parent, const char* subKey, const ByteBlock& descriptor,
                  bool recursive) {
    if (subKey == nullptr) {
        return false;
    }
    walk.links.push_back(subKey);
    bool applied = ApplyToKey(walk, parent, subKey, descriptor, recursive);
    walk.links.pop_back();
    return applied;
}

// Each saved key is reached link by link, every link opened for no right at all: only
// the last key is written to.
void RestoreKeyDacls(Registry& registry, HKey root, const std::vector<SavedKeyDacl>& changed) {
    for (auto saved = changed.rbegin(); saved != changed.rend(); ++saved) {
        std::vector<RegKey> chain;
        HKey parent = root;
        for (size_t i = 0; i + 1 < saved->links.size() && parent.value != 0; ++i) {
            chain.emplace_back(registry);
            bool opened = chain.back().Open(parent, saved->links[i], 0) == winerr::kSuccess;
            parent = opened ? chain.back().Get() : HKey{};
        }
        if (parent.value != 0 && !saved->links.empty()) {
            KeyDaclWalk restore{registry, nullptr, nullptr, {}};
            ApplyKeyDacl(restore, parent, saved->links.back().c_str(), saved->descriptor,
                         /*recursive=*/false);
        }
    }
}

bool ForEachSubKey(Registry& registry, HKey key, const std::function<void(const char*)>& visit) {
    KeyInfo info;
    if (registry.QueryKeyInfo(key, &info) != winerr::kSuccess) {
        return false;
    }
    for (std::uint32_t index = 0; index < info.subKeys; ++index) {
        char name[keyaccess::kSubKeyNameSize];
        std::uint32_t size = sizeof name;
        WinError error = registry.EnumKey(key, index, name, &size);
        if (error == winerr::kNoMoreItems) {
            break;
        }
        if (error == winerr::kSuccess) {
            visit(name);
        }
    }
    return true;
}
