// The pieces that reach the Protected Storage area, against the in-memory platform: the
// SID text, the user's SID, reading and granting access lists, and the subtree walk.
#include "autocomplete/key_access.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "app/command_state.h"
#include "platform/memory/memory_platform.h"

namespace {

ByteBlock Sid(SidAuthority authority, std::vector<std::uint32_t> subAuthorities) {
    return WriteSid({sidlayout::kRevision, authority, std::move(subAuthorities)});
}
const ByteBlock kLocalSystem = Sid(kNtAuthority, {18});
const ByteBlock kStranger = Sid(kNtAuthority, {21, 7, 7, 7, 1001});

ByteBlock DaclDescriptor(const std::vector<AceFields>& aces) {
    DescriptorFields fields;
    fields.control = sdlayout::kSelfRelative | sdlayout::kDaclPresent;
    fields.dacl = WriteAcl(aces);
    return WriteDescriptor(fields);
}
const ByteBlock kLocalSystemOnly =
    DaclDescriptor({{acelayout::kAccessAllowed, 0, regaccess::kAllAccess, kLocalSystem}});

std::string Formatted(const ByteBlock& sid, std::uint32_t length = keyaccess::kSidTextSize) {
    char text[keyaccess::kSidTextSize];
    if (!FormatSidString(sid, text, &length)) {
        return "false, length " + std::to_string(length);
    }
    return text;
}

TEST(FormatSidString, KnownSids) {
    struct Row {
        SidAuthority authority;
        std::vector<std::uint32_t> subAuthorities;
        const char* text;
    };
    const Row rows[] = {
        {kNtAuthority, {18}, "S-1-5-18"},
        {kWorldAuthority, {0}, "S-1-1-0"},
        {kNtAuthority,
         {21, 1004336348, 1177238915, 682003330, 1000},
         "S-1-5-21-1004336348-1177238915-682003330-1000"},
        {{{0, 0, 0xff, 0xff, 0xff, 0xff}}, {4294967295u}, "S-1-4294967295-4294967295"},
        {{{0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc}}, {1}, "S-1-0x123456789abc-1"},
        {{{0, 1, 0, 0, 0, 0}}, {7}, "S-1-0x000100000000-7"},
        {{{1, 0, 0, 0, 0, 5}}, {1, 2, 3, 4, 5}, "S-1-0x010000000005-1-2-3-4-5"},
        {kNtAuthority, {}, "S-1-5"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.text, Formatted(Sid(row.authority, row.subAuthorities))) << row.text;
    }
}

TEST(FormatSidString, BufferMustHold28BytesAnd12PerSubAuthority) {
    ByteBlock five = Sid({{0, 1, 0, 0, 0, 0}}, {1, 2, 3, 4, 5});
    char text[88];
    std::memset(text, '#', sizeof text);
    std::uint32_t length = 87;
    EXPECT_FALSE(FormatSidString(five, text, &length));
    EXPECT_EQ(88u, length);
    EXPECT_EQ('#', text[0]);
    ASSERT_TRUE(FormatSidString(five, text, &length));
    EXPECT_STREQ("S-1-0x000100000000-1-2-3-4-5", text);

    EXPECT_EQ("false, length 28", Formatted(Sid(kNtAuthority, {}), 27));
    // The most a SID can hold, every number at its widest, fits what it asks for.
    std::vector<std::uint32_t> widest(15, 4294967295u);
    std::string text15 = Formatted(Sid({{0xff, 0, 0, 0, 0, 0}}, widest), 208);
    EXPECT_EQ(18u + 15 * 11, text15.size());
    EXPECT_EQ("false, length 208", Formatted(Sid(kNtAuthority, widest), 207));
}

TEST(FormatSidString, InvalidSidIsRefusedWithoutTouchingTheBuffer) {
    ByteBlock wrongRevision = Sid(kNtAuthority, {18});
    wrongRevision[0] = 2;
    ByteBlock sixteen = Sid(kNtAuthority, std::vector<std::uint32_t>(16, 1));
    ByteBlock cut = Sid(kNtAuthority, {21, 1, 2, 3, 1000});
    cut.resize(cut.size() - 1);
    for (const ByteBlock& sid : {wrongRevision, sixteen, cut, ByteBlock{}}) {
        char text[256] = "untouched";
        std::uint32_t length = sizeof text;
        EXPECT_FALSE(FormatSidString(sid, text, &length));
        EXPECT_STREQ("untouched", text);
        EXPECT_EQ(256u, length);
    }
}

TEST(DetectWindowsVersion, ComputesAfreshAndFailsToZero) {
    MemorySystem system;
    int code = -1;
    ASSERT_TRUE(DetectWindowsVersion(system, &code));
    EXPECT_EQ(osver::kWinXp, code);
    system.version = OsVersionInfo{5, 0, 2195, osplatform::kNt};
    ASSERT_TRUE(DetectWindowsVersion(system, &code));
    EXPECT_EQ(osver::kWin2000, code);
    system.versionQueryFails = true;
    EXPECT_FALSE(DetectWindowsVersion(system, &code));
    EXPECT_EQ(osver::kUnknown, code);
}

class UserSid : public ::testing::Test {
protected:
    MemoryAccount& Me() { return mem.accounts.accounts[MemoryAccounts::kDefaultUser]; }
    MemoryPlatform mem;
    ByteBlock sid{0xbd};
};

TEST_F(UserSid, FoundInTheFirstBlocksOrAfterTheyGrow) {
    Me().domain = "CORVANE-PC-0123";  // 15 characters: fits 16 bytes with its NUL
    ASSERT_TRUE(GetCurrentUserSid(mem.platform, &sid));
    EXPECT_EQ(keyaccess::kSidBlockSize, sid.size());
    EXPECT_EQ(MemoryAccounts::DefaultUserSid(), ByteBlock(sid.begin(), sid.begin() + 28));
    Me().domain = "CORVANE-PC-01234";  // 16 characters
    ASSERT_TRUE(GetCurrentUserSid(mem.platform, &sid));
    EXPECT_EQ(MemoryAccounts::DefaultUserSid(), sid);  // grown to the size asked for
}

TEST_F(UserSid, FailuresLeaveTheOutputAlone) {
    mem.accounts.faults.Fail("Accounts.QueryUserName", winerr::kAccessDenied, "", 1);
    EXPECT_FALSE(GetCurrentUserSid(mem.platform, &sid));
    mem.accounts.userName = "ghost";
    EXPECT_FALSE(GetCurrentUserSid(mem.platform, &sid));
    mem.accounts.userName = MemoryAccounts::kDefaultUser;
    // A lookup that keeps asking for room without saying for how much ends, too.
    mem.accounts.faults.Fail("Accounts.LookupAccount", winerr::kInsufficientBuffer);
    EXPECT_FALSE(GetCurrentUserSid(mem.platform, &sid));
    EXPECT_EQ(ByteBlock{0xbd}, sid);
}

class KeyAccess : public ::testing::Test {
protected:
    static constexpr char kRoot[] = "Software\\CorvaneKeys";

