// Behaviour that every Registry implementation shares with the Win32 registry. The
// suite is instantiated for the in-memory double (natively) and for the Win32 calls
// (under Wine); where the two disagree, the double is wrong.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/registry.h"

template <typename RegistryType>
class RegistryContract : public ::testing::Test {
protected:
    static constexpr char kScratch[] = "Software\\CorvaneContract";

    void SetUp() override { RemoveScratch(); }
    void TearDown() override { RemoveScratch(); }

    // Keys a test locked are opened again first (the owner may always change an access
    // list), so that the deletion can read every key.
    void RemoveScratch() {
        Unlock(regroot::kCurrentUser, kScratch);
        registry.DeleteTree(regroot::kCurrentUser, kScratch);
    }
    void Unlock(HKey parent, const std::string& path) {
        RegKey key(registry);
        if (key.Open(parent, path, regaccess::kWriteDac) != winerr::kSuccess) {
            return;
        }
        ByteBlock open = NullDaclDescriptor();
        registry.SetKeySecurity(key.Get(), secinfo::kDacl, open.data(),
                                static_cast<std::uint32_t>(open.size()));
        if (key.Open(parent, path, regaccess::kRead) != winerr::kSuccess) {
            return;
        }
        for (std::uint32_t i = 0;; ++i) {
            char name[300];
            std::uint32_t size = sizeof name;
            WinError error = registry.EnumKey(key.Get(), i, name, &size);
            if (error == winerr::kNoMoreItems) {
                break;
            }
            if (error == winerr::kSuccess) {
                Unlock(key.Get(), name);
            }
        }
    }

    static ByteBlock Sid(SidAuthority authority, std::vector<std::uint32_t> subAuthorities) {
        return WriteSid({sidlayout::kRevision, authority, std::move(subAuthorities)});
    }
    static ByteBlock LocalSystem() { return Sid(kNtAuthority, {18}); }
    static ByteBlock Everyone() { return Sid(kWorldAuthority, {0}); }
    static ByteBlock DaclDescriptor(const ByteBlock& acl, std::uint16_t extraControl = 0) {
        DescriptorFields fields;
        fields.control = sdlayout::kSelfRelative | sdlayout::kDaclPresent | extraControl;
        fields.dacl = acl;
        return WriteDescriptor(fields);
    }
    static ByteBlock NullDaclDescriptor() { return DaclDescriptor({}); }

    WinError SetSecurity(HKey key, const ByteBlock& descriptor) {
        return registry.SetKeySecurity(key, secinfo::kDacl, descriptor.data(),
                                       static_cast<std::uint32_t>(descriptor.size()));
    }
    // The key's DACL descriptor, or "error N".
    ByteBlock GetSecurity(HKey key) {
        std::uint32_t size = 0;
        WinError error = registry.GetKeySecurity(key, secinfo::kDacl, nullptr, &size);
        EXPECT_EQ(winerr::kInsufficientBuffer, error);
        ByteBlock descriptor(size);
        EXPECT_EQ(winerr::kSuccess,
                  registry.GetKeySecurity(key, secinfo::kDacl, descriptor.data(), &size));
        EXPECT_EQ(descriptor.size(), size);
        return descriptor;
    }
    // Gives the scratch key `below` an access list that lets only LocalSystem in.
    void LockForLocalSystem(const std::string& below) {
        RegKey key = CreateScratch(below);
        ASSERT_EQ(winerr::kSuccess,
                  SetSecurity(key.Get(),
                              DaclDescriptor(WriteAcl({{acelayout::kAccessAllowed, 0,
                                                        regaccess::kAllAccess, LocalSystem()}}))));
    }
    WinError OpenScratch(const std::string& below, std::uint32_t access) {
        RegKey key(registry);
        std::string path = below.empty() ? kScratch : std::string(kScratch) + "\\" + below;
        return key.Open(regroot::kCurrentUser, path, access);
    }

