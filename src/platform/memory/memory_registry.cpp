#include "platform/memory/memory_registry.h"

#include <cstring>

#include "platform/gbk.h"
#include "platform/memory/memory_accounts.h"

namespace {

constexpr std::uint32_t kGenericRead = 0x80000000u;

ByteBlock NtSid(std::vector<std::uint32_t> subAuthorities) {
    return WriteSid({sidlayout::kRevision, kNtAuthority, std::move(subAuthorities)});
}
const ByteBlock kEveryone = WriteSid({sidlayout::kRevision, kWorldAuthority, {0}});
const ByteBlock kAdministrators = NtSid({32, 544});
const ByteBlock kUsers = NtSid({32, 545});

// The access list Wine gives every new key: Users may read what is created below it,
// Administrators may do everything.
const ByteBlock kDefaultDacl = WriteAcl({
    {acelayout::kAccessAllowed, acelayout::kContainerInherit | acelayout::kInheritOnly,
     kGenericRead, kUsers},
    {acelayout::kAccessAllowed, 0, regaccess::kAllAccess, kAdministrators},
});

// The SID at the start of an entry's SID part, without what may follow it.
ByteBlock EntrySid(const ByteBlock& bytes) {
    SidFields sid;
    bool read = ReadSid(bytes.data(), bytes.size(), &sid);
    return read ? ByteBlock(bytes.begin(), bytes.begin() + SidLength(sid)) : ByteBlock();
}

WinError CopyName(const std::string& name, char* buffer, std::uint32_t* size) {
    if (name.size() + 1 > *size) {
        return winerr::kMoreData;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<std::uint32_t>(name.size());
    return winerr::kSuccess;
}

// Copies data into a caller's buffer with RegQueryValueExA's size rules.
WinError CopyData(const std::string& data, void* buffer, std::uint32_t* size) {
    if (size == nullptr) {
        return buffer == nullptr ? winerr::kSuccess : winerr::kInvalidParameter;
    }
    std::uint32_t available = *size;
    *size = static_cast<std::uint32_t>(data.size());
    if (buffer == nullptr) {
        return winerr::kSuccess;  // a question for the size
    }
    if (data.size() > available) {
        return winerr::kMoreData;
    }
    std::memcpy(buffer, data.data(), data.size());
    return winerr::kSuccess;
}

bool IsStringType(std::uint32_t type) {
    return type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz;
}

}  // namespace

bool MemoryRegistry::NameLess::operator()(const std::string& a, const std::string& b) const {
    return GbkAsciiLower(a) < GbkAsciiLower(b);
}

static const char* RootName(std::uintptr_t root) {
    return root == regroot::kClassesRoot.value   ? "HKCR"
           : root == regroot::kCurrentUser.value ? "HKCU"
                                                 : "HKLM";
}

MemoryRegistry::MemoryRegistry()
    : tokenSids{MemoryAccounts::DefaultUserSid(), kEveryone, kAdministrators, kUsers} {
    for (HKey root : {regroot::kClassesRoot, regroot::kCurrentUser, regroot::kLocalMachine}) {
        roots_[root.value] = NewKey("");
    }
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::NewKey(const std::string& name) const {
    auto key = std::make_shared<Key>();
    key->name = name;
    key->owner = kAdministrators;
    key->dacl = kDefaultDacl;
    return key;
}

bool MemoryRegistry::InToken(const ByteBlock& sid) const {
    for (const ByteBlock& mine : tokenSids) {
        if (mine == sid) {
            return true;
        }
    }
    return false;
}

// The rights the token holds on a key: what the allowing entries of the access list
// grant it, and the owner's right to read and change the list.
std::uint32_t MemoryRegistry::GrantedAccess(const Key& key) const {
    if (key.dacl.empty()) {
        return 0xFFFFFFFFu;
    }
    AclFields acl;
    std::uint32_t granted = 0;
    if (ReadAcl(key.dacl.data(), key.dacl.size(), &acl)) {
        for (const AceFields& ace : acl.aces) {
            bool applies = ace.type == acelayout::kAccessAllowed &&
                           (ace.flags & acelayout::kInheritOnly) == 0 && InToken(EntrySid(ace.sid));
            granted |= applies ? ace.mask : 0;
        }
    }
    if (InToken(key.owner)) {
        granted |= regaccess::kReadControl | regaccess::kWriteDac;
    }
    return granted;
}

bool MemoryRegistry::Allows(const Key& key, std::uint32_t access) const {
    return (access & ~GrantedAccess(key)) == 0;
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::KeyOf(HKey key) const {
    auto root = roots_.find(key.value);
    return root != roots_.end() ? root->second : handles_.at(key.value).key;
}

WinError MemoryRegistry::Resolve(HKey key, std::uint32_t needed, std::shared_ptr<Key>* out) const {
    if (roots_.count(key.value) == 0 && (handles_.at(key.value).access & needed) != needed) {
        return winerr::kAccessDenied;
    }
    *out = KeyOf(key);
    return winerr::kSuccess;
}

std::string MemoryRegistry::PathOf(HKey key) const {
    if (roots_.count(key.value) != 0) {
        return RootName(key.value);
    }
    auto handle = handles_.find(key.value);
    return handle == handles_.end() ? "" : handle->second.path;
}

HKey MemoryRegistry::NewHandle(std::shared_ptr<Key> key, std::uint32_t access, std::string path) {
    std::uintptr_t id = nextHandle_;
    nextHandle_ += 4;
    handles_[id] = Handle{std::move(key), access, std::move(path)};
    return HKey{id};
}

MemoryRegistry::Value* MemoryRegistry::FindValue(Key& key, const std::string& name) {
    for (Value& value : key.values) {
        if (GbkEqualNoCase(value.name, name)) {
            return &value;
        }
    }
    return nullptr;
}

WinError MemoryRegistry::OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                 HKey* out) {
    if (WinError fault = faults.Check("Registry.OpenKey", subKey)) {
        return fault;
    }
    std::shared_ptr<Key> key = KeyOf(parent);
    for (const std::string& part : SplitGbkPath(subKey)) {
        auto next = key->subkeys.find(part);
        if (next == key->subkeys.end()) {
            return winerr::kFileNotFound;
        }
        key = next->second;
    }
    if (!Allows(*key, access)) {
        return winerr::kAccessDenied;
    }
    *out = NewHandle(key, access, PathOf(parent) + "\\" + subKey);
    return winerr::kSuccess;
}

WinError MemoryRegistry::CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                   HKey* out) {
    if (WinError fault = faults.Check("Registry.CreateKey", subKey)) {
        return fault;
    }
    std::shared_ptr<Key> key;
    if (WinError error = Resolve(parent, regaccess::kCreateSubKey, &key)) {
        return error;
    }
    for (const std::string& part : SplitGbkPath(subKey)) {
        std::shared_ptr<Key>& next = key->subkeys[part];
        if (!next) {
            next = NewKey(part);
        }
        key = next;
    }
    if (!Allows(*key, access)) {
        return winerr::kAccessDenied;
    }
    *out = NewHandle(key, access, PathOf(parent) + "\\" + subKey);
    return winerr::kSuccess;
}

WinError MemoryRegistry::CloseKey(HKey key) {
    return handles_.erase(key.value) == 1 ? winerr::kSuccess : winerr::kInvalidHandle;
}

WinError MemoryRegistry::QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                                    void* data, std::uint32_t* size) {
    if (WinError fault = faults.Check("Registry.QueryValue", name)) {
        return fault;
    }
    std::shared_ptr<Key> k;
    if (WinError error = Resolve(key, regaccess::kQueryValue, &k)) {
        return error;
    }
    const Value* value = FindValue(*k, name);
    if (value == nullptr) {
        return winerr::kFileNotFound;
    }
    if (type != nullptr) {
        *type = value->type;
    }
    return CopyData(value->data, data, size);
}

