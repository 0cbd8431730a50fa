// The AutoComplete step against the in-memory platform. Each row seeds both roads' areas,
// the NT one behind lists that let only LocalSystem in, runs Test and then Clear, and
// states the form lines both write and the keys Clear removes. Test changes no key and
// no access list; Clear gives every key it keeps its list back.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include "autocomplete/key_access.h"
#include "clean/erasers.h"
#include "machine.h"

namespace {

const std::string kProvider = "Software\\Microsoft\\Protected Storage System Provider";
const std::string kGuid = "e161255a-37c3-11d2-bcaa-00c04fd929db";
const std::string kNtUser =
    "HKCU\\" + kProvider + "\\S-1-5-21-1004336348-1177238915-682003330-1000";
const std::string kNtType = kNtUser + "\\Data\\" + kGuid, kSubtype = kNtType + "\\" + kGuid;
const std::string kNineXType = "HKLM\\" + kProvider + "\\corvane\\Data\\" + kGuid;
const ByteBlock kSystem = WriteSid({sidlayout::kRevision, kNtAuthority, {18}});
ByteBlock Dacl(const std::vector<AceFields>& aces) {
    return WriteDescriptor(
        {1, sdlayout::kSelfRelative | sdlayout::kDaclPresent, {}, WriteAcl(aces)});
}
const ByteBlock kSystemOnly =
    Dacl({{acelayout::kAccessAllowed, acelayout::kContainerInherit, 0xF003F, kSystem}});
const Lines kItems = {"email:StringData", "email:StringIndex", "q:StringData", "q:StringIndex"};
const Lines kFound = {"Form: \"email\" - cleared", "Form: \"q\" (Search engines form)  - cleared"};
const OsVersionInfo kXp{5, 1, osplatform::kNt};
const OsVersionInfo kNt4{4, 0, osplatform::kNt}, kWin2000{5, 0, osplatform::kNt};
const std::string k124 = seed::Replace(std::string(124, '.'), ".", "字");
using Setup = std::function<void(MemoryPlatform&)>;
const Setup kNone = [](MemoryPlatform&) {};

Setup Fail(const std::string& call, const std::string& match = "", int times = -1,
           WinError error = winerr::kAccessDenied) {
    return [=](MemoryPlatform& m) {
        (call[0] == 'A' ? m.accounts.faults : m.registry.faults).Fail(call, error, match, times);
    };
}

struct Row {
    friend void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }
    const char* name;
    Lines lines;          // what Test and Clear write
    Lines gone;           // the keys Clear removes, with all below them
    Setup setup = kNone;  // before Test and again before Clear
    OsVersionInfo version = kXp;
    Lines items = kItems;  // below the NT area's subtype key
};

struct AutoComplete : Machine, testing::WithParamInterface<Row> {
    // Every key of both areas, " system" when only LocalSystem may enter it, read with
    // LocalSystem in the token. lock first shuts the NT area's keys to everybody else and
    // puts the row's items below its subtype key (from the root their paths are too long).
    Lines Area(bool lock = false) {
        Lines keys;
        mem.registry.tokenSids.push_back(kSystem);
        Walk(regroot::kCurrentUser, kProvider, "HKCU\\" + kProvider, lock, &keys);
        Walk(regroot::kLocalMachine, kProvider, "HKLM\\" + kProvider, lock, &keys);
        mem.registry.tokenSids.pop_back();
        return keys;
    }
    void Walk(HKey parent, const std::string& name, const std::string& path, bool lock,
              Lines* keys) {
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess, key.Open(parent, name, regaccess::kAllAccess));
        std::uint32_t size = static_cast<std::uint32_t>(kSystemOnly.size());
        if (lock && path.rfind(kNtUser, 0) == 0) {
            mem.registry.SetKeySecurity(key.Get(), secinfo::kDacl, kSystemOnly.data(), size);
            for (const std::string& item : path == kSubtype ? GetParam().items : Lines{}) {
                ASSERT_EQ(winerr::kSuccess,
                          RegKey(mem.registry).Create(key.Get(), item, regaccess::kAllAccess));
            }
        }
        ByteBlock list(size = 200);
        mem.registry.GetKeySecurity(key.Get(), secinfo::kDacl, list.data(), &size);
        list.resize(size);
        keys->push_back(path + (list == kSystemOnly ? " system" : ""));
        char sub[300];
        for (std::uint32_t i = 0, n = sizeof sub;
             mem.registry.EnumKey(key.Get(), i, sub, &n) == winerr::kSuccess; ++i, n = sizeof sub) {
            Walk(key.Get(), sub, path + "\\" + sub, lock, keys);
        }
    }
};

