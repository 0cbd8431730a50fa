// The AutoComplete step against the in-memory platform: the form lines, what Clear
// removes and Test leaves, the access lists put back, the road each Windows version
// takes, and the faults Wine cannot produce.
#include "autocomplete/autocomplete_eraser.h"

#include <gtest/gtest.h>

#include <map>

#include "app/eraser_dlg.h"
#include "autocomplete/key_access.h"
#include "clean/erasers.h"
#include "log_lines.h"
#include "platform/memory/memory_platform.h"

namespace {

const std::string kProvider = autocomplete::kProviderPath;
const std::string kGuid = autocomplete::kTypeKey;
const std::string kSidText = "S-1-5-21-1004336348-1177238915-682003330-1000";
const std::string kNtUserKey = kProvider + kSidText;
const std::string kNtTypeKey = kNtUserKey + "\\Data\\" + kGuid;
const std::string kNtSubtypeKey = kNtTypeKey + "\\" + kGuid;
const std::string kNineXTypeKey = kProvider + MemoryAccounts::kDefaultUser + "\\Data\\" + kGuid;
const ByteBlock kLocalSystem = WriteSid({sidlayout::kRevision, kNtAuthority, {18}});

const std::string kEmailLine = "Form: \"email\" - cleared";
const std::string kSearchLine = "Form: \"q\" (Search engines form)  - cleared";
const Lines kEmailAndSearch = {"email:StringData", "email:StringIndex", "q:StringData",
                               "q:StringIndex"};

const OsVersionInfo kNt4{4, 0, 1381, osplatform::kNt};
const OsVersionInfo kWin2000{5, 0, 2195, osplatform::kNt};
const OsVersionInfo kWinXp{5, 1, 2600, osplatform::kNt};
const OsVersionInfo kWin2003{5, 2, 3790, osplatform::kNt};
const OsVersionInfo kWin98{4, 10, 2222, osplatform::kWindows};

class AutoCompleteStep : public ::testing::Test {
protected:
    // The NT area as Windows keeps it: the user key, "Data", the type key, the subtype
    // key and the items, each letting only LocalSystem in. The items are made below the
    // subtype key, since their paths from the root may be too long to name at once.
    // Returns the paths of the keys above the items.
    Lines SeedNt(const Lines& items) {
        Lines paths = {kNtUserKey, kNtUserKey + "\\Data", kNtUserKey + "\\Data\\other-type",
                       kNtTypeKey, kNtSubtypeKey};
        for (const std::string& path : paths) {
            Create(regroot::kCurrentUser, path);
        }
        RegKey subtype = Subtype(regaccess::kAllAccess);
        for (const std::string& item : items) {
            Create(subtype.Get(), item);
            Lock(subtype.Get(), item);
        }
        for (const std::string& path : paths) {
            Lock(regroot::kCurrentUser, path);
        }
        return paths;
    }
    RegKey Subtype(std::uint32_t access) {
        RegKey key(mem.registry);
        EXPECT_EQ(winerr::kSuccess, key.Open(regroot::kCurrentUser, kNtSubtypeKey, access));
        return key;
    }
    ByteBlock ItemList(const std::string& item) {
        ByteBlock list;
        ReadKeyDacl(mem.registry, Subtype(0).Get(), item, &list);
        return list;
    }
    void SeedNineX(const Lines& items) {
        for (const std::string& item : items) {
            Create(regroot::kLocalMachine, kNineXTypeKey + "\\" + kGuid + "\\" + item);
        }
    }
    void Create(HKey root, const std::string& path) {
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess, key.Create(root, path, regaccess::kAllAccess));
    }
    void Lock(HKey parent, const std::string& path) {
        DescriptorFields fields;
        fields.control = sdlayout::kSelfRelative | sdlayout::kDaclPresent;
        fields.dacl = WriteAcl({{acelayout::kAccessAllowed, acelayout::kContainerInherit,
                                 regaccess::kAllAccess, kLocalSystem}});
        ByteBlock descriptor = WriteDescriptor(fields);
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess, key.Open(parent, path, regaccess::kWriteDac));
        ASSERT_EQ(winerr::kSuccess,
                  mem.registry.SetKeySecurity(key.Get(), secinfo::kDacl, descriptor.data(),
                                              static_cast<std::uint32_t>(descriptor.size())));
    }
    // Asks for no right, so that a key whose list keeps the user out is found too.
    bool Exists(HKey root, const std::string& path) {
        RegKey key(mem.registry);
        return key.Open(root, path, 0) == winerr::kSuccess;
    }
    // Every access list of the given keys; a key that is gone has none.
    std::map<std::string, ByteBlock> AccessLists(const Lines& paths) {
        std::map<std::string, ByteBlock> lists;
        for (const std::string& path : paths) {
            ReadKeyDacl(mem.registry, regroot::kCurrentUser, path, &lists[path]);
        }
        return lists;
    }
    bool Erase(bool testMode) { return EraseAutoComplete(dlg, testMode, dlg.log); }
    Lines Log() const { return LogLines(dlg.log); }

    MemoryPlatform mem;
    EraserDlg dlg{mem.platform};
};