WinError MemoryRegistry::SetValue(HKey key, const std::string& name, std::uint32_t type,
                                  const void* data, std::uint32_t size) {
    if (WinError fault = faults.Check("Registry.SetValue", name)) {
        return fault;
    }
    std::shared_ptr<Key> k;
    if (WinError error = Resolve(key, regaccess::kSetValue, &k)) {
        return error;
    }
    std::string bytes(static_cast<const char*>(data), size);
    if (IsStringType(type) && size > 0 && bytes.back() != '\0' &&
        static_cast<const char*>(data)[size] == '\0') {
        bytes += '\0';  // NT counts a terminator the caller left out, reading one byte on
    }
    if (Value* value = FindValue(*k, name)) {
        value->type = type;
        value->data = bytes;
    } else {
        k->values.push_back(Value{name, type, bytes});
    }
    return winerr::kSuccess;
}

WinError MemoryRegistry::DeleteValue(HKey key, const std::string& name) {
    if (WinError fault = faults.Check("Registry.DeleteValue", name)) {
        return fault;
    }
    std::shared_ptr<Key> k;
    if (WinError error = Resolve(key, regaccess::kSetValue, &k)) {
        return error;
    }
    for (auto it = k->values.begin(); it != k->values.end(); ++it) {
        if (GbkEqualNoCase(it->name, name)) {
            k->values.erase(it);
            return winerr::kSuccess;
        }
    }
    return winerr::kFileNotFound;
}

