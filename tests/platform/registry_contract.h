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

    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    // The key a test locks is opened up again first, so that the deletion can read it.
    void Clean() {
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
    std::string Open(const std::string& below, std::uint32_t access) {
        RegKey key(registry);
        return Err(key.Open(regroot::kCurrentUser, At(below), access));
    }
    std::string Set(HKey key, const std::string& name, const char* data, std::uint32_t size,
                    std::uint32_t type = regtype::kSz) {
        return Err(registry.SetValue(key, name, type, data, size));
    }
    // Reads into `room` bytes (none: asks the size only): "answer size data".
    std::string Query(HKey key, const std::string& name, std::uint32_t room) {
        char data[16] = "";
        std::uint32_t size = room;
        WinError error = registry.QueryValue(key, name, nullptr, room ? data : nullptr, &size);
        return Err(error) + " " + std::to_string(size) + " " + (error ? "" : data);
    }
    // The subkey names (or value names) in enumeration order, then the answer that ended it.
    std::string Names(HKey key, bool values, std::uint32_t room = 300) {
        std::string names;
        char name[300];
        for (std::uint32_t i = 0, size = room;; ++i, size = room) {
            WinError error = values ? registry.EnumValue(key, i, name, &size, 0, nullptr, 0)
                                    : registry.EnumKey(key, i, name, &size);
            if (error != winerr::kSuccess) {
                return names + Err(error);
            }
            names += std::string(name, size) + " ";
        }
    }
    std::string Info(HKey key) {
        KeyInfo info;
        WinError error = registry.QueryKeyInfo(key, &info);
        return Err(error) + " " + std::to_string(info.subKeys) + " " + std::to_string(info.values);
    }

    // A descriptor holding acl as its DACL; a null DACL when acl is empty.
    static ByteBlock Descriptor(const ByteBlock& acl, std::uint16_t control = 0) {
        DescriptorFields fields;
        fields.control = sdlayout::kSelfRelative | sdlayout::kDaclPresent | control;
        fields.dacl = acl;
        return WriteDescriptor(fields);
    }
    // A descriptor letting only sid in, with the rights given.
    static ByteBlock Only(std::uint32_t rights, SidAuthority authority, std::uint32_t rid) {
        return Descriptor(WriteAcl({{0, 0, rights, WriteSid({1, authority, {rid}})}}));
    }
    std::string SetDacl(HKey key, const ByteBlock& descriptor) {
        return Err(registry.SetKeySecurity(key, secinfo::kDacl, descriptor.data(),
                                           static_cast<std::uint32_t>(descriptor.size())));
    }
    // Asks the size first, as the key access code does, then reads: both answers, and
    // whether the descriptor read is `expected`.
    std::string GetDacl(HKey key, const ByteBlock& expected = {}) {
        std::uint32_t size = 0;
        WinError first = registry.GetKeySecurity(key, secinfo::kDacl, nullptr, &size);
        ByteBlock read(size);
        WinError second = registry.GetKeySecurity(key, secinfo::kDacl, read.data(), &size);
        return Err(first) + " " + Err(second) +
               (!read.empty() && read == expected ? " as set" : "");
    }

    RegistryType registry;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, ValuesKeysAndDeletion) {
    RegKey key = this->Make("");
    const HKey k = key.Get();
    for (const char* name : {"\\b", "\\C", "\\a\\deeper"}) {
        this->Make(name);
    }
    RegKey control = this->Make("", regaccess::kReadControl), leaf = this->Make("\\leaf");
    this->Set(leaf.Get(), "url1", "http://a/", 9);
    Registry& registry = this->registry;
    const HKey hkcu = regroot::kCurrentUser;
    ExpectRows({
        {this->Set(k, "b", "yes", 3, regtype::kBinary), "0"},
        {this->Query(k, "b", 10), "0 3 yes"},
        {this->Set(k, "v", "yes", 3), "0"},  // the NUL after the bytes is stored too
        {this->Query(k, "V", 10), "0 4 yes"},
        {this->Set(k, "历史", "0123456789AX", 11), "0"},
        {this->Query(k, "历史", 10), "234 11 "},
        {this->Query(k, "历史", 11), "0 11 0123456789A"},
        {this->Query(k, "历史", 0), "0 11 "},
        {this->Query(k, "missing", 10), "2 10 "},
        {this->Names(k, true, 4), "b v 234"},
        {Err(this->registry.DeleteValue(k, "V")), "0"},
        {Err(this->registry.DeleteValue(k, "v")), "2"},
        {this->Info(control.Get()), "0 4 2"},
        {this->Names(k, false), "a b C leaf 259"},
        {this->Names(control.Get(), false), "5"},
        {this->Open("\\A", regaccess::kRead), "0"},
        {this->Open("\\missing", regaccess::kRead), "2"},
        {Err(registry.DeleteKey(hkcu, this->At("\\a"))), "5"},
        {Err(registry.DeleteKey(hkcu, this->At("\\LEAF"))), "0"},
        {this->Open("\\leaf", regaccess::kRead), "2"},
        {Err(registry.DeleteKey(hkcu, this->At("\\leaf"))), "2"},
        {Err(registry.DeleteTree(hkcu, this->At("\\a"))), "0"},
        {this->Open("\\a", regaccess::kRead), "2"},
        {Err(registry.DeleteTree(hkcu, this->At("\\a"))), "2"},
    });
}

