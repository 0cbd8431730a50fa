// An in-memory registry with the Win32 semantics the core relies on: case-insensitive
// key and value names, subkeys enumerated in case-insensitive name order and values in
// the order they were created, access rights checked per handle, deleted keys answering
// kKeyDeleted, and the error codes of the ANSI calls. Calls can be made to fail.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory/fault_plan.h"
#include "platform/registry.h"

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();

    WinError OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                     HKey* out) override;
    WinError CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                       HKey* out) override;
    WinError CloseKey(HKey key) override;
    WinError QueryValue(HKey key, const std::string& name, std::uint32_t* type, void* data,
                        std::uint32_t* size) override;
    WinError SetValue(HKey key, const std::string& name, std::uint32_t type, const void* data,
                      std::uint32_t size) override;
    WinError DeleteValue(HKey key, const std::string& name) override;
    WinError DeleteTree(HKey parent, const std::string& subKey) override;
    WinError DeleteKey(HKey parent, const std::string& subKey) override;
    WinError EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    WinError EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                       std::uint32_t* type, void* data, std::uint32_t* dataSize) override;

    // Keys opened and not yet closed; tests use it to find leaked handles.
    size_t OpenHandleCount() const { return handles_.size(); }

    // Calls are named "Registry.OpenKey", "Registry.CreateKey", "Registry.QueryValue",
    // "Registry.SetValue", "Registry.DeleteValue", "Registry.DeleteTree", "Registry.DeleteKey",
    // "Registry.EnumKey" and "Registry.EnumValue"; the argument matched is the subkey
    // path or value name.
    FaultPlan faults;

private:
    struct Key;
    struct Value {
        std::string name;
        std::uint32_t type;
        std::string data;
    };
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Key {
        std::string name;
        std::vector<Value> values;
        std::map<std::string, std::shared_ptr<Key>, NameLess> subkeys;
        bool deleted = false;
    };
    struct Handle {
        std::shared_ptr<Key> key;
        std::uint32_t access;
    };

    WinError Resolve(HKey key, std::uint32_t needed, std::shared_ptr<Key>* out) const;
    HKey NewHandle(std::shared_ptr<Key> key, std::uint32_t access);
    static Value* FindValue(Key& key, const std::string& name);
    static void MarkDeleted(Key& key);
    WinError Unlink(HKey parent, const std::string& subKey, bool wholeTree);

    std::map<std::uintptr_t, std::shared_ptr<Key>> roots_;
    std::map<std::uintptr_t, Handle> handles_;
    std::uintptr_t nextHandle_ = 0x1000;
};
