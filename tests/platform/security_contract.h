// Behaviour that the account and access-list doubles share with ADVAPI32. The suites are
// instantiated for the in-memory doubles (natively) and for the Win32 calls (under
// Wine); where the two disagree, the double is wrong.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/accounts.h"
#include "platform/security.h"

template <typename AccountsType>
class AccountsContract : public ::testing::Test {
protected:
    std::string UserName() {
        char name[260];
        std::uint32_t size = sizeof name;
        EXPECT_EQ(winerr::kSuccess, accounts.QueryUserName(name, &size));
        return name;
    }
    AccountsType accounts;
};

TYPED_TEST_SUITE_P(AccountsContract);

TYPED_TEST_P(AccountsContract, UserNameCountsItsNul) {
    char name[260];
    std::memset(name, '#', sizeof name);
    std::uint32_t size = 1;
    ASSERT_EQ(winerr::kInsufficientBuffer, this->accounts.QueryUserName(name, &size));
    std::uint32_t needed = size;
    EXPECT_GT(needed, 1u);
    EXPECT_EQ('#', name[0]);
    ASSERT_EQ(winerr::kSuccess, this->accounts.QueryUserName(name, &size));
    EXPECT_EQ(needed, size);
    EXPECT_EQ(needed - 1, std::strlen(name));
}

TYPED_TEST_P(AccountsContract, LookupAsksForBothSizesThenFitsThemExactly) {
    std::string user = this->UserName();
    std::uint32_t sidSize = 0;
    std::uint32_t domainSize = 0;
    std::uint32_t use = 0;
    ASSERT_EQ(winerr::kInsufficientBuffer,
              this->accounts.LookupAccount(user, nullptr, &sidSize, nullptr, &domainSize, &use));
    ASSERT_GE(sidSize, 12u);
    ASSERT_GE(domainSize, 1u);  // counts the NUL
    ByteBlock sid(sidSize);
    std::string domain(domainSize, '#');
    std::uint32_t domainLength = domainSize;
    ASSERT_EQ(winerr::kSuccess, this->accounts.LookupAccount(user, sid.data(), &sidSize,
                                                             domain.data(), &domainLength, &use));
    EXPECT_EQ(sid.size(), sidSize);
    EXPECT_EQ(domainSize - 1, domainLength);
    EXPECT_EQ(domainLength, std::strlen(domain.c_str()));
    EXPECT_EQ(sidtype::kUser, use);
    SidFields fields;
    ASSERT_TRUE(ReadSid(sid.data(), sid.size(), &fields));
    EXPECT_EQ(sid.size(), SidLength(fields));
}

TYPED_TEST_P(AccountsContract, OneBufferTooSmallReportsBothSizes) {
    std::string user = this->UserName();
    ByteBlock sid(128);
    std::uint32_t sidSize = 128;
    char domain[1];
    std::uint32_t domainSize = sizeof domain;
    std::uint32_t use = 0;
    ASSERT_EQ(winerr::kInsufficientBuffer,
              this->accounts.LookupAccount(user, sid.data(), &sidSize, domain, &domainSize, &use));
    EXPECT_LT(sidSize, 128u);
    EXPECT_GT(domainSize, 1u);
}

TYPED_TEST_P(AccountsContract, UnknownNameIsNotMapped) {
    ByteBlock sid(128);
    std::uint32_t sidSize = 128;
    char domain[64];
    std::uint32_t domainSize = sizeof domain;
    std::uint32_t use = 0;
    EXPECT_EQ(winerr::kNoneMapped,
              this->accounts.LookupAccount("nobody-corvane-knows", sid.data(), &sidSize, domain,
                                           &domainSize, &use));
}

REGISTER_TYPED_TEST_SUITE_P(AccountsContract, UserNameCountsItsNul,
                            LookupAsksForBothSizesThenFitsThemExactly,
                            OneBufferTooSmallReportsBothSizes, UnknownNameIsNotMapped);

template <typename SecurityType>
class AccessListContract : public ::testing::Test {
protected:
    static ByteBlock Entry(std::uint8_t flags, std::uint32_t mask, const ByteBlock& sid) {
        ByteBlock acl = WriteAcl({{acelayout::kAccessAllowed, flags, mask, sid}});
        return ByteBlock(acl.begin() + acllayout::kHeaderSize, acl.end());
    }
    WinError Append(ByteBlock& acl, std::uint32_t index, const ByteBlock& entry) {
        return security.AppendAccessEntry(acl.data(), acllayout::kRevision, index, entry.data(),
                                          static_cast<std::uint32_t>(entry.size()));
    }
    static ByteBlock LocalSystem() { return WriteSid({sidlayout::kRevision, kNtAuthority, {18}}); }
    static ByteBlock Everyone() { return WriteSid({sidlayout::kRevision, kWorldAuthority, {0}}); }
    SecurityType security;
};