WinError MemoryRegistry::DeleteTree(HKey parent, const std::string& subKey) {
    if (WinError fault = faults.Check("Registry.DeleteTree", subKey)) {
        return fault;
    }
    return Unlink(parent, subKey, /*wholeTree=*/true);
}

WinError MemoryRegistry::DeleteKey(HKey parent, const std::string& subKey) {
    if (WinError fault = faults.Check("Registry.DeleteKey", subKey)) {
        return fault;
    }
    return Unlink(parent, subKey, /*wholeTree=*/false);
}

// Removes the key at subKey below parent; without wholeTree only a key without subkeys.
WinError MemoryRegistry::Unlink(HKey parent, const std::string& subKey, bool wholeTree) {
    std::shared_ptr<Key> key = KeyOf(parent);
    std::vector<std::string> parts = SplitGbkPath(subKey);
    if (parts.empty()) {
        return winerr::kAccessDenied;  // a key cannot delete itself through these calls
    }
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        auto next = key->subkeys.find(parts[i]);
        if (next == key->subkeys.end()) {
            return winerr::kFileNotFound;
        }
        key = next->second;
    }
    if (!wholeTree) {
        auto victim = key->subkeys.find(parts.back());
        if (victim != key->subkeys.end() && !victim->second->subkeys.empty()) {
            return winerr::kAccessDenied;
        }
    }
    return DeleteKeyTree(*key, parts.back());
}

// As RegDeleteTree: each key is opened for reading before its subkeys go, depth first;
// the first key that cannot be read ends the deletion where it stands.
WinError MemoryRegistry::DeleteKeyTree(Key& parent, const std::string& name) {
    auto victim = parent.subkeys.find(name);
    if (victim == parent.subkeys.end()) {
        return winerr::kFileNotFound;
    }
    Key& key = *victim->second;
    if (!Allows(key, regaccess::kRead)) {
        return winerr::kAccessDenied;
    }
    while (!key.subkeys.empty()) {
        if (WinError error = DeleteKeyTree(key, key.subkeys.begin()->first)) {
            return error;
        }
    }
    parent.subkeys.erase(victim);
    return winerr::kSuccess;
}