TEST_P(AutoComplete, TestChangesNothingAndClearRemovesTheTypeKey) {
    const Row& row = GetParam();
    mem.system.version = row.version;
    const std::string item = "key " + kNineXType + "\\" + kGuid + "\\name:String";
    Seed(mem, {"key " + kSubtype, "key " + kNtUser + "\\Data\\other-type", item + "Index",
               item + "Data", "key HKLM\\" + kProvider + "\\corvane\\Data\\other-type"});
    const Lines before = Area(true), state = State(mem);
    for (bool testMode : {true, false}) {
        row.setup(mem);
        bool found = false;
        EXPECT_EQ(row.lines,
                  LogOf([&] { found = EraseAutoComplete(dlg, testMode, dlg.log).Any(); }));
        EXPECT_EQ(!row.lines.empty(), found);
        mem.registry.faults.Clear();
        Lines after;
        for (const std::string& key : before) {
            auto removes = [&](const std::string& gone) { return key.rfind(gone, 0) == 0; };
            after.insert(after.end(),
                         testMode || std::none_of(row.gone.begin(), row.gone.end(), removes), key);
        }
        EXPECT_EQ(after, Area()) << (testMode ? "Test" : "Clear");
        EXPECT_TRUE(!testMode || state == State(mem));
    }
    EXPECT_EQ(0u, mem.registry.OpenHandleCount());
}

// Xp, Nt4 and Win2000 take the NT road (the roads of 98 and Server 2003 are taken under
// Wine; failures the run survives, in the fault sweep).
// A list that cannot be read is not changed, as it could not be put back, and its key
// stops the deletion. 124 characters and ":StringIndex" fill the 261-byte name buffer; a
// longer name is skipped, not cut, and stops the deletion too. An owner's subtype key
// keeps the user out of it.
// clang-format off
const Row kRows[] = {
    {"Xp", kFound, {kNtType}},
    {"FieldNames", {"Form: \"\" - cleared", "Form: \"a\" - cleared", "Form: \"qq\" - cleared",
                    "Form: \"搜索\" - cleared"}, {kNtType}, kNone, kNt4,
     {"qq:StringIndex", "a:StringIndex:StringIndex", ":StringIndex", "e:stringindex",
      "x:StringIndex:StringData", "x:StringData:StringIndex", "搜索:StringIndex"}},
    {"LongNames", {"Form: \"Q\" - cleared", "Form: \"" + k124 + "\" - cleared"},
     {kSubtype + "\\Q:", kSubtype + "\\" + k124 + ":"}, kNone, kWin2000,
     {k124 + ":StringIndex", k124 + "字:StringIndex", "Q:StringIndex"}},
    {"LookupAsksForRoomForever", {}, {},
     Fail("Accounts.LookupAccount", "", -1, winerr::kInsufficientBuffer)},
    {"ItemListUnreadable", kFound, {kSubtype + "\\email:StringData"},
     Fail("Registry.GetKeySecurity", "email:StringIndex")},
    {"DataListRefused", kFound, {kNtType}, Fail("Registry.SetKeySecurity", "\\Data", 1), kNt4},
    {"SubtypeOfAnotherOwner", {}, {}, [](MemoryPlatform& m) {
         m.registry.SetKeyOwner(regroot::kCurrentUser, kSubtype.substr(5), kSystem); }}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Rows, AutoComplete, ::testing::ValuesIn(kRows),
                         testing::PrintToStringParamName());

std::string Formatted(SidAuthority authority, std::vector<std::uint32_t> subs,
                      std::uint32_t length) {
    char text[256] = "";
    bool ok = FormatSidString(WriteSid({sidlayout::kRevision, authority, std::move(subs)}), text,
                              &length);
    return (ok ? std::string(text) : "refused") + " " + std::to_string(length);
}

// A SID's text needs 28 bytes and 12 for each sub-authority. The grant gives the user and
// LocalSystem full access, inherited. The user's SID comes in its 128-byte block, or in
// one of the size asked for once the domain outgrows its 16 bytes.
TEST(KeyAccess, SidTextGrantAndUserSid) {
    EXPECT_EQ("S-1-4294967295-4294967295 256",
              Formatted({{0, 0, 0xff, 0xff, 0xff, 0xff}}, {4294967295u}, 256));
    const SidAuthority wide{{0, 0x12, 0x34, 0x56, 0x78, 0x9a}};
    EXPECT_EQ("S-1-0x00123456789a-1-2-3-4-5 88", Formatted(wide, {1, 2, 3, 4, 5}, 88));
    EXPECT_EQ("refused 88", Formatted(wide, {1, 2, 3, 4, 5}, 87));
    MemoryPlatform mem;
    ByteBlock grant, sid;
    const ByteBlock user = MemoryAccounts::DefaultUserSid();
    ASSERT_TRUE(BuildGrantDescriptor(mem.security, user, &grant));
    const std::uint8_t inherit = acelayout::kObjectInherit | acelayout::kContainerInherit;
    EXPECT_EQ(Dacl({{acelayout::kAccessAllowed, inherit, 0xF003F, user},
                    {acelayout::kAccessAllowed, inherit, 0xF003F, kSystem}}),
              grant);
    mem.accounts.accounts["corvane"].domain = "CORVANE-PC-0123";
    ASSERT_TRUE(GetCurrentUserSid(mem.platform, &sid));
    EXPECT_EQ(128u, sid.size());
    mem.accounts.accounts["corvane"].domain = "CORVANE-PC-01234";
    ASSERT_TRUE(GetCurrentUserSid(mem.platform, &sid));
    EXPECT_EQ(user, sid);
}

}  // namespace
