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

    void SetUp() override { registry.DeleteTree(regroot::kCurrentUser, kScratch); }
    void TearDown() override { registry.DeleteTree(regroot::kCurrentUser, kScratch); }

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
        char name[64];
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

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, OpenMissingKeyFailsAndLeavesOutputAlone,
                            TerminatorJustPastTheCountIsStoredToo,
                            TextWithoutNulRoundTripsByteForByte,
                            ValueThatDoesNotFitAnswersMoreDataWithItsSize,
                            SizeOnlyQueryAndMissingValue, NamesAreCaseInsensitive,
                            SubkeysEnumerateInNameOrderValuesEachOnce,
                            EnumNameThatDoesNotFitAnswersMoreData, ReadOnlyKeyRefusesWrites,
                            DeleteTreeRemovesEverythingBelow, DeleteKeyTakesValuesButRefusesSubkeys,
                            DeleteValue);