WinError MemoryRegistry::EnumKey(HKey key, std::uint32_t index, char* name,
                                 std::uint32_t* nameSize) {
    std::shared_ptr<Key> k;
    if (WinError error = Resolve(key, regaccess::kEnumerateSubKeys, &k)) {
        return error;
    }
    if (index >= k->subkeys.size()) {
        return winerr::kNoMoreItems;
    }
    auto it = k->subkeys.begin();
    std::advance(it, index);
    if (WinError fault = faults.Check("Registry.EnumKey", it->second->name)) {
        return fault;
    }
    return CopyName(it->second->name, name, nameSize);
}

WinError MemoryRegistry::EnumValue(HKey key, std::uint32_t index, char* name,
                                   std::uint32_t* nameSize, std::uint32_t* type, void* data,
                                   std::uint32_t* dataSize) {
    std::shared_ptr<Key> k;
    if (WinError error = Resolve(key, regaccess::kQueryValue, &k)) {
        return error;
    }
    if (index >= k->values.size()) {
        return winerr::kNoMoreItems;
    }
    const Value& value = k->values[index];
    if (WinError fault = faults.Check("Registry.EnumValue", value.name)) {
        return fault;
    }
    if (WinError error = CopyName(value.name, name, nameSize)) {
        return error;
    }
    if (type != nullptr) {
        *type = value.type;
    }
    return CopyData(value.data, data, dataSize);
}

WinError MemoryRegistry::QueryKeyInfo(HKey key, KeyInfo* out) {
    if (WinError fault = faults.Check("Registry.QueryKeyInfo", PathOf(key))) {
        return fault;
    }
    std::shared_ptr<Key> k = KeyOf(key);  // Wine asks for no right here
    out->subKeys = static_cast<std::uint32_t>(k->subkeys.size());
    out->values = static_cast<std::uint32_t>(k->values.size());
    return winerr::kSuccess;
}

WinError MemoryRegistry::GetKeySecurity(HKey key, std::uint32_t, void* descriptor,
                                        std::uint32_t* size) {
    if (WinError fault = faults.Check("Registry.GetKeySecurity", PathOf(key))) {
        return fault;
    }
    std::shared_ptr<Key> k;
    if (WinError error = Resolve(key, regaccess::kReadControl, &k)) {
        return error;
    }
    DescriptorFields fields;
    fields.control = sdlayout::kSelfRelative | sdlayout::kDaclPresent | k->daclControl;
    fields.dacl = k->dacl;
    ByteBlock bytes = WriteDescriptor(fields);
    std::uint32_t available = *size;
    *size = static_cast<std::uint32_t>(bytes.size());
    if (descriptor == nullptr || available < bytes.size()) {
        return winerr::kInsufficientBuffer;
    }
    std::memcpy(descriptor, bytes.data(), bytes.size());
    return winerr::kSuccess;
}

WinError MemoryRegistry::SetKeySecurity(HKey key, std::uint32_t, const void* descriptor,
                                        std::uint32_t size) {
    DescriptorFields fields;
    if (descriptor == nullptr ||
        !ReadDescriptor(static_cast<const std::uint8_t*>(descriptor), size, &fields)) {
        return winerr::kInvalidParameter;
    }
    if (WinError fault = faults.Check("Registry.SetKeySecurity", PathOf(key))) {
        return fault;
    }
    std::shared_ptr<Key> k;
    if (WinError error = Resolve(key, regaccess::kWriteDac, &k)) {
        return error;
    }
    k->dacl = fields.dacl;
    k->daclControl = fields.control & (sdlayout::kDaclAutoInherited | sdlayout::kDaclProtected);
    return winerr::kSuccess;
}

WinError MemoryRegistry::SetKeyOwner(HKey root, const std::string& path, const ByteBlock& owner) {
    std::shared_ptr<Key> key = KeyOf(root);
    for (const std::string& part : SplitGbkPath(path)) {
        auto next = key->subkeys.find(part);
        if (next == key->subkeys.end()) {
            return winerr::kFileNotFound;
        }
        key = next->second;
    }
    key->owner = owner;
    return winerr::kSuccess;
}
