// What the erasers rely on of the registry, checked on the in-memory double (natively)
// and on the Win32 calls (under Wine): where the two disagree, the double is wrong.
#pragma once

#include <string>

#include "platform/registry.h"
#include "platform/rows.h"

template <typename RegistryType>
class RegistryContract : public ::testing::Test {
protected:
    static constexpr char kScratch[] = "Software\\CorvaneContract";

    void SetUp() override { TearDown(); }
    // The key a test locks is opened up again first, so that the deletion can read it.
    void TearDown() override {
        RegKey key(registry);
        if (key.Open(regroot::kCurrentUser, At("\\p\\b"), regaccess::kWriteDac) == 0) {
            SetDacl(key.Get(), Descriptor({}));
        }
        registry.DeleteTree(regroot::kCurrentUser, kScratch);
    }
    static std::string At(const std::string& below) { return std::string(kScratch) + below; }
    RegKey Make(const std::string& below, std::uint32_t access = regaccess::kAllAccess) {
        RegKey key(registry);
        EXPECT_EQ(0u, key.Create(regroot::kCurrentUser, At(below), access)) << below;
        return key;
    }
    std::string Open(const std::string& below, std::uint32_t access = regaccess::kRead) {
        RegKey key(registry);
        return Num(key.Open(regroot::kCurrentUser, At(below), access));
    }
    // Reads into `room` bytes (no buffer at all for 0): "answer size tTYPE data".
    std::string Query(HKey key, const std::string& name, std::uint32_t room) {
        char data[16] = "";
        std::uint32_t size = room, type = 99;
        WinError error = registry.QueryValue(key, name, &type, room ? data : nullptr, &size);
        return Num(error) + " " + Num(size) + " t" + Num(type) + " " + (error ? "" : data);
    }
    // The subkey names (or value names) in enumeration order, then the answer that ended it.
    std::string Names(HKey key, bool values, std::uint32_t room = 300) {
        std::string names;
        char name[300];
        for (std::uint32_t i = 0, size = room;; ++i, size = room) {
            WinError error = values ? registry.EnumValue(key, i, name, &size, 0, nullptr, 0)
                                    : registry.EnumKey(key, i, name, &size);
            if (error != winerr::kSuccess) {
                return names + Num(error);
            }
            names += std::string(name, size) + " ";
        }
    }

    // A descriptor holding acl as its DACL; a null DACL when acl is empty.
    static ByteBlock Descriptor(const ByteBlock& acl, std::uint16_t control = 0) {
        const int both = sdlayout::kSelfRelative | sdlayout::kDaclPresent | control;
        return WriteDescriptor({sdlayout::kRevision, static_cast<std::uint16_t>(both), {}, acl});
    }
    // A descriptor letting only sid in, with the rights given.
    static ByteBlock Only(std::uint32_t rights, SidAuthority authority, std::uint32_t rid) {
        return Descriptor(WriteAcl({{0, 0, rights, WriteSid({1, authority, {rid}})}}));
    }
    std::string SetDacl(HKey key, const ByteBlock& descriptor) {
        return Num(registry.SetKeySecurity(key, secinfo::kDacl, descriptor.data(),
                                           static_cast<std::uint32_t>(descriptor.size())));
    }
    // Asks the size first, as the key access code does, then reads: both answers, and
    // whether the descriptor read is `expected`.
    std::string GetDacl(HKey key, const ByteBlock& expected = {}) {
        std::uint32_t size = 0;
        WinError first = registry.GetKeySecurity(key, secinfo::kDacl, nullptr, &size);
        ByteBlock read(size);
        WinError second = registry.GetKeySecurity(key, secinfo::kDacl, read.data(), &size);
        return Num(first) + " " + Num(second) +
               (!read.empty() && read == expected ? " as set" : "");
    }

    RegistryType registry;
};

TYPED_TEST_SUITE_P(RegistryContract);