    void Create(const std::string& below) {
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess,
                  key.Create(regroot::kCurrentUser, Path(below), regaccess::kAllAccess));
    }
    static std::string Path(const std::string& below) {
        return below.empty() ? kRoot : std::string(kRoot) + "\\" + below;
    }
    void SetList(const std::string& below, const ByteBlock& descriptor) {
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess,
                  key.Open(regroot::kCurrentUser, Path(below), regaccess::kWriteDac));
        ASSERT_EQ(winerr::kSuccess,
                  mem.registry.SetKeySecurity(key.Get(), secinfo::kDacl, descriptor.data(),
                                              static_cast<std::uint32_t>(descriptor.size())));
    }
    // Owned by another account, so that only the list decides.
    void HandOver(const std::string& below, const ByteBlock& descriptor) {
        SetList(below, descriptor);
        ASSERT_EQ(winerr::kSuccess,
                  mem.registry.SetKeyOwner(regroot::kCurrentUser, Path(below), kStranger));
    }
    ByteBlock List(const std::string& below) {
        ByteBlock saved;
        EXPECT_TRUE(ReadKeyDacl(mem.registry, regroot::kCurrentUser, Path(below), &saved));
        return saved;
    }
    ByteBlock Grant() {
        ByteBlock grant;
        EXPECT_TRUE(BuildGrantDescriptor(mem.security, MemoryAccounts::DefaultUserSid(), &grant));
        return grant;
    }
    // Applies the grant to the key below the root and returns the names reported.
    std::string Walk(const std::string& below, bool recursive, bool* result = nullptr) {
        std::string names;
        KeyDaclWalk walk{mem.registry,
                         [&](const char* name) { names += std::string(name) + " "; },
                         recording ? &changed : nullptr,
                         {}};
        bool ok = ApplyKeyDacl(walk, regroot::kCurrentUser, Path(below).c_str(), grant, recursive);
        EXPECT_TRUE(walk.links.empty());
        if (result != nullptr) {
            *result = ok;
        }
        return names;
    }

    MemoryPlatform mem;
    ByteBlock grant = Grant();
    bool recording = false;
    std::vector<SavedKeyDacl> changed;
};