    RegKey CreateScratch(const std::string& below = "") {
        RegKey key(registry);
        std::string path = below.empty() ? kScratch : std::string(kScratch) + "\\" + below;
        EXPECT_EQ(winerr::kSuccess, key.Create(regroot::kCurrentUser, path, regaccess::kAllAccess));
        return key;
    }
    // Stores exactly the bytes of text: the byte after them is not NUL, so the registry
    // adds no terminator of its own.
    void SetText(HKey key, const std::string& name, const std::string& text) {
        std::string unterminated = text + 'X';
        ASSERT_EQ(winerr::kSuccess, registry.SetValue(key, name, regtype::kSz, unterminated.data(),
                                                      static_cast<std::uint32_t>(text.size())));
    }
    std::string EnumKeyName(HKey key, std::uint32_t index) {
        char name[300];
        std::uint32_t size = sizeof name;
        WinError error = registry.EnumKey(key, index, name, &size);
        return error == winerr::kSuccess ? std::string(name, size)
                                         : "error " + std::to_string(error);
    }

    RegistryType registry;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, OpenMissingKeyFailsAndLeavesOutputAlone) {
    HKey key{0xbdbdbdbd};
    EXPECT_EQ(winerr::kFileNotFound,
              this->registry.OpenKey(regroot::kCurrentUser, "Software\\CorvaneContract\\none",
                                     regaccess::kRead, &key));
    EXPECT_EQ(0xbdbdbdbdu, key.value);
}