// The ANSI calls take a subkey path of at most 260 characters (GBK double-byte characters
// count once); a key deeper than that is reached one link at a time.
TYPED_TEST_P(RegistryContract, AnsiSubkeyPathIsLimitedTo260Characters) {
    RegKey scratch = this->Make(""), key(this->registry);
    const std::string link(99, 'k'), path260 = link + "\\" + link + "\\" + std::string(60, 'k');
    const std::string wide(260, '\xd7');  // 130 characters of two bytes each
    auto create = [&](const std::string& path) {
        return Err(key.Create(scratch.Get(), path, regaccess::kAllAccess));
    };
    ExpectRows({
        {create(path260), "0"},
        {create(path260 + "k"), "234"},
        {Err(key.Open(scratch.Get(), link, regaccess::kAllAccess)), "0"},
        {Err(RegKey(this->registry)
                 .Create(key.Get(), link + "\\" + std::string(60, 'k') + "\\k", regaccess::kRead)),
         "0"},
        {create(wide + "\\" + wide.substr(2)), "0"},
        {Err(key.Open(scratch.Get(), wide + "\\" + wide, regaccess::kRead)), "234"},
    });
}

// A key's access list comes back byte for byte: entry order, free space at its end, the
// inheritance bits of the control word, a null list. Each call needs its right on the
// handle. The owner (the Administrators group, which the user belongs to) may always read
// and change the list; everything else is up to the list. A tree deletion goes depth first
// and stops at the first key it cannot read, with what went before it gone.
TYPED_TEST_P(RegistryContract, KeySecurity) {
    RegKey key = this->Make(""), reader = this->Make("", regaccess::kRead);
    ByteBlock acl = WriteAcl({{0, 3, regaccess::kAllAccess, WriteSid({1, kWorldAuthority, {0}})},
                              {0, 0, regaccess::kRead, WriteSid({1, kNtAuthority, {18}})}});
    acl.resize(acl.size() + 4, 0);
    acl[2] = static_cast<std::uint8_t>(acl.size());
    const ByteBlock empty = this->Descriptor(WriteAcl({}));  // lets nobody in
    const ByteBlock kept = this->Descriptor(
                        acl, sdlayout::kDaclProtected | sdlayout::kDaclAutoInherited),
                    null = this->Descriptor({});
    this->Make("\\p\\a\\deep");
    this->Make("\\p\\c");
    RegKey b = this->Make("\\p\\b", regaccess::kWriteDac);
    ExpectRows({
        {this->SetDacl(key.Get(), kept), "0"},
        {this->GetDacl(key.Get(), kept), "122 0 as set"},
        {this->SetDacl(key.Get(), null), "0"},
        {this->GetDacl(key.Get(), null), "122 0 as set"},
        {this->SetDacl(reader.Get(), null), "5"},
        {this->GetDacl(b.Get()), "5 5"},
        {this->SetDacl(b.Get(), this->Only(regaccess::kAllAccess, kNtAuthority, 18)), "0"},
        {this->Open("\\p\\b", regaccess::kRead), "5"},
        {this->Open("\\p\\b", regaccess::kSetValue), "5"},
        {this->Open("\\p\\b", regaccess::kReadControl), "0"},
        {this->Open("\\p\\b", regaccess::kWriteDac), "0"},
        {this->Open("\\p\\b", 0), "0"},
        {Err(this->registry.DeleteTree(regroot::kCurrentUser, this->At("\\p"))), "5"},
        {this->Open("\\p\\a", 0) + this->Open("\\p\\b", 0) + this->Open("\\p\\c", 0), "200"},
        {this->SetDacl(b.Get(), this->Only(regaccess::kRead, kWorldAuthority, 0)), "0"},
        {this->Open("\\p\\b", regaccess::kRead), "0"},
        {this->Open("\\p\\b", regaccess::kSetValue), "5"},
        {this->SetDacl(b.Get(), empty), "0"},
        {this->Open("\\p\\b", regaccess::kRead), "5"},
        {this->SetDacl(b.Get(), ByteBlock(sdlayout::kHeaderSize, 0)), "1305"},
        {this->SetDacl(b.Get(), ByteBlock(empty.begin(), empty.end() - 1)), "87"},  // cut short
    });
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, ValuesKeysAndDeletion,
                            AnsiSubkeyPathIsLimitedTo260Characters, KeySecurity);