TEST(ReportFormEntry, OneLinePerFieldFromItsIndexItem) {
    struct Row {
        const char* name;
        const char* line;  // null: no line
    };
    const Row rows[] = {
        {"q:StringIndex", "Form: \"q\" (Search engines form)  - cleared"},
        {"email:StringIndex", "Form: \"email\" - cleared"},
        {"Q:StringIndex", "Form: \"Q\" - cleared"},
        {"qq:StringIndex", "Form: \"qq\" - cleared"},
        {"搜索:StringIndex", "Form: \"搜索\" - cleared"},
        {"a:StringIndex:StringIndex", "Form: \"a\" - cleared"},
        {":StringIndex", "Form: \"\" - cleared"},
        {"q:StringData", nullptr},
        {"x:StringIndex:StringData", nullptr},
        {"x:StringData:StringIndex", nullptr},
        {"e161255a-37c3-11d2-bcaa-00c04fd929db", nullptr},
        {"email:stringindex", nullptr},
    };
    for (const Row& row : rows) {
        for (bool testMode : {false, true}) {
            ActivityLog log;
            FormEntryReport report{&log, testMode, false};
            ReportFormEntry(report, row.name);
            EXPECT_EQ(row.line != nullptr, report.formEntryFound) << row.name;
            if (row.line != nullptr) {
                ASSERT_EQ(1, log.LineCount()) << row.name;
                EXPECT_EQ(row.line, log.Lines()[0].text) << row.name;
                EXPECT_EQ(emphasis::kPlain, log.Lines()[0].emphasis);
            } else {
                EXPECT_EQ(0, log.LineCount()) << row.name;
            }
        }
    }
}

TEST(ReportFormEntry, RawLineIsNeitherCutNorScrolled) {
    ActivityLog log;
    FormEntryReport report{&log, false, false};
    std::string field(500, 'f');
    ReportFormEntry(report, (field + ":StringIndex").c_str());
    ASSERT_EQ(1, log.LineCount());
    EXPECT_EQ("Form: \"" + field + "\" - cleared", log.Lines()[0].text);
    EXPECT_EQ(0, log.HorizontalExtent());
    ReportFormEntry(report, nullptr);
    FormEntryReport noLog{nullptr, false, false};
    ReportFormEntry(noLog, "q:StringIndex");
    EXPECT_FALSE(noLog.formEntryFound);
    EXPECT_EQ(1, log.LineCount());
}

// The whole group as the run writes it, Clear beside Test, with and without entries.
struct FrameRow {
    bool testMode;
    bool seeded;
    Lines group;
};