// A REG_SZ value stored without its terminator gets one; names of either kind are matched
// without regard to case and subkeys come in that order; a key deletion refuses a key with
// subkeys, a tree deletion takes it whole.
TYPED_TEST_P(RegistryContract, ValuesKeysAndDeletion) {
    RegKey key = this->Make("");
    const HKey k = key.Get();
    for (const char* below : {"\\b", "\\C", "\\a\\deeper", "\\leaf"}) {
        this->Make(below);
    }
    Registry& registry = this->registry;
    KeyInfo info;
    char name[300];
    std::uint32_t nameSize = sizeof name, dataSize = 0;
    auto remove = [&](bool tree, const char* below) {
        auto call = tree ? &Registry::DeleteTree : &Registry::DeleteKey;
        return Num((registry.*call)(regroot::kCurrentUser, this->At(below)));
    };
    // clang-format off
    ExpectRows({
        {Seq({Num(registry.SetValue(k, "v", regtype::kSz, "yes", 3)), this->Query(k, "V", 10)}), "0 0 4 t1 yes"},
        {Seq({Num(registry.SetValue(k, "历史", regtype::kSz, "0123456789AX", 11)), this->Query(k, "历史", 10),
              this->Query(k, "历史", 11)}), "0 234 11 t1  0 11 t1 0123456789A"},
        {this->Names(k, true, 4), "v 234"},
        // sizes asked with no buffer, as a value too long for one is read again
        {Seq({Num(registry.EnumValue(k, 1, name, &nameSize, nullptr, nullptr, &dataSize)), Num(dataSize),
              this->Query(k, "历史", 0)}), "0 11 0 11 t1 "},
        {Seq({Num(registry.DeleteValue(k, "V")), Num(registry.DeleteValue(k, "v")),
              Num(registry.QueryKeyInfo(k, &info)), Num(info.subKeys), Num(info.values)}), "0 2 0 4 1"},
        {this->Names(k, false), "a b C leaf 259"},
        {Seq({remove(false, "\\a"), remove(false, "\\LEAF"), this->Open("\\leaf")}), "5 0 2"},
        {Seq({remove(true, "\\a"), this->Open("\\a"), remove(true, "\\a")}), "0 2 2"},
    });
    // clang-format on
}

// A new key carries Wine's own access list: Users may read what is created below it,
// Administrators may do everything. A key's access list comes back byte for byte: entry
// order, free space at its end, the inheritance bits of the control word. Each call needs its right
// on the handle. The owner (the Administrators group, which the user belongs to) may always read
// and change the list; everything else is up to the list. A tree deletion goes depth first and
// stops at the first key it cannot read, with what went before it gone.
TYPED_TEST_P(RegistryContract, KeySecurity) {
    RegKey key = this->Make(""), reader = this->Make("", regaccess::kRead);
    ByteBlock acl = WriteAcl({{0, 3, regaccess::kAllAccess, WriteSid({1, kWorldAuthority, {0}})},
                              {0, 0, regaccess::kRead, WriteSid({1, kNtAuthority, {18}})}});
    acl.resize(acl.size() + 4, 0);
    acl[2] = static_cast<std::uint8_t>(acl.size());
    const ByteBlock fresh = this->Descriptor(
        WriteAcl({{0, 0x0a, 0x80000000u, WriteSid({1, kNtAuthority, {32, 545}})},
                  {0, 0, regaccess::kAllAccess, WriteSid({1, kNtAuthority, {32, 544}})}}));
    const ByteBlock kept =
        this->Descriptor(acl, sdlayout::kDaclProtected | sdlayout::kDaclAutoInherited);
    for (const char* below : {"\\p\\a\\deep", "\\p\\c"}) {
        this->Make(below);
    }
    RegKey b = this->Make("\\p\\b", regaccess::kWriteDac);
    ExpectRows({
        {this->GetDacl(key.Get(), fresh), "122 0 as set"},
        {Seq({this->SetDacl(key.Get(), kept), this->GetDacl(key.Get(), kept)}), "0 122 0 as set"},
        {Seq({this->SetDacl(reader.Get(), kept), this->GetDacl(b.Get())}), "5 5 5"},
        {this->SetDacl(b.Get(), this->Only(regaccess::kAllAccess, kNtAuthority, 18)), "0"},
        {Seq({this->Open("\\p\\b"), this->Open("\\p\\b", regaccess::kSetValue)}), "5 5"},
        {this->Open("\\p\\b", regaccess::kReadControl | regaccess::kWriteDac), "0"},
        {Num(this->registry.DeleteTree(regroot::kCurrentUser, this->At("\\p"))), "5"},
        {Seq({this->Open("\\p\\a", 0), this->Open("\\p\\b", 0), this->Open("\\p\\c", 0)}), "2 0 0"},
        {this->SetDacl(b.Get(), this->Only(regaccess::kRead, kWorldAuthority, 0)), "0"},
        {Seq({this->Open("\\p\\b"), this->Open("\\p\\b", regaccess::kSetValue)}), "0 5"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, ValuesKeysAndDeletion, KeySecurity);
