// An in-memory registry with the Win32 semantics the core relies on: case-insensitive
// key and value names, subkeys enumerated in case-insensitive name order and values in
// the order they were created, access rights checked per handle, and the error codes of
// the ANSI calls. Key security follows what Wine does: a new key is owned by the
// Administrators group and carries Wine's default access list, opening a key is checked
// against the allowing entries of its access list for the SIDs of the caller's token,
// the owner may always read and write the access list, and a key that cannot be read
// stops a tree deletion. Only the DACL is read and written, and QueryValue does not
// tell the type. Calls can be made to fail.
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
    WinError QueryKeyInfo(HKey key, KeyInfo* out) override;
    WinError GetKeySecurity(HKey key, std::uint32_t information, void* descriptor,
                            std::uint32_t* size) override;
    WinError SetKeySecurity(HKey key, std::uint32_t information, const void* descriptor,
                            std::uint32_t size) override;

    // Set-up only: makes `owner` the owner of the key at path below root, as if another
    // account had created it. The owner's implicit right to read and write the access
    // list then no longer reaches the caller, unless the owner is in the token.
    WinError SetKeyOwner(HKey root, const std::string& path, const ByteBlock& owner);

    // The SIDs of the caller's token: the user first, then its groups. Access lists
    // are checked against these. By default the user of MemoryAccounts, Everyone,
    // Administrators and Users, as in Wine's token.
    std::vector<ByteBlock> tokenSids;

    // Keys opened and not yet closed; tests use it to find leaked handles.
    size_t OpenHandleCount() const { return handles_.size(); }

    // Calls are named "Registry.OpenKey", "Registry.CreateKey", "Registry.QueryValue",
    // "Registry.SetValue", "Registry.DeleteValue", "Registry.DeleteTree",
    // "Registry.DeleteKey", "Registry.EnumKey", "Registry.EnumValue",
    // "Registry.QueryKeyInfo", "Registry.GetKeySecurity" and "Registry.SetKeySecurity";
    // the argument matched is the subkey path or value name, or for the last three the
    // key's path from its root (as "HKCU\Software\...").
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
        ByteBlock owner;
        std::uint16_t daclControl = 0;  // inheritance bits kept beside the DACL
        ByteBlock dacl;                 // empty: a null DACL, open to everybody
    };
    struct Handle {
        std::shared_ptr<Key> key;
        std::uint32_t access;
        std::string path;
    };

    std::shared_ptr<Key> KeyOf(HKey key) const;
    WinError Resolve(HKey key, std::uint32_t needed, std::shared_ptr<Key>* out) const;
    std::string PathOf(HKey key) const;
    HKey NewHandle(std::shared_ptr<Key> key, std::uint32_t access, std::string path);
    std::shared_ptr<Key> NewKey(const std::string& name) const;
    bool InToken(const ByteBlock& sid) const;
    std::uint32_t GrantedAccess(const Key& key) const;
    bool Allows(const Key& key, std::uint32_t access) const;
    WinError DeleteKeyTree(Key& parent, const std::string& name);
    static Value* FindValue(Key& key, const std::string& name);
    WinError Unlink(HKey parent, const std::string& subKey, bool wholeTree);

    std::map<std::uintptr_t, std::shared_ptr<Key>> roots_;
    std::map<std::uintptr_t, Handle> handles_;
    std::uintptr_t nextHandle_ = 0x1000;
};