class AutoCompleteFrame : public AutoCompleteStep,
                          public ::testing::WithParamInterface<FrameRow> {};

TEST_P(AutoCompleteFrame, RunFrameAroundTheFormLines) {
    const FrameRow& row = GetParam();
    if (row.seeded) {
        SeedNt(kEmailAndSearch);
    }
    EraserSettings& s = dlg.settings;
    for (std::int32_t* field : {&s.clearHistory, &s.clearCookies, &s.clearTempInternetFiles,
                                &s.clearIndexDat, &s.resetStartPage, &s.emptyRecycleBin,
                                &s.clearRecentDocs, &s.clearWindowsTemp, &s.clearSearchHistory}) {
        *field = 0;
    }
    dlg.osVersion = osver::kWinXp;
    row.testMode ? dlg.OnTest() : dlg.OnClear();
    const std::string sep(44, '.');
    Lines expected = {"操作系统: Windows XP", sep, "**正在分析系统 <OK>", sep};
    expected.insert(expected.end(), row.group.begin(), row.group.end());
    expected.insert(expected.end(), {sep, "完成!"});
    EXPECT_EQ(expected, Log());
}

INSTANTIATE_TEST_SUITE_P(
    ClearBesideTest, AutoCompleteFrame,
    ::testing::Values(
        FrameRow{false,
                 true,
                 {"**删除自动填表数据...", "", kEmailLine, kSearchLine, "",
                  "**自动填表数据已删除 <OK>"}},
        FrameRow{true,
                 true,
                 {"**测试: 正在删除自动完成内容...", "", kEmailLine, kSearchLine, "",
                  "**测试: 自动完成的内容已删除 <OK>"}},
        FrameRow{false, false, {"**删除自动填表数据...", "", "**没有要删除的自动填表数据 <OK>"}},
        FrameRow{
            true,
            false,
            {"**测试: 正在删除自动完成内容...", "", "**测试: 没有可以删除的自动完成内容 <OK>"}}));

// Test lists every field and leaves every key and list; Clear lists them again, removes
// the type key and puts every other list back.
TEST_F(AutoCompleteStep, NtTestChangesNothingAndClearRemovesTheTypeKey) {
    Lines paths = SeedNt(kEmailAndSearch);
    auto before = AccessLists(paths);
    EXPECT_TRUE(Erase(true));
    EXPECT_EQ(before, AccessLists(paths));
    for (const std::string& path : paths) {
        EXPECT_TRUE(Exists(regroot::kCurrentUser, path)) << path;
    }
    EXPECT_TRUE(Erase(false));
    EXPECT_EQ((Lines{kEmailLine, kSearchLine, kEmailLine, kSearchLine}), Log());
    EXPECT_FALSE(Exists(regroot::kCurrentUser, kNtTypeKey));
    for (const std::string& path :
         {kNtUserKey, kNtUserKey + "\\Data", kNtUserKey + "\\Data\\other-type"}) {
        EXPECT_TRUE(Exists(regroot::kCurrentUser, path)) << path;
        EXPECT_EQ(before[path], AccessLists({path})[path]) << path;
    }
    EXPECT_EQ(0u, mem.registry.OpenHandleCount());
}

TEST_F(AutoCompleteStep, EmptyAreaFindsNothingButClearStillRemovesTheTypeKey) {
    Lines paths = SeedNt({});
    EXPECT_FALSE(Erase(true));
    EXPECT_TRUE(Exists(regroot::kCurrentUser, kNtTypeKey));
    EXPECT_FALSE(Erase(false));
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(Exists(regroot::kCurrentUser, kNtTypeKey));
    EXPECT_FALSE(Erase(false));  // no area at all
}