TEST_F(KeyAccess, ReadKeyDaclGivesTheDaclDescriptor) {
    Create("k");
    SetList("k", kLocalSystemOnly);
    EXPECT_EQ(kLocalSystemOnly, List("k"));  // the owner may read it though it may not enter

    ByteBlock saved{1, 2, 3};
    EXPECT_FALSE(ReadKeyDacl(mem.registry, regroot::kCurrentUser, Path("missing"), &saved));
    EXPECT_TRUE(saved.empty());
    HandOver("k", kLocalSystemOnly);
    EXPECT_FALSE(ReadKeyDacl(mem.registry, regroot::kCurrentUser, Path("k"), &saved));
    Create("other");
    mem.registry.faults.Fail("Registry.GetKeySecurity", winerr::kAccessDenied, "other");
    EXPECT_FALSE(ReadKeyDacl(mem.registry, regroot::kCurrentUser, Path("other"), &saved));
    EXPECT_EQ(0u, mem.registry.OpenHandleCount());
}

TEST_F(KeyAccess, GrantGivesUserAndLocalSystemFullInheritedAccess) {
    const std::uint8_t inherit = acelayout::kObjectInherit | acelayout::kContainerInherit;
    ByteBlock expected = DaclDescriptor(
        {{acelayout::kAccessAllowed, inherit, 0xF003F, MemoryAccounts::DefaultUserSid()},
         {acelayout::kAccessAllowed, inherit, 0xF003F, kLocalSystem}});
    EXPECT_EQ(expected, grant);
    AclFields acl;
    ASSERT_TRUE(ReadAcl(expected.data() + 20, expected.size() - 20, &acl));
    EXPECT_EQ(24u + 28 + 12, acl.size);
}

TEST_F(KeyAccess, GrantFailsWithAnyBuildingCall) {
    for (const char* call : {"Security.MakeSid", "Security.StartAccessList",
                             "Security.AppendAccessEntry", "Security.MakeDescriptor"}) {
        mem.security.faults.Fail(call, winerr::kAccessDenied, "", 1);
        ByteBlock descriptor{7};
        EXPECT_FALSE(
            BuildGrantDescriptor(mem.security, MemoryAccounts::DefaultUserSid(), &descriptor))
            << call;
        EXPECT_EQ(ByteBlock{7}, descriptor) << call;
    }
    ByteBlock descriptor;
    EXPECT_FALSE(BuildGrantDescriptor(mem.security, ByteBlock{9, 9}, &descriptor));
}

// Deepest child first, then its parent, then the next sibling; every key below the
// start gets the grant, the start included.
TEST_F(KeyAccess, RecursiveWalkReportsDepthFirstAfterEachSubtree) {
    for (const char* below : {"t\\a\\a1\\a11", "t\\a\\a2", "t\\b"}) {
        Create(below);
    }
    for (const char* below : {"t", "t\\a", "t\\a\\a1", "t\\a\\a1\\a11", "t\\a\\a2", "t\\b"}) {
        SetList(below, kLocalSystemOnly);
    }
    EXPECT_EQ("a11 a1 a2 a b ", Walk("t", true));
    for (const char* below : {"t", "t\\a", "t\\a\\a1", "t\\a\\a1\\a11", "t\\a\\a2", "t\\b"}) {
        EXPECT_EQ(grant, List(below)) << below;
    }
    EXPECT_EQ(0u, mem.registry.OpenHandleCount());
}