TYPED_TEST_SUITE_P(AccessListContract);

TYPED_TEST_P(AccessListContract, LocalSystemSid) {
    ByteBlock sid;
    ASSERT_EQ(winerr::kSuccess, this->security.MakeSid(kNtAuthority, {18}, &sid));
    EXPECT_EQ(ByteBlock({1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}), sid);
}

TYPED_TEST_P(AccessListContract, EntriesAppendedAtTheEndInOrder) {
    ByteBlock acl(52, 0xbd);
    ASSERT_EQ(winerr::kSuccess, this->security.StartAccessList(acl.data(), 52, 2));
    EXPECT_EQ(ByteBlock({2, 0, 52, 0, 0, 0, 0, 0}), ByteBlock(acl.begin(), acl.begin() + 8));
    ByteBlock first = this->Entry(3, regaccess::kAllAccess, this->Everyone());
    ByteBlock second = this->Entry(3, regaccess::kAllAccess, this->LocalSystem());
    ASSERT_EQ(winerr::kSuccess, this->Append(acl, acllayout::kAppendAtEnd, first));
    ASSERT_EQ(winerr::kSuccess, this->Append(acl, acllayout::kAppendAtEnd, second));
    ByteBlock expected = WriteAcl({{0, 3, regaccess::kAllAccess, this->Everyone()},
                                   {0, 3, regaccess::kAllAccess, this->LocalSystem()}});
    expected[2] = 52;
    EXPECT_EQ(expected, ByteBlock(acl.begin(), acl.begin() + 8 + 40));
    EXPECT_EQ(0xbd, acl[48]);  // free space is left as it was
}

TYPED_TEST_P(AccessListContract, EntryBeyondTheListSizeIsRefused) {
    ByteBlock acl(64, 0);
    ASSERT_EQ(winerr::kSuccess, this->security.StartAccessList(acl.data(), 28, 2));
    ByteBlock entry = this->Entry(0, regaccess::kRead, this->Everyone());  // 20 bytes
    ASSERT_EQ(winerr::kSuccess, this->Append(acl, acllayout::kAppendAtEnd, entry));
    ByteBlock before = acl;
    EXPECT_EQ(winerr::kInvalidParameter, this->Append(acl, acllayout::kAppendAtEnd, entry));
    EXPECT_EQ(before, acl);
}

TYPED_TEST_P(AccessListContract, ListStartRules) {
    ByteBlock acl(16, 0);
    EXPECT_EQ(winerr::kInsufficientBuffer, this->security.StartAccessList(acl.data(), 4, 2));
    EXPECT_EQ(winerr::kInvalidParameter, this->security.StartAccessList(acl.data(), 16, 1));
}

TYPED_TEST_P(AccessListContract, DescriptorHoldsTheDaclAfterItsHeader) {
    ByteBlock acl(28, 0);
    ASSERT_EQ(winerr::kSuccess, this->security.StartAccessList(acl.data(), 28, 2));
    ASSERT_EQ(winerr::kSuccess,
              this->Append(acl, acllayout::kAppendAtEnd,
                           this->Entry(3, regaccess::kAllAccess, this->Everyone())));
    ByteBlock descriptor(100, 0xbd);
    std::uint32_t size = 20;
    ASSERT_EQ(winerr::kInsufficientBuffer,
              this->security.MakeDescriptor(acl.data(), descriptor.data(), &size));
    EXPECT_EQ(48u, size);
    ASSERT_EQ(winerr::kSuccess,
              this->security.MakeDescriptor(acl.data(), descriptor.data(), &size));
    EXPECT_EQ(48u, size);
    const std::uint8_t header[] = {1, 0, 0x04, 0x80, 0, 0, 0,  0, 0, 0,
                                   0, 0, 0,    0,    0, 0, 20, 0, 0, 0};
    ByteBlock expected(header, header + sizeof header);
    expected.resize(sizeof header + acl.size());
    std::copy(acl.begin(), acl.end(), expected.begin() + sizeof header);
    EXPECT_EQ(expected, ByteBlock(descriptor.begin(), descriptor.begin() + 48));
}

REGISTER_TYPED_TEST_SUITE_P(AccessListContract, LocalSystemSid, EntriesAppendedAtTheEndInOrder,
                            EntryBeyondTheListSizeIsRefused, ListStartRules,
                            DescriptorHoldsTheDaclAfterItsHeader);