TEST_F(AutoCompleteStep, NamesBeyondTheBufferAreSkippedNotCut) {
    std::string field;
    for (int i = 0; i < 124; ++i) {
        field += "字";  // with ":StringIndex", 260 bytes: the 261-byte buffer holds it
    }
    const Lines items = {field + ":StringIndex", "字" + field + ":StringIndex", "Q:StringIndex"};
    SeedNt(items);
    std::map<std::string, ByteBlock> before;
    for (const std::string& item : items) {
        before[item] = ItemList(item);
        EXPECT_FALSE(before[item].empty());
    }
    EXPECT_TRUE(Erase(true));
    EXPECT_EQ((Lines{"Form: \"Q\" - cleared", "Form: \"" + field + "\" - cleared"}), Log());
    for (const std::string& item : items) {
        EXPECT_EQ(before[item], ItemList(item));  // put back though too deep to name at once
    }
}

// A step that cannot get the user's name or SID, build its grant or open the type key's
// list lists nothing, removes nothing and leaves every access list as it found it. Without
// the user name there is no key of this user to look at, on either road.
struct RefusalRow {
    const char* name;
    OsVersionInfo version;
    void (*inject)(MemoryPlatform&);
};

class AutoCompleteRefusals : public AutoCompleteStep,
                             public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(AutoCompleteRefusals, ChangeNothing) {
    mem.system.version = GetParam().version;
    Lines paths = SeedNt(kEmailAndSearch);
    SeedNineX(kEmailAndSearch);
    auto before = AccessLists(paths);
    GetParam().inject(mem);
    EXPECT_FALSE(Erase(false));
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(before, AccessLists(paths));
    EXPECT_TRUE(Exists(regroot::kCurrentUser, kNtTypeKey));
    EXPECT_TRUE(Exists(regroot::kLocalMachine, kNineXTypeKey));
}

void NoUserName(MemoryPlatform& m) {
    m.accounts.faults.Fail("Accounts.QueryUserName", winerr::kAccessDenied);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AutoCompleteRefusals,
    ::testing::Values(RefusalRow{"NoUserNameXp", kWinXp, NoUserName},
                      RefusalRow{"NoUserName98", kWin98, NoUserName},
                      RefusalRow{"NoSid", kWinXp,
                                 [](MemoryPlatform& m) {
                                     m.accounts.faults.Fail("Accounts.LookupAccount",
                                                            winerr::kNoneMapped);
                                 }},
                      RefusalRow{"GrantCannotBeBuilt", kWinXp,
                                 [](MemoryPlatform& m) {
                                     m.security.faults.Fail("Security.MakeDescriptor",
                                                            winerr::kAccessDenied);
                                 }},
                      RefusalRow{"TypeKeyListRefused", kWinXp,
                                 [](MemoryPlatform& m) {
                                     m.registry.faults.Fail("Registry.SetKeySecurity",
                                                            winerr::kAccessDenied, kGuid);
                                 }}),
    [](const ::testing::TestParamInfo<RefusalRow>& info) { return std::string(info.param.name); });

// The subtype key belongs to another account and its list keeps the user out: its name
// is reported (and gives no line), nothing below it is visited, the deletion stops at it,
// and every list the step changed is put back.
TEST_F(AutoCompleteStep, KeyClosedToWriteDacIsNotWalkedAndListsComeBack) {
    Lines paths = SeedNt(kEmailAndSearch);
    const std::string subtype = kNtSubtypeKey;
    ASSERT_EQ(winerr::kSuccess,
              mem.registry.SetKeyOwner(regroot::kCurrentUser, subtype, kLocalSystem));
    Lines readable(paths.begin(), paths.begin() + 4);
    auto before = AccessLists(readable);
    EXPECT_FALSE(Erase(false));
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(Exists(regroot::kCurrentUser, subtype));
    EXPECT_TRUE(Exists(regroot::kCurrentUser, kNtTypeKey));
    EXPECT_EQ(before, AccessLists(readable));
}

