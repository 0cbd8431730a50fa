// What only the in-memory registry offers: fault injection and handle accounting, plus
// the GBK rules a byte-wise implementation could get wrong.
#include "platform/memory/memory_registry.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryRegistry, InjectedFaultHitsOnlyMatchingCallsForTheGivenCount) {
    MemoryRegistry registry;
    registry.faults.Fail("Registry.SetValue", winerr::kAccessDenied, "Cookies", 1);
    RegKey key(registry);
    ASSERT_EQ(winerr::kSuccess, key.Create(regroot::kCurrentUser, "K", regaccess::kAllAccess));
    EXPECT_EQ(winerr::kSuccess, registry.SetValue(key.Get(), "TempFiles", regtype::kSz, "no", 2));
    EXPECT_EQ(winerr::kAccessDenied,
              registry.SetValue(key.Get(), "Cookies", regtype::kSz, "no", 2));
    EXPECT_EQ(winerr::kSuccess, registry.SetValue(key.Get(), "Cookies", regtype::kSz, "no", 2));
}

TEST(MemoryRegistry, RegKeyClosesItsHandle) {
    MemoryRegistry registry;
    {
        RegKey key(registry);
        ASSERT_EQ(winerr::kSuccess, key.Create(regroot::kCurrentUser, "K", regaccess::kAllAccess));
        RegKey moved = std::move(key);
        EXPECT_FALSE(key.IsOpen());
        EXPECT_EQ(1u, registry.OpenHandleCount());
    }
    EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST(MemoryRegistry, HandleToDeletedKeyAnswersKeyDeleted) {
    MemoryRegistry registry;
    RegKey key(registry);
    ASSERT_EQ(winerr::kSuccess,
              key.Create(regroot::kCurrentUser, "K\\child", regaccess::kAllAccess));
    ASSERT_EQ(winerr::kSuccess, registry.DeleteTree(regroot::kCurrentUser, "K"));
    EXPECT_EQ(winerr::kKeyDeleted, registry.SetValue(key.Get(), "v", regtype::kSz, "x", 1));
}

TEST(MemoryRegistry, GbkTrailByteBackslashDoesNotSplitAKeyName) {
    MemoryRegistry registry;
    const std::string name = "\x81\x5C";  // one double-byte character
    RegKey key(registry);
    ASSERT_EQ(winerr::kSuccess, key.Create(regroot::kCurrentUser, name, regaccess::kAllAccess));
    char buffer[8];
    std::uint32_t size = sizeof buffer;
    ASSERT_EQ(winerr::kSuccess, registry.EnumKey(regroot::kCurrentUser, 0, buffer, &size));
    EXPECT_EQ(name, std::string(buffer, size));
}

TEST(MemoryRegistry, GbkTrailByteLetterIsNotCaseFolded) {
    MemoryRegistry registry;
    RegKey key(registry);
    ASSERT_EQ(winerr::kSuccess, key.Create(regroot::kCurrentUser, "K", regaccess::kAllAccess));
    ASSERT_EQ(winerr::kSuccess, registry.SetValue(key.Get(), "\x81\x41", regtype::kSz, "x", 1));
    std::uint32_t size = 0;
    EXPECT_EQ(winerr::kFileNotFound,
              registry.QueryValue(key.Get(), "\x81\x61", nullptr, nullptr, &size));
}

}  // namespace