TYPED_TEST_P(RegistryContract, TerminatorJustPastTheCountIsStoredToo) {
    RegKey key = this->CreateScratch();
    ASSERT_EQ(winerr::kSuccess, this->registry.SetValue(key.Get(), "v", regtype::kSz, "yes", 3));
    ASSERT_EQ(winerr::kSuccess,
              this->registry.SetValue(key.Get(), "b", regtype::kBinary, "yes", 3));
    char buffer[10];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(winerr::kSuccess, this->registry.QueryValue(key.Get(), "v", nullptr, buffer, &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(0, std::memcmp(buffer, "yes", 4));
    size = sizeof buffer;
    ASSERT_EQ(winerr::kSuccess, this->registry.QueryValue(key.Get(), "b", nullptr, buffer, &size));
    EXPECT_EQ(3u, size);
}

TYPED_TEST_P(RegistryContract, TextWithoutNulRoundTripsByteForByte) {
    RegKey key = this->CreateScratch();
    this->SetText(key.Get(), "历史", "yes");
    unsigned char buffer[10];
    std::memset(buffer, 0xbd, sizeof buffer);
    std::uint32_t size = sizeof buffer;
    std::uint32_t type = 0;
    ASSERT_EQ(winerr::kSuccess, this->registry.QueryValue(key.Get(), "历史", &type, buffer, &size));
    EXPECT_EQ(regtype::kSz, type);
    EXPECT_EQ(3u, size);
    EXPECT_EQ(0, std::memcmp(buffer, "yes", 3));
}

TYPED_TEST_P(RegistryContract, ValueThatDoesNotFitAnswersMoreDataWithItsSize) {
    RegKey key = this->CreateScratch();
    this->SetText(key.Get(), "long", "0123456789A");
    char buffer[10];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(winerr::kMoreData,
              this->registry.QueryValue(key.Get(), "long", nullptr, buffer, &size));
    EXPECT_EQ(11u, size);

    this->SetText(key.Get(), "exact", "0123456789");
    size = sizeof buffer;
    EXPECT_EQ(winerr::kSuccess,
              this->registry.QueryValue(key.Get(), "exact", nullptr, buffer, &size));
    EXPECT_EQ(10u, size);
}

TYPED_TEST_P(RegistryContract, SizeOnlyQueryAndMissingValue) {
    RegKey key = this->CreateScratch();
    this->SetText(key.Get(), "v", "abcd");
    std::uint32_t size = 0;
    EXPECT_EQ(winerr::kSuccess, this->registry.QueryValue(key.Get(), "v", nullptr, nullptr, &size));
    EXPECT_EQ(4u, size);
    size = 0;
    EXPECT_EQ(winerr::kFileNotFound,
              this->registry.QueryValue(key.Get(), "missing", nullptr, nullptr, &size));
}

TYPED_TEST_P(RegistryContract, NamesAreCaseInsensitive) {
    RegKey key = this->CreateScratch("MixedCase");
    this->SetText(key.Get(), "Close IEs State", "1");
    RegKey again(this->registry);
    ASSERT_EQ(winerr::kSuccess,
              again.Open(regroot::kCurrentUser, "SOFTWARE\\corvanecontract\\mixedcase",
                         regaccess::kRead));
    char buffer[10];
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(winerr::kSuccess,
              this->registry.QueryValue(again.Get(), "close ies state", nullptr, buffer, &size));
    EXPECT_EQ(1u, size);
}

// Windows gives values no order; Wine keeps them sorted, NT in creation order.
TYPED_TEST_P(RegistryContract, SubkeysEnumerateInNameOrderValuesEachOnce) {
    RegKey key = this->CreateScratch();
    for (const char* name : {"b", "C", "a"}) {
        RegKey child(this->registry);
        ASSERT_EQ(winerr::kSuccess, child.Create(key.Get(), name, regaccess::kAllAccess));
    }
    EXPECT_EQ("a", this->EnumKeyName(key.Get(), 0));
    EXPECT_EQ("b", this->EnumKeyName(key.Get(), 1));
    EXPECT_EQ("C", this->EnumKeyName(key.Get(), 2));
    EXPECT_EQ("error 259", this->EnumKeyName(key.Get(), 3));

    this->SetText(key.Get(), "z", "1");
    this->SetText(key.Get(), "a", "2");
    std::string names;
    for (std::uint32_t i = 0;; ++i) {
        char name[8];
        std::uint32_t nameSize = sizeof name;
        WinError error =
            this->registry.EnumValue(key.Get(), i, name, &nameSize, nullptr, nullptr, nullptr);
        if (error != winerr::kSuccess) {
            EXPECT_EQ(winerr::kNoMoreItems, error);
            break;
        }
        EXPECT_EQ(1u, nameSize);
        names += name;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ("az", names);
}

TYPED_TEST_P(RegistryContract, EnumNameThatDoesNotFitAnswersMoreData) {
    RegKey key = this->CreateScratch();
    this->SetText(key.Get(), "abcdef", "1");
    char name[6];
    std::uint32_t nameSize = sizeof name;
    EXPECT_EQ(winerr::kMoreData,
              this->registry.EnumValue(key.Get(), 0, name, &nameSize, nullptr, nullptr, nullptr));
}

TYPED_TEST_P(RegistryContract, ReadOnlyKeyRefusesWrites) {
    this->CreateScratch();
    RegKey key(this->registry);
    ASSERT_EQ(winerr::kSuccess,
              key.Open(regroot::kCurrentUser, "Software\\CorvaneContract", regaccess::kRead));
    EXPECT_EQ(winerr::kAccessDenied, this->registry.SetValue(key.Get(), "v", regtype::kSz, "x", 1));
}

TYPED_TEST_P(RegistryContract, DeleteTreeRemovesEverythingBelow) {
    RegKey deep = this->CreateScratch("a\\b\\c");
    this->SetText(deep.Get(), "v", "x");
    EXPECT_EQ(winerr::kSuccess,
              this->registry.DeleteTree(regroot::kCurrentUser, "Software\\CorvaneContract\\a"));
    RegKey key(this->registry);
    EXPECT_EQ(winerr::kFileNotFound,
              key.Open(regroot::kCurrentUser, "Software\\CorvaneContract\\a", regaccess::kRead));
    EXPECT_EQ(winerr::kFileNotFound,
              this->registry.DeleteTree(regroot::kCurrentUser, "Software\\CorvaneContract\\a"));
}

TYPED_TEST_P(RegistryContract, DeleteKeyTakesValuesButRefusesSubkeys) {
    RegKey parent = this->CreateScratch("withChild\\child");
    RegKey leaf = this->CreateScratch("leaf");
    this->SetText(leaf.Get(), "url1", "http://a/");
    const std::string scratch = "Software\\CorvaneContract\\";
    EXPECT_EQ(winerr::kAccessDenied,
              this->registry.DeleteKey(regroot::kCurrentUser, scratch + "withChild"));
    EXPECT_EQ(winerr::kSuccess, this->registry.DeleteKey(regroot::kCurrentUser, scratch + "LEAF"));
    RegKey key(this->registry);
    EXPECT_EQ(winerr::kFileNotFound,
              key.Open(regroot::kCurrentUser, scratch + "leaf", regaccess::kRead));
    EXPECT_EQ(winerr::kSuccess,
              key.Open(regroot::kCurrentUser, scratch + "withChild\\child", regaccess::kRead));
    EXPECT_EQ(winerr::kFileNotFound,
              this->registry.DeleteKey(regroot::kCurrentUser, scratch + "leaf"));
}

TYPED_TEST_P(RegistryContract, DeleteValue) {
    RegKey key = this->CreateScratch();
    this->SetText(key.Get(), "v", "x");
    EXPECT_EQ(winerr::kSuccess, this->registry.DeleteValue(key.Get(), "V"));
    EXPECT_EQ(winerr::kFileNotFound, this->registry.DeleteValue(key.Get(), "v"));
}

TYPED_TEST_P(RegistryContract, QueryKeyInfoCountsSubkeysAndValues) {
    RegKey key = this->CreateScratch("a");
    this->CreateScratch("b\\deeper");
    this->SetText(key.Get(), "v", "x");
    RegKey scratch = this->CreateScratch();
    KeyInfo info;
    ASSERT_EQ(winerr::kSuccess, this->registry.QueryKeyInfo(scratch.Get(), &info));
    EXPECT_EQ(2u, info.subKeys);
    EXPECT_EQ(0u, info.values);
    ASSERT_EQ(winerr::kSuccess, this->registry.QueryKeyInfo(key.Get(), &info));
    EXPECT_EQ(0u, info.subKeys);
    EXPECT_EQ(1u, info.values);
}

// A key opened only to read its access list can be counted but not enumerated.
TYPED_TEST_P(RegistryContract, ReadControlHandleCountsButDoesNotEnumerate) {
    this->CreateScratch("child");
    RegKey key(this->registry);
    ASSERT_EQ(winerr::kSuccess,
              key.Open(regroot::kCurrentUser, this->kScratch, regaccess::kReadControl));
    KeyInfo info;
    EXPECT_EQ(winerr::kSuccess, this->registry.QueryKeyInfo(key.Get(), &info));
    EXPECT_EQ(1u, info.subKeys);
    EXPECT_EQ("error 5", this->EnumKeyName(key.Get(), 0));
}

TYPED_TEST_P(RegistryContract, EnumKeyNameLongerThanTheBufferIsRefusedNotCut) {
    RegKey key = this->CreateScratch();
    std::string longName;
    for (int i = 0; i < 131; ++i) {
        longName += "字";  // 262 bytes in GBK
    }
    RegKey child(this->registry);
    ASSERT_EQ(winerr::kSuccess, child.Create(key.Get(), longName, regaccess::kAllAccess));
    char name[261];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(winerr::kMoreData, this->registry.EnumKey(key.Get(), 0, name, &size));
    char wide[300];
    size = sizeof wide;
    ASSERT_EQ(winerr::kSuccess, this->registry.EnumKey(key.Get(), 0, wide, &size));
    EXPECT_EQ(longName, std::string(wide, size));
}

TYPED_TEST_P(RegistryContract, KeySecurityAnswersItsSizeFirst) {
    RegKey key = this->CreateScratch();
    std::uint32_t size = 0;
    ASSERT_EQ(winerr::kInsufficientBuffer,
              this->registry.GetKeySecurity(key.Get(), secinfo::kDacl, nullptr, &size));
    ASSERT_GT(size, sdlayout::kHeaderSize);
    ByteBlock descriptor(size);
    std::uint32_t tooSmall = size - 1;
    EXPECT_EQ(
        winerr::kInsufficientBuffer,
        this->registry.GetKeySecurity(key.Get(), secinfo::kDacl, descriptor.data(), &tooSmall));
    EXPECT_EQ(size, tooSmall);
    std::uint32_t exact = size;
    ASSERT_EQ(winerr::kSuccess,
              this->registry.GetKeySecurity(key.Get(), secinfo::kDacl, descriptor.data(), &exact));
    EXPECT_EQ(size, exact);
    DescriptorFields fields;
    ASSERT_TRUE(ReadDescriptor(descriptor.data(), descriptor.size(), &fields));
    EXPECT_EQ(sdlayout::kSelfRelative | sdlayout::kDaclPresent, fields.control);
    EXPECT_FALSE(fields.dacl.empty());
    // A new key lets the user do everything.
    EXPECT_EQ(winerr::kSuccess, this->OpenScratch("", regaccess::kAllAccess));
}

// Everything of the list comes back: entry order, free space at its end, the
// inheritance bits of the control word; and a null DACL stays null.
TYPED_TEST_P(RegistryContract, KeySecurityRoundTripsByteForByte) {
    RegKey key = this->CreateScratch();
    ByteBlock acl =
        WriteAcl({{acelayout::kAccessAllowed, 3, regaccess::kAllAccess, this->Everyone()},
                  {acelayout::kAccessAllowed, 0, regaccess::kRead, this->LocalSystem()}});
    acl.resize(acl.size() + 4, 0);  // free space at the end of the list
    acl[2] = static_cast<std::uint8_t>(acl.size());
    ByteBlock descriptor =
        this->DaclDescriptor(acl, sdlayout::kDaclProtected | sdlayout::kDaclAutoInherited);
    ASSERT_EQ(winerr::kSuccess, this->SetSecurity(key.Get(), descriptor));
    EXPECT_EQ(descriptor, this->GetSecurity(key.Get()));

    ByteBlock null = this->NullDaclDescriptor();
    ASSERT_EQ(winerr::kSuccess, this->SetSecurity(key.Get(), null));
    EXPECT_EQ(null, this->GetSecurity(key.Get()));
}

TYPED_TEST_P(RegistryContract, KeySecurityCallsNeedTheirRightsOnTheHandle) {
    this->CreateScratch();
    RegKey reader(this->registry);
    ASSERT_EQ(winerr::kSuccess,
              reader.Open(regroot::kCurrentUser, this->kScratch, regaccess::kRead));
    EXPECT_EQ(winerr::kAccessDenied, this->SetSecurity(reader.Get(), this->NullDaclDescriptor()));
    RegKey writer(this->registry);
    ASSERT_EQ(winerr::kSuccess,
              writer.Open(regroot::kCurrentUser, this->kScratch, regaccess::kSetValue));
    std::uint32_t size = 0;
    EXPECT_EQ(winerr::kAccessDenied,
              this->registry.GetKeySecurity(writer.Get(), secinfo::kDacl, nullptr, &size));
}

TYPED_TEST_P(RegistryContract, BrokenDescriptorIsRefused) {
    RegKey key = this->CreateScratch();
    ByteBlock zeros(sdlayout::kHeaderSize, 0);
    EXPECT_EQ(winerr::kUnknownRevision, this->SetSecurity(key.Get(), zeros));
    ByteBlock cut = this->DaclDescriptor(WriteAcl({}));
    cut.resize(cut.size() - 1);  // the DACL runs past the descriptor's end
    EXPECT_EQ(winerr::kInvalidParameter, this->SetSecurity(key.Get(), cut));
}

// The owner (here the Administrators group, which the user belongs to) may always read
// and change the list; everything else is up to the list.
TYPED_TEST_P(RegistryContract, AccessListDecidesWhatOpens) {
    this->LockForLocalSystem("locked");
    EXPECT_EQ(winerr::kAccessDenied, this->OpenScratch("locked", regaccess::kRead));
    EXPECT_EQ(winerr::kAccessDenied, this->OpenScratch("locked", regaccess::kSetValue));
    EXPECT_EQ(winerr::kSuccess, this->OpenScratch("locked", regaccess::kReadControl));
    EXPECT_EQ(winerr::kSuccess, this->OpenScratch("locked", 0));  // asking for no right
    RegKey key(this->registry);
    ASSERT_EQ(winerr::kSuccess,
              key.Open(regroot::kCurrentUser, std::string(this->kScratch) + "\\locked",
                       regaccess::kWriteDac));
    ByteBlock everyone = this->DaclDescriptor(
        WriteAcl({{acelayout::kAccessAllowed, 0, regaccess::kRead, this->Everyone()}}));
    ASSERT_EQ(winerr::kSuccess, this->SetSecurity(key.Get(), everyone));
    EXPECT_EQ(winerr::kSuccess, this->OpenScratch("locked", regaccess::kRead));
    EXPECT_EQ(winerr::kAccessDenied, this->OpenScratch("locked", regaccess::kSetValue));
    ByteBlock empty = this->DaclDescriptor(WriteAcl({}));
    ASSERT_EQ(winerr::kSuccess, this->SetSecurity(key.Get(), empty));
    EXPECT_EQ(winerr::kAccessDenied, this->OpenScratch("locked", regaccess::kRead));
}

// As RegDeleteTree: depth first, and a key that cannot be read ends the deletion with
// what was deleted before it gone.
TYPED_TEST_P(RegistryContract, DeleteTreeStopsAtAKeyItCannotRead) {
    this->CreateScratch("p\\a\\deep");
    this->CreateScratch("p\\c");
    this->LockForLocalSystem("p\\b");
    EXPECT_EQ(winerr::kAccessDenied,
              this->registry.DeleteTree(regroot::kCurrentUser, "Software\\CorvaneContract\\p"));
    EXPECT_EQ(winerr::kFileNotFound, this->OpenScratch("p\\a", regaccess::kReadControl));
    EXPECT_EQ(winerr::kSuccess, this->OpenScratch("p\\b", regaccess::kReadControl));
    EXPECT_EQ(winerr::kSuccess, this->OpenScratch("p\\c", regaccess::kReadControl));
}

// The ANSI calls take a subkey path of at most 260 characters (GBK double-byte
// characters count once); a key deeper than that is reached one link at a time.
TYPED_TEST_P(RegistryContract, AnsiSubkeyPathIsLimitedTo260Characters) {
    RegKey scratch = this->CreateScratch();
    const std::string link(99, 'k');
    const std::string path260 = link + "\\" + link + "\\" + std::string(60, 'k');
    RegKey key(this->registry);
    EXPECT_EQ(winerr::kSuccess, key.Create(scratch.Get(), path260, regaccess::kAllAccess));
    EXPECT_EQ(winerr::kMoreData, key.Open(scratch.Get(), path260 + "k", regaccess::kRead));
    EXPECT_EQ(winerr::kMoreData, key.Create(scratch.Get(), path260 + "\\k", regaccess::kAllAccess));
    RegKey first(this->registry);
    ASSERT_EQ(winerr::kSuccess, first.Open(scratch.Get(), link, regaccess::kAllAccess));
    EXPECT_EQ(winerr::kSuccess, key.Create(first.Get(), link + "\\" + std::string(60, 'k') + "\\k",
                                           regaccess::kAllAccess));

    std::string wide;
    for (int i = 0; i < 129; ++i) {
        wide += "字";
    }
    const std::string gbk260 = wide + "\\" + wide + "字";  // 519 bytes
    EXPECT_EQ(winerr::kSuccess, key.Create(scratch.Get(), gbk260, regaccess::kAllAccess));
    EXPECT_EQ(winerr::kMoreData, key.Open(scratch.Get(), gbk260 + "k", regaccess::kRead));
}

REGISTER_TYPED_TEST_SUITE_P(
    RegistryContract, AnsiSubkeyPathIsLimitedTo260Characters, QueryKeyInfoCountsSubkeysAndValues,
    ReadControlHandleCountsButDoesNotEnumerate, EnumKeyNameLongerThanTheBufferIsRefusedNotCut,
    KeySecurityAnswersItsSizeFirst, KeySecurityRoundTripsByteForByte,
    KeySecurityCallsNeedTheirRightsOnTheHandle, BrokenDescriptorIsRefused,
    AccessListDecidesWhatOpens, DeleteTreeStopsAtAKeyItCannotRead,
    OpenMissingKeyFailsAndLeavesOutputAlone, TerminatorJustPastTheCountIsStoredToo,
    TextWithoutNulRoundTripsByteForByte, ValueThatDoesNotFitAnswersMoreDataWithItsSize,
    SizeOnlyQueryAndMissingValue, NamesAreCaseInsensitive,
    SubkeysEnumerateInNameOrderValuesEachOnce, EnumNameThatDoesNotFitAnswersMoreData,
    ReadOnlyKeyRefusesWrites, DeleteTreeRemovesEverythingBelow, DeleteKeyTakesValuesButRefusesSubkeys,
    DeleteValue);