TEST_F(AutoCompleteStep, RefusedListWriteOnDataStillWalksTheTypeKey) {
    Lines paths = SeedNt(kEmailAndSearch);
    auto before = AccessLists(paths);
    mem.registry.faults.Fail("Registry.SetKeySecurity", winerr::kAccessDenied, "\\Data", 1);
    EXPECT_TRUE(Erase(true));
    EXPECT_EQ((Lines{kEmailLine, kSearchLine}), Log());
    EXPECT_EQ(before, AccessLists(paths));
}

// A Clear whose deletion is refused lists the entries and leaves every key, and every
// access list, as it found them.
TEST_F(AutoCompleteStep, RefusedDeletionLeavesKeysAndListsAsTheyWere) {
    Lines paths = SeedNt(kEmailAndSearch);
    auto before = AccessLists(paths);
    mem.registry.faults.Fail("Registry.DeleteTree", winerr::kAccessDenied);
    EXPECT_TRUE(Erase(false));
    EXPECT_EQ((Lines{kEmailLine, kSearchLine}), Log());
    EXPECT_EQ(before, AccessLists(paths));
}

// Which area each Windows version looks at: NT 4, 2000 and XP the user's SID key below
// the current user, every other version (Server 2003 and an unknown one included) the
// user name key below the local machine.
struct RoadRow {
    const char* name;
    OsVersionInfo version;
    bool queryFails;
    bool ntRoad;
};

class AutoCompleteVersions : public AutoCompleteStep,
                             public ::testing::WithParamInterface<RoadRow> {};

TEST_P(AutoCompleteVersions, EachVersionTakesItsRoad) {
    const RoadRow& row = GetParam();
    SeedNt({"email:StringIndex"});
    SeedNineX({"q:StringIndex"});
    mem.system.version = row.version;
    mem.system.versionQueryFails = row.queryFails;
    EXPECT_TRUE(Erase(true));
    EXPECT_EQ(Lines{row.ntRoad ? kEmailLine : kSearchLine}, Log());
    EXPECT_TRUE(Erase(false));
    EXPECT_EQ(row.ntRoad, !Exists(regroot::kCurrentUser, kNtTypeKey));
    EXPECT_EQ(row.ntRoad, Exists(regroot::kLocalMachine, kNineXTypeKey));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, AutoCompleteVersions,
    ::testing::Values(RoadRow{"Nt4", kNt4, false, true}, RoadRow{"Win2000", kWin2000, false, true},
                      RoadRow{"WinXp", kWinXp, false, true},
                      RoadRow{"Win2003", kWin2003, false, false},
                      RoadRow{"Win98", kWin98, false, false},
                      RoadRow{"WinMe", {4, 90, 3000, osplatform::kWindows}, false, false},
                      RoadRow{"Unknown", {6, 0, 6000, osplatform::kNt}, false, false},
                      RoadRow{"NoAnswer", kWinXp, true, false}),
    [](const ::testing::TestParamInfo<RoadRow>& info) { return std::string(info.param.name); });

TEST_F(AutoCompleteStep, NineXTestListsAndClearRemovesOnlyTheTypeKey) {
    mem.system.version = kWin98;
    SeedNineX(kEmailAndSearch);
    Create(regroot::kLocalMachine, kProvider + MemoryAccounts::kDefaultUser + "\\Data\\other-type");
    EXPECT_TRUE(Erase(true));
    EXPECT_TRUE(Exists(regroot::kLocalMachine, kNineXTypeKey + "\\" + kGuid + "\\q:StringData"));
    EXPECT_TRUE(Erase(false));
    EXPECT_EQ((Lines{kEmailLine, kSearchLine, kEmailLine, kSearchLine}), Log());
    EXPECT_FALSE(Exists(regroot::kLocalMachine, kNineXTypeKey));
    EXPECT_TRUE(Exists(regroot::kLocalMachine,
                       kProvider + MemoryAccounts::kDefaultUser + "\\Data\\other-type"));
    EXPECT_FALSE(Erase(false));
}

}  // namespace
