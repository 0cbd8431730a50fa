#include "platform/memory/memory_registry.h"

#include <cstring>

#include "platform/gbk.h"

namespace {

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
        return winerr::kSuccess;
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

MemoryRegistry::MemoryRegistry() {
    for (HKey root :
         {regroot::kClassesRoot, regroot::kCurrentUser, regroot::kLocalMachine, regroot::kUsers}) {
        roots_[root.value] = std::make_shared<Key>();
    }
}

WinError MemoryRegistry::Resolve(HKey key, std::uint32_t needed, std::shared_ptr<Key>* out) const {
    auto root = roots_.find(key.value);
    if (root != roots_.end()) {
        *out = root->second;
        return winerr::kSuccess;
    }
    auto handle = handles_.find(key.value);
    if (handle == handles_.end()) {
        return winerr::kInvalidHandle;
    }
    if (handle->second.key->deleted) {
        return winerr::kKeyDeleted;
    }
    if ((handle->second.access & needed) != needed) {
        return winerr::kAccessDenied;
    }
    *out = handle->second.key;
    return winerr::kSuccess;
}

HKey MemoryRegistry::NewHandle(std::shared_ptr<Key> key, std::uint32_t access) {
    std::uintptr_t id = nextHandle_;
    nextHandle_ += 4;
    handles_[id] = Handle{std::move(key), access};
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

void MemoryRegistry::MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& child : key.subkeys) {
        MarkDeleted(*child.second);
    }
}

WinError MemoryRegistry::OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                 HKey* out) {
    if (WinError fault = faults.Check("Registry.OpenKey", subKey)) {
        return fault;
    }
    std::shared_ptr<Key> key;
    if (WinError error = Resolve(parent, 0, &key)) {
        return error;
    }
    for (const std::string& part : SplitGbkPath(subKey)) {
        auto next = key->subkeys.find(part);
        if (next == key->subkeys.end()) {
            return winerr::kFileNotFound;
        }
        key = next->second;
    }
    *out = NewHandle(key, access);
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
            next = std::make_shared<Key>();
            next->name = part;
        }
        key = next;
    }
    *out = NewHandle(key, access);
    return winerr::kSuccess;
}

WinError MemoryRegistry::CloseKey(HKey key) {
    if (roots_.count(key.value) != 0) {
        return winerr::kSuccess;
    }
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
    return Unlink(parent, subKey, true);
}

WinError MemoryRegistry::DeleteKey(HKey parent, const std::string& subKey) {
    if (WinError fault = faults.Check("Registry.DeleteKey", subKey)) {
        return fault;
    }
    return Unlink(parent, subKey, false);
}

// Removes the key at subKey below parent; without wholeTree only a key without subkeys.
WinError MemoryRegistry::Unlink(HKey parent, const std::string& subKey, bool wholeTree) {
    std::shared_ptr<Key> key;
    if (WinError error = Resolve(parent, 0, &key)) {
        return error;
    }
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
    auto victim = key->subkeys.find(parts.back());
    if (victim == key->subkeys.end()) {
        return winerr::kFileNotFound;
    }
    if (!wholeTree && !victim->second->subkeys.empty()) {
        return winerr::kAccessDenied;
    }
    MarkDeleted(*victim->second);
    key->subkeys.erase(victim);
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
