// The search assistant's completion lists against the in-memory registry.
#include "registry_eraser_fixture.h"

namespace {

const std::string kAcMru = "Software\\Microsoft\\Search Assistant\\ACMru";

// Every text of the eraser, Clear beside Test.
struct Texts {
    bool testMode;
    const char* heading;
    const char* entry;
    const char* erased;
    const char* empty;
};
const Texts kModes[] = {
    {false, "**正在删除 Windows 搜索历史记录...", "正在删除",
     "**Windows 搜索历史记录已被删除。 <OK>", "**Windows 搜索历史记录为空。 <OK>"},
    {true, "**测试: 正在删除 Windows 搜索历史记录...", "测试: 正在删除 ",
     "**测试: Windows 搜索历史记录已被删除。 <OK>", "**测试: Windows 搜索历史记录为空。 <OK>"},
};

class SearchHistory : public RegistryEraser {
protected:
    void SeedTwoLists() {
        PutText(kAcMru + "\\5603", "000", "税务 申报");
        PutText(kAcMru + "\\5603", "001", "report.doc");
        PutText(kAcMru + "\\5647", "000", "printer driver");
    }
    void Run(const Texts& mode) {
        dlg.log.ClearLog();
        EraseSearchHistory(dlg, mode.testMode);
    }
};

// Test lists every entry and changes nothing; Clear lists them, empties the lists and
// keeps their keys.
TEST_F(SearchHistory, EveryEntryOfEveryListIsListed) {
    for (const Texts& mode : kModes) {
        SeedTwoLists();
        Run(mode);
        std::string entry = mode.entry;
        EXPECT_EQ((Lines{mode.heading, "", entry + "税务 申报", entry + "report.doc",
                         entry + "printer driver", "", mode.erased}),
                  Log());
        auto kept = [&](const std::string& data) { return mode.testMode ? data + '\0' : "(none)"; };
        EXPECT_EQ(kept("税务 申报"), Get(kAcMru + "\\5603", "000"));
        EXPECT_EQ(kept("report.doc"), Get(kAcMru + "\\5603", "001"));
        EXPECT_EQ(kept("printer driver"), Get(kAcMru + "\\5647", "000"));
        EXPECT_TRUE(HasKey(kAcMru + "\\5603"));
        EXPECT_TRUE(HasKey(kAcMru + "\\5647"));
        EXPECT_EQ(0u, mem.registry.OpenHandleCount());
    }
}

TEST_F(SearchHistory, WithoutTheKeyOnlyTheHeadingAndWithoutEntriesEmpty) {
    for (const Texts& mode : kModes) {
        mem.registry.DeleteTree(regroot::kCurrentUser, kAcMru);
        Run(mode);
        EXPECT_EQ((Lines{mode.heading, ""}), Log());
        PutKey(kAcMru + "\\5603");
        Run(mode);
        EXPECT_EQ((Lines{mode.heading, "", mode.empty}), Log());
    }
}

TEST_F(SearchHistory, TextsAndNamesLongerThanTheBufferAreLeftAlone) {
    const std::string list = kAcMru + "\\5603";
    PutText(list, "000", std::string(260, 't'));        // 261 bytes with the terminator
    PutText(list, std::string(260, 'n'), "long name");  // names have 259 bytes at most
    Put(list, "001", std::string(260, 'u'));            // fills the buffer exactly
    PutText(list, "002", "short");
    EraseSearchHistory(dlg, false);
    EXPECT_EQ((Lines{kModes[0].heading, "", "正在删除" + std::string(260, 'u'), "正在删除short", "",
                     kModes[0].erased}),
              Log());
    EXPECT_EQ(std::string(260, 't') + '\0', Get(list, "000"));
    EXPECT_EQ(std::string("long name\0", 10), Get(list, std::string(260, 'n')));
    EXPECT_EQ("(none)", Get(list, "002"));
}

TEST_F(SearchHistory, ListWhoseNameIsTooLongIsPassedOver) {
    // Created below its parent: the whole path would be too long for the ANSI calls.
    PutKey(kAcMru);
    RegKey parent(mem.registry);
    ASSERT_EQ(winerr::kSuccess, parent.Open(regroot::kCurrentUser, kAcMru, regaccess::kAllAccess));
    RegKey list(mem.registry);
    ASSERT_EQ(winerr::kSuccess,
              list.Create(parent.Get(), std::string(260, 'k'), regaccess::kAllAccess));
    ASSERT_EQ(winerr::kSuccess,
              mem.registry.SetValue(list.Get(), "000", regtype::kSz, "hidden", 7));
    PutText(kAcMru + "\\5603", "000", "seen");
    EraseSearchHistory(dlg, true);
    EXPECT_EQ((Lines{kModes[1].heading, "", "测试: 正在删除 seen", "", kModes[1].erased}), Log());
}

TEST_F(SearchHistory, RefusedDeletionLeavesTheEntryAndGoesOn) {
    SeedTwoLists();
    mem.registry.faults.Fail("Registry.DeleteValue", winerr::kAccessDenied, "001");
    EraseSearchHistory(dlg, false);
    EXPECT_EQ(7u, Log().size());
    EXPECT_EQ(std::string("report.doc\0", 11), Get(kAcMru + "\\5603", "001"));
    EXPECT_EQ("(none)", Get(kAcMru + "\\5647", "000"));
}

TEST_F(SearchHistory, ListThatCannotBeOpenedCountsAsEmpty) {
    PutText(kAcMru + "\\5603", "000", "locked");
    mem.registry.faults.Fail("Registry.OpenKey", winerr::kAccessDenied, "5603");
    EraseSearchHistory(dlg, false);
    EXPECT_EQ((Lines{kModes[0].heading, "", kModes[0].empty}), Log());
}

}  // namespace
