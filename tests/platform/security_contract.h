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
    std::uint32_t size = 1, sidSize = 0, domainSize = 0, use = 0, needed = 0;
    auto lookup = [&](const char* who, bool buffers) {
        return Num(accounts.LookupAccount(who, buffers ? sid.data() : nullptr, &sidSize,
                                          buffers ? domain : nullptr, &domainSize, &use));
    };
    // clang-format off
    ExpectRows({
        {Num(accounts.QueryUserName(name, &size)) + name, "122#"},
        {Seq({Num(accounts.QueryUserName(name, &size)), Num(size - std::strlen(name))}), "0 1"},
        {lookup(name, false), "122"},
        {(needed = domainSize, sidSize = 128, domainSize = 1, lookup(name, true)), "122"},
        {Seq({Num(domainSize - needed), lookup(name, true), Num(sidSize), Num(needed - domainSize), Num(use),
              Num(domainSize - std::strlen(domain))}), "0 0 28 1 1 0"},
        {lookup("nobody-corvane-knows", true), "1332"},
    });
    // clang-format on
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
    ByteBlock system, world, acl(64, 0xbd), descriptor(100, 0xbd);
    auto append = [&](int at) {  // the entry at `at` of the expected descriptor
        return Num(
            security.AppendAccessEntry(acl.data(), 2, acllayout::kAppendAtEnd, &expected[at], 20));
    };
    std::uint32_t size = 67;
    // clang-format off
    ExpectRows({
        {Seq({Num(security.MakeSid(kNtAuthority, {18}, &system)), Num(system == ByteBlock(expected.begin() + 56, expected.end())),
              Num(security.MakeSid(kWorldAuthority, {0}, &world)), Num(world == ByteBlock(&expected[36], &expected[48]))}), "0 1 0 1"},
        {Seq({Num(security.StartAccessList(acl.data(), 4, 2)), Num(security.StartAccessList(acl.data(), 48, 2))}),
         "122 0"},
        {Seq({append(28), append(48), append(48)}), "0 0 87"},  // the last past the list's size
        {Seq({Num(security.MakeDescriptor(acl.data(), descriptor.data(), &size)), Num(size)}), "122 68"},
        {Num(security.MakeDescriptor(acl.data(), descriptor.data(), &size)), "0"},
    });
    // clang-format on
    EXPECT_EQ(expected, ByteBlock(descriptor.begin(), descriptor.begin() + 68));
    EXPECT_EQ(0xbd, acl[48]);
}

REGISTER_TYPED_TEST_SUITE_P(AccessListContract, GrantDescriptorByteForByte);
