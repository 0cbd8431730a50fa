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
class AccountsContract : public ::testing::Test {
protected:
    // The user's name into `room` bytes: the answer, the size told and the name read.
    std::string UserName(std::uint32_t room) {
        char name[260] = "#";
        std::uint32_t size = room;
        WinError error = accounts.QueryUserName(name, &size);
        needed = size;
        user = name;
        return Err(error) + " " + std::to_string(size - std::strlen(name));
    }
    // The lookup of an account with buffers of the sizes given: the answer, the SID's
    // size, the domain's size minus the length of what its buffer holds, the account's kind.
    std::string Lookup(const std::string& name, std::uint32_t sidRoom, std::uint32_t domainRoom) {
        ByteBlock sid(sidRoom + 1);
        std::string domain(domainRoom + 1, '\0');
        std::uint32_t use = 0;
        sidSize = sidRoom;
        domainSize = domainRoom;
        WinError error =
            accounts.LookupAccount(name, sidRoom ? sid.data() : nullptr, &sidSize,
                                   domainRoom ? &domain[0] : nullptr, &domainSize, &use);
        return Err(error) + (error == winerr::kNoneMapped
                                 ? ""
                                 : " " + std::to_string(sidSize) + " " +
                                       std::to_string(domainSize - std::strlen(domain.c_str())) +
                                       " " + std::to_string(use));
    }

    AccountsType accounts;
    std::string user;
    std::uint32_t needed = 0, sidSize = 0, domainSize = 0;
};

TYPED_TEST_SUITE_P(AccountsContract);

// Each call tells the sizes it needs, with the NUL, and then fits them exactly.
TYPED_TEST_P(AccountsContract, SizesFirstThenExactFit) {
    ExpectRows({
        {this->UserName(1), "122 " + std::to_string(this->needed - 1)},
        {this->UserName(this->needed), "0 1"},
        {this->Lookup(this->user, 0, 0), "122 28 " + std::to_string(this->domainSize) + " 0"},
        {this->Lookup(this->user, 128, 1), "122 28 " + std::to_string(this->domainSize) + " 0"},
        {this->Lookup(this->user, this->sidSize, this->domainSize), "0 28 0 1"},
        {this->Lookup("nobody-corvane-knows", 128, 64), "1332"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(AccountsContract, SizesFirstThenExactFit);

template <typename SecurityType>
class AccessListContract : public ::testing::Test {
protected:
    SecurityType security;
};

TYPED_TEST_SUITE_P(AccessListContract);

// The grant the key access code builds: a list of two entries, filled at its end, and a
// descriptor of it; what lies past the list is left as it was.
TYPED_TEST_P(AccessListContract, GrantDescriptorByteForByte) {
    const ByteBlock expected = {
        1, 0, 4,  0x80, 0,    0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0,   // header
        2, 0, 48, 0,    2,    0, 0,    0,                                        // list
        0, 3, 20, 0,    0x3f, 0, 0x0f, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0,  0, 0, 0,   // Everyone
        0, 3, 20, 0,    0x3f, 0, 0x0f, 0, 1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};  // LocalSystem
    TypeParam& security = this->security;
    ByteBlock system, acl(64, 0xbd), descriptor(100, 0xbd);
    auto append = [&](int at) {  // the entry at `at` of the expected descriptor
        return Err(
            security.AppendAccessEntry(acl.data(), 2, acllayout::kAppendAtEnd, &expected[at], 20));
    };
    std::uint32_t size = 67;
    ExpectRows({
        {Err(security.MakeSid(kNtAuthority, {18}, &system)), "0"},
        {system == ByteBlock(expected.begin() + 56, expected.end()) ? "same" : "differs", "same"},
        {Err(security.StartAccessList(acl.data(), 4, 2)), "122"},
        {Err(security.StartAccessList(acl.data(), 48, 1)), "87"},
        {Err(security.StartAccessList(acl.data(), 48, 2)), "0"},
        {append(28), "0"},
        {append(48), "0"},
        {append(48), "87"},  // past the list's size
        {Err(security.MakeDescriptor(acl.data(), descriptor.data(), &size)), "122"},
        {std::to_string(size), "68"},
        {Err(security.MakeDescriptor(acl.data(), descriptor.data(), &size)), "0"},
    });
    EXPECT_EQ(expected, ByteBlock(descriptor.begin(), descriptor.begin() + 68));
    EXPECT_EQ(0xbd, acl[48]);
}

REGISTER_TYPED_TEST_SUITE_P(AccessListContract, GrantDescriptorByteForByte);
