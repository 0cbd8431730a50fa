// What the key access code relies on of the account and access-list calls of ADVAPI32,
// checked on the in-memory doubles and on the Win32 calls: where they disagree, the
// double is wrong.
#pragma once

#include <cstring>
#include <string>

#include "platform/accounts.h"
#include "platform/rows.h"
#include "platform/security.h"

template <typename AccountsType>
class AccountsContract : public ::testing::Test {};

TYPED_TEST_SUITE_P(AccountsContract);

// Each call first tells the sizes it needs, NUL included, leaving the buffers alone, and
// then fits them exactly; the lookup tells both sizes when either buffer is too small.
TYPED_TEST_P(AccountsContract, SizesFirstThenExactFit) {
    TypeParam accounts;
    char name[260] = "#", domain[260] = "";
    ByteBlock sid(128);
    std::uint32_t size = 1, sidSize = 0, domainSize = 0, use = 0;
    ASSERT_EQ(winerr::kInsufficientBuffer, accounts.QueryUserName(name, &size));
    EXPECT_STREQ("#", name);
    ASSERT_EQ(winerr::kSuccess, accounts.QueryUserName(name, &size));
    EXPECT_EQ(std::strlen(name) + 1, size);
    ASSERT_EQ(122u, accounts.LookupAccount(name, nullptr, &sidSize, nullptr, &domainSize, &use));
    const std::uint32_t needed = domainSize;
    sidSize = 128;
    domainSize = 1;
    ASSERT_EQ(122u, accounts.LookupAccount(name, sid.data(), &sidSize, domain, &domainSize, &use));
    EXPECT_EQ(needed, domainSize);
    ASSERT_EQ(0u, accounts.LookupAccount(name, sid.data(), &sidSize, domain, &domainSize, &use));
    EXPECT_EQ((std::vector<std::uint32_t>{28, needed - 1, 1}),
              (std::vector<std::uint32_t>{sidSize, domainSize, use}));
    EXPECT_EQ(domainSize, std::strlen(domain));
    EXPECT_EQ(winerr::kNoneMapped, accounts.LookupAccount("nobody-corvane-knows", sid.data(),
                                                          &sidSize, domain, &domainSize, &use));
}

REGISTER_TYPED_TEST_SUITE_P(AccountsContract, SizesFirstThenExactFit);

template <typename SecurityType>
class AccessListContract : public ::testing::Test {};

TYPED_TEST_SUITE_P(AccessListContract);

// The grant the key access code builds: a list of two entries, filled at its end, and a
// descriptor of it; what lies past the list is left as it was.
TYPED_TEST_P(AccessListContract, GrantDescriptorByteForByte) {
    const ByteBlock expected = {
        1, 0, 4,  0x80, 0,    0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0,   // header
        2, 0, 48, 0,    2,    0, 0,    0,                                        // list
        0, 3, 20, 0,    0x3f, 0, 0x0f, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0,  0, 0, 0,   // Everyone
        0, 3, 20, 0,    0x3f, 0, 0x0f, 0, 1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};  // LocalSystem
    TypeParam security;
    ByteBlock system, acl(64, 0xbd), descriptor(100, 0xbd);
    auto append = [&](int at) {  // the entry at `at` of the expected descriptor
        return Num(
            security.AppendAccessEntry(acl.data(), 2, acllayout::kAppendAtEnd, &expected[at], 20));
    };
    std::uint32_t size = 67;
    ExpectRows({
        {Num(security.MakeSid(kNtAuthority, {18}, &system)), "0"},
        {system == ByteBlock(expected.begin() + 56, expected.end()) ? "same" : "differs", "same"},
        {Num(security.StartAccessList(acl.data(), 4, 2)), "122"},
        {Num(security.StartAccessList(acl.data(), 48, 2)), "0"},
        {Seq({append(28), append(48), append(48)}), "0 0 87"},  // the last past the list's size
        {Num(security.MakeDescriptor(acl.data(), descriptor.data(), &size)), "122"},
        {Num(size), "68"},
        {Num(security.MakeDescriptor(acl.data(), descriptor.data(), &size)), "0"},
    });
    EXPECT_EQ(expected, ByteBlock(descriptor.begin(), descriptor.begin() + 68));
    EXPECT_EQ(0xbd, acl[48]);
}

REGISTER_TYPED_TEST_SUITE_P(AccessListContract, GrantDescriptorByteForByte);