TEST_F(KeyAccess, LeafWalkedRecursivelyIsGrantedAndReportsNothing) {
    Create("leaf");
    bool ok = false;
    EXPECT_EQ("", Walk("leaf", true, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(grant, List("leaf"));
    KeyDaclWalk walk{mem.registry, nullptr, nullptr, {}};
    EXPECT_FALSE(ApplyKeyDacl(walk, regroot::kCurrentUser, nullptr, grant, false));
}

// A key that may not be opened for WRITE_DAC is reported by its parent's walk but not
// entered; its siblings are walked as usual.
TEST_F(KeyAccess, KeyClosedToWriteDacEndsOnlyItsBranch) {
    Create("t\\a\\inside");
    Create("t\\b");
    HandOver("t\\a", kLocalSystemOnly);
    bool ok = false;
    EXPECT_EQ("a b ", Walk("t", true, &ok));
    EXPECT_TRUE(ok);
    RegKey key(mem.registry);
    EXPECT_EQ(winerr::kAccessDenied,
              key.Open(regroot::kCurrentUser, Path("t\\a"), regaccess::kRead));
    EXPECT_NE(grant, List("t\\a\\inside"));
    EXPECT_EQ(grant, List("t\\b"));
    EXPECT_EQ("", Walk("t\\a", true, &ok));
    EXPECT_FALSE(ok);
}

TEST_F(KeyAccess, RefusedWriteEndsOnlyThatKey) {
    Create("t\\a\\inside");
    Create("t\\b");
    mem.registry.faults.Fail("Registry.SetKeySecurity", winerr::kAccessDenied, "t\\a");
    EXPECT_EQ("a b ", Walk("t", true));
    EXPECT_NE(grant, List("t\\a"));
    EXPECT_NE(grant, List("t\\a\\inside"));
    EXPECT_EQ(grant, List("t\\b"));
}

TEST_F(KeyAccess, RecordedChangesAreUndoneLastFirstSkippingDeletedKeys) {
    Create("t\\a");
    Create("t\\b");
    SetList("t", kLocalSystemOnly);
    ByteBlock before = List("t\\a");
    recording = true;
    Walk("t", true);
    ASSERT_EQ(3u, changed.size());
    EXPECT_EQ(std::vector<std::string>{Path("t")}, changed[0].links);
    EXPECT_EQ(kLocalSystemOnly, changed[0].descriptor);
    EXPECT_EQ((std::vector<std::string>{Path("t"), "a"}), changed[1].links);
    ASSERT_EQ(winerr::kSuccess, mem.registry.DeleteTree(regroot::kCurrentUser, Path("t\\b")));
    RestoreKeyDacls(mem.registry, regroot::kCurrentUser, changed);
    EXPECT_EQ(kLocalSystemOnly, List("t"));
    EXPECT_EQ(before, List("t\\a"));
}

// While changes are recorded, a list that cannot be read is not changed: it could not be
// put back. Without recording the key is changed as it stands.
TEST_F(KeyAccess, ListThatCannotBeReadIsLeftAloneWhileRecording) {
    Create("t");
    ByteBlock writeOnly =
        DaclDescriptor({{acelayout::kAccessAllowed, 0,
                         regaccess::kWriteDac | (regaccess::kRead & ~regaccess::kReadControl),
                         WriteSid({1, kWorldAuthority, {0}})}});
    HandOver("t", writeOnly);
    recording = true;
    bool ok = true;
    Walk("t", true, &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(changed.empty());
    recording = false;
    Walk("t", false, &ok);
    EXPECT_TRUE(ok);
}

TEST_F(KeyAccess, SubkeyNamesThatDoNotFitAreSkippedWhole) {
    std::string fits;
    for (int i = 0; i < 130; ++i) {
        fits += "字";  // 260 bytes: with its NUL exactly the 261-byte buffer
    }
    Create("t\\" + fits);
    Create("t\\" + fits + "字");
    Create("t\\plain");
    RegKey key(mem.registry);
    ASSERT_EQ(winerr::kSuccess, key.Open(regroot::kCurrentUser, Path("t"), regaccess::kRead));
    std::vector<std::string> seen;
    EXPECT_TRUE(
        ForEachSubKey(mem.registry, key.Get(), [&](const char* name) { seen.push_back(name); }));
    EXPECT_EQ((std::vector<std::string>{"plain", fits}), seen);

    seen.clear();
    mem.registry.faults.Fail("Registry.EnumKey", winerr::kAccessDenied, "plain", 1);
    EXPECT_TRUE(
        ForEachSubKey(mem.registry, key.Get(), [&](const char* name) { seen.push_back(name); }));
    EXPECT_EQ((std::vector<std::string>{fits}), seen);
    mem.registry.faults.Fail("Registry.QueryKeyInfo", winerr::kAccessDenied);
    EXPECT_FALSE(ForEachSubKey(mem.registry, key.Get(), [&](const char*) { seen.clear(); }));
    EXPECT_EQ(1u, seen.size());
}

}  // namespace
