// Typed URLs and the Run history against the in-memory registry and windows.
#include "registry_eraser_fixture.h"

namespace {

const std::string kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

struct ModeLines {
    bool testMode;
    const char* prefix;  // of every entry line
};
const ModeLines kModes[] = {{true, "测试: 正在删除分类 URL "}, {false, "正在删除分类 URL "}};

class TypedUrls : public RegistryEraser {
protected:
    TypedUrls() {
        ie = mem.windows.Add("IEFrame", true);
        dlg.window = mem.windows.Add("#32770", false);
        PutText(kRunMru, "a", "notepad\\1");
        PutText(kRunMru, "MRUList", "a");
    }
    size_t Notifications() { return mem.windows.Received(ie).size(); }
    HWnd ie;
};

// Test lists and changes nothing; Clear lists, then deletes the values, the key and the
// Run history and tells the browser windows.
TEST_F(TypedUrls, ClearAndTestListTheUrlValuesAfterOneBlankLine) {
    for (const ModeLines& mode : kModes) {
        dlg.log.ClearLog();
        PutText(kTyped, "url1", "http://www.example.com/");
        PutText(kTyped, "other", "kept until the key goes");
        PutText(kTyped, "url2", "http://新闻.example.org/今天");
        EraseTypedUrls(dlg, mode.testMode);
        EXPECT_EQ((Lines{"", std::string(mode.prefix) + "http://www.example.com/ <OK>",
                         std::string(mode.prefix) + "http://新闻.example.org/今天 <OK>"}),
                  Log())
            << mode.prefix;
        const bool kept = mode.testMode;
        EXPECT_EQ(kept ? std::string("http://www.example.com/\0", 24) : "(none)",
                  Get(kTyped, "url1"));
        EXPECT_EQ(kept ? std::string("kept until the key goes\0", 24) : "(none)",
                  Get(kTyped, "other"));
        EXPECT_EQ(kept, HasKey(kTyped));
        EXPECT_EQ(kept ? std::string("a\0", 2) : "(none)", Get(kRunMru, "MRUList"));
        EXPECT_EQ(kept, HasKey(kRunMru));
        EXPECT_EQ(kept ? 0u : 2u, Notifications());
    }
    EXPECT_EQ(0u, mem.registry.OpenHandleCount());
}

TEST_F(TypedUrls, WithoutTheKeyClearStillForgetsTheRunHistoryAndTestDoesNothing) {
    EraseTypedUrls(dlg, true);
    EXPECT_TRUE(HasKey(kRunMru));
    EXPECT_EQ(0u, Notifications());
    EraseTypedUrls(dlg, false);
    EXPECT_EQ(Lines{}, Log());
    EXPECT_FALSE(HasKey(kRunMru));
    EXPECT_EQ(2u, Notifications());
}

TEST_F(TypedUrls, NamesAreMatchedByTheirFirstThreeLettersInAnyCase) {
    PutText(kTyped, "Url7", "http://seven/");
    PutText(kTyped, "URL", "http://bare/");
    PutText(kTyped, "myurl1", "http://not/");
    PutText(kTyped, "UR", "http://short/");
    EraseTypedUrls(dlg, false);
    EXPECT_EQ(
        (Lines{"", "正在删除分类 URL http://seven/ <OK>", "正在删除分类 URL http://bare/ <OK>"}),
        Log());
}

TEST_F(TypedUrls, EmptyKeyWritesNoLineButIsStillRemoved) {
    PutKey(kTyped);
    EraseTypedUrls(dlg, false);
    EXPECT_EQ(Lines{}, Log());
    EXPECT_FALSE(HasKey(kTyped));
}

// The name list has 1000 places: what lies beyond is neither listed nor deleted, and
// the key stays for the next run, which takes the rest.
TEST_F(TypedUrls, MoreThanAThousandValuesAreClearedOverTwoRuns) {
    for (int i = 1; i <= 1002; ++i) {
        PutText(kTyped, "url" + std::to_string(i), "http://site" + std::to_string(i) + "/");
    }
    EraseTypedUrls(dlg, true);
    EXPECT_EQ(1001u, Log().size());
    dlg.log.ClearLog();
    EraseTypedUrls(dlg, false);
    Lines first = Log();
    ASSERT_EQ(1001u, first.size());
    EXPECT_EQ("正在删除分类 URL http://site1000/ <OK>", first.back());
    EXPECT_TRUE(HasKey(kTyped));
    EXPECT_EQ("(none)", Get(kTyped, "url1000"));
    EXPECT_EQ(std::string("http://site1001/\0", 17), Get(kTyped, "url1001"));
    EXPECT_FALSE(HasKey(kRunMru));

    dlg.log.ClearLog();
    EraseTypedUrls(dlg, false);
    EXPECT_EQ((Lines{"", "正在删除分类 URL http://site1001/ <OK>",
                     "正在删除分类 URL http://site1002/ <OK>"}),
              Log());
    EXPECT_FALSE(HasKey(kTyped));
}

TEST_F(TypedUrls, AddressesLongerThanTheBufferAreNeverShownCut) {
    PutText(kTyped, "url1", std::string(1000, 'a'));  // 1001 bytes with its terminator
    Put(kTyped, "url2", "http://unterminated/");      // no terminator at all
    PutText(kTyped, "url" + std::string(1000, '9'), "http://long-name/");
    EraseTypedUrls(dlg, true);
    EXPECT_EQ((Lines{"", "测试: 正在删除分类 URL http://unterminated/ <OK>"}), Log());
}

TEST_F(TypedUrls, AddressThatFillsTheBufferWithoutATerminatorIsReadNoFurther) {
    Put(kTyped, "url1", "http://" + std::string(993, 'x'));  // exactly 1000 bytes
    EraseTypedUrls(dlg, true);
    ASSERT_EQ(2u, Log().size());
    // The log keeps 400 bytes of it; the sanitizers watch the reading.
    EXPECT_EQ(ActivityLog::kMaxLineBytes, Log()[1].size());
}

TEST_F(TypedUrls, RefusedDeletionsAreNotReportedAndStopNothing) {
    PutText(kTyped, "url1", "http://a/");
    mem.registry.faults.Fail("Registry.DeleteValue", winerr::kAccessDenied);
    mem.registry.faults.Fail("Registry.DeleteKey", winerr::kAccessDenied, "TypedURLs");
    EraseTypedUrls(dlg, false);
    EXPECT_EQ((Lines{"", "正在删除分类 URL http://a/ <OK>"}), Log());
    EXPECT_EQ(std::string("http://a/\0", 10), Get(kTyped, "url1"));
    EXPECT_FALSE(HasKey(kRunMru));
    EXPECT_EQ(2u, Notifications());
}

TEST_F(TypedUrls, UnreadableValueEndsTheListing) {
    PutText(kTyped, "url1", "http://a/");
    PutText(kTyped, "url2", "http://b/");
    PutText(kTyped, "url3", "http://c/");
    mem.registry.faults.Fail("Registry.EnumValue", winerr::kAccessDenied, "url2");
    EraseTypedUrls(dlg, false);
    EXPECT_EQ((Lines{"", "正在删除分类 URL http://a/ <OK>"}), Log());
}

}  // namespace
