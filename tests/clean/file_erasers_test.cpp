// The recent documents, temporary folder and recycle bin erasers on the in-memory
// platform: every line of Clear beside the line of Test, what each removes, and that a
// Test removes nothing.
#include <gtest/gtest.h>

#include "clean/erasers.h"
#include "clean/xp_profile.h"

namespace {

// The lines of Clear beside the lines of Test for the same starting state.
struct BothModes {
    Lines clear;
    Lines test;
};

class FileErasers : public XpProfile {
protected:
    // Runs step in Test, checks that nothing changed, then in Clear.
    template <typename Step>
    BothModes Run(Step step) {
        BothModes lines;
        auto before = Snapshot();
        auto bin = mem.shell.recycleBin;
        lines.test = LogOf([&] { step(true); });
        EXPECT_EQ(before, Snapshot()) << "a test changed files";
        EXPECT_EQ(bin, mem.shell.recycleBin) << "a test changed the recycle bin";
        lines.clear = LogOf([&] { step(false); });
        return lines;
    }
    BothModes RecentDocuments() {
        return Run([this](bool test) { EraseRecentDocuments(dlg, test); });
    }
    BothModes WindowsTemp() {
        return Run([this](bool test) { EraseWindowsTemp(dlg, test); });
    }
    BothModes RecycleBin() {
        return Run([this](bool test) { EraseRecycleBin(dlg, test); });
    }
};

TEST_F(FileErasers, RecentDocumentsDeletesTheShortcutsAndKeepsTheFoldersOwnFiles) {
    const std::string a = In(kRecent, "report.doc.lnk");
    const std::string b = In(kRecent, "历史.txt.lnk");
    mem.files.AddFile(a, "lnk");
    mem.files.AddFile(b, "lnk");
    mem.files.AddFile(In(kRecent, "Desktop.INI"), "ini");
    mem.files.AddFile(In(kRecent, "INDEX.DAT"), "idx");
    mem.files.AddFile(In(kRecent, "sub\\inner.lnk"), "lnk");
    BothModes lines = RecentDocuments();
    EXPECT_EQ((Lines{"**测试: 正在清空最近文档文件夹...", "", "测试: 正在删除 " + a + " <OK>",
                     "测试: 正在删除 " + b + " <OK>", "", "**测试: 最近文档文件夹已清空 <OK>"}),
              lines.test);
    EXPECT_EQ((Lines{"**正在清空最近文档文件夹...", "", "正在删除" + a + " <OK>",
                     "正在删除" + b + " <OK>", "", "**最近文档文件夹已被清空 <OK>"}),
              lines.clear);
    EXPECT_FALSE(mem.files.Exists(a));
    EXPECT_FALSE(mem.files.Exists(b));
    EXPECT_TRUE(mem.files.Exists(In(kRecent, "desktop.ini")));
    EXPECT_TRUE(mem.files.Exists(In(kRecent, "index.dat")));
    EXPECT_TRUE(mem.files.Exists(In(kRecent, "sub\\inner.lnk")));
}

TEST_F(FileErasers, RecentDocumentsWithNothingToDeleteIsEmpty) {
    mem.files.AddFile(In(kRecent, "desktop.ini"), "ini");
    mem.files.AddFolder(In(kRecent, "sub"));
    BothModes lines = RecentDocuments();
    EXPECT_EQ((Lines{"**测试: 正在清空最近文档文件夹...", "", "**测试: 最近文档文件夹为空 <OK>"}),
              lines.test);
    EXPECT_EQ((Lines{"**正在清空最近文档文件夹...", "", "**最近文档文件夹为空 <OK>"}), lines.clear);
}

TEST_F(FileErasers, UnlistableFolderSaysSoWithoutTestPrefix) {
    mem.shell.specialFolders[csidl::kRecent] = "C:\\gone";
    BothModes lines = RecentDocuments();
    EXPECT_EQ((Lines{"**测试: 正在清空最近文档文件夹...", "", "找不到文件。",
                     "**测试: 最近文档文件夹为空 <OK>"}),
              lines.test);
    EXPECT_EQ(
        (Lines{"**正在清空最近文档文件夹...", "", "找不到文件。", "**最近文档文件夹为空 <OK>"}),
        lines.clear);
}

TEST_F(FileErasers, RecentDocumentsStopsAfterItsHeadingWhenTheShellKnowsNoSuchFolder) {
    mem.shell.specialFolders.erase(csidl::kRecent);
    BothModes lines = RecentDocuments();
    EXPECT_EQ((Lines{"**测试: 正在清空最近文档文件夹...", ""}), lines.test);
    EXPECT_EQ((Lines{"**正在清空最近文档文件夹...", ""}), lines.clear);
}

TEST_F(FileErasers, TempFolderSkipsReadOnlyAndHeldFiles) {
    const std::string scratch = In(kTemp, "~scratch.tmp");
    mem.files.AddFile(scratch, "s");
    mem.files.AddFile(In(kTemp, "readonly.tmp"), "r", fileattr::kReadOnly);
    mem.files.AddFile(In(kTemp, "held.tmp"), "h");
    mem.files.AddFile(In(kTemp, "sub\\inner.tmp"), "i");
    FileHandle held;  // another program's handle, for reading, sharing reading only
    ASSERT_EQ(winerr::kSuccess,
              mem.files.Open(In(kTemp, "held.tmp"), fileaccess::kRead, fileshare::kRead,
                             filecreate::kOpenExisting, 0, &held));
    BothModes lines = WindowsTemp();
    mem.files.Close(held);
    EXPECT_EQ(
        (Lines{"**测试: 正在清空 Windows 临时文件夹...", "", "测试: 正在删除 " + scratch + " <OK>",
               "", "**测试: Windows 临时文件夹已清空 <OK>"}),
        lines.test);
    EXPECT_EQ((Lines{"**正在清空 Windows 临时文件夹...", "", "正在删除" + scratch + " <OK>", "",
                     "**Windows 临时文件夹已清空 <OK>"}),
              lines.clear);
    EXPECT_FALSE(mem.files.Exists(scratch));
    EXPECT_EQ("r", mem.files.Content(In(kTemp, "readonly.tmp")));
    EXPECT_EQ("h", mem.files.Content(In(kTemp, "held.tmp")));
    EXPECT_EQ("i", mem.files.Content(In(kTemp, "sub\\inner.tmp")));
}

// Only a path holding "Temp" or "TEMP", case-sensitively, is wiped.
TEST_F(FileErasers, TempFolderWhosePathLacksTempIsLeftAlone) {
    mem.environment.Set("TMP", "C:\\work\\temp\\");
    mem.files.AddFile("C:\\work\\temp\\keep.txt", "k");
    BothModes lines = WindowsTemp();
    EXPECT_EQ((Lines{"**测试: 正在清空 Windows 临时文件夹...", "",
                     "**测试: Windows 临时文件夹为空 <OK>"}),
              lines.test);
    EXPECT_EQ((Lines{"**正在清空 Windows 临时文件夹...", "", "**Windows 临时文件夹为空 <OK>"}),
              lines.clear);
    EXPECT_TRUE(mem.files.Exists("C:\\work\\temp\\keep.txt"));
    mem.files.AddFile("C:\\WINDOWS\\TEMP\\x.tmp", "x");
    mem.environment.Set("TMP", "C:\\WINDOWS\\TEMP\\");
    EraseWindowsTemp(dlg, false);
    EXPECT_FALSE(mem.files.Exists("C:\\WINDOWS\\TEMP\\x.tmp"));
}

TEST_F(FileErasers, TempPathThatDoesNotFitWritesNothing) {
    mem.environment.Set("TMP", "C:\\Temp\\" + std::string(252, 'x'));  // 261 bytes with "\"
    EXPECT_EQ(Lines{}, LogOf([&] { EraseWindowsTemp(dlg, false); }));
    mem.environment.Set("TMP", "C:\\Temp\\" + std::string(250, 'x'));  // 259 bytes: fits
    EXPECT_EQ(4u, LogOf([&] { EraseWindowsTemp(dlg, false); }).size());
}

// Every shell the recycle bin step may meet, Clear beside Test: what is left in the bin
// and how often the emptying function was called (always with flags 7).
struct BinRow {
    const char* name;
    decltype(MemoryShell::recycleBin) bin;
    const char* missingExport;  // null: every export there
    bool libraryMissing;
    std::uint32_t emptyFault;  // the HRESULT the emptying answers, 0: none
    Lines test;
    Lines clear;
    size_t binLeft;
    int emptyCalls;
};

class RecycleBinShells : public FileErasers, public ::testing::WithParamInterface<BinRow> {};

TEST_P(RecycleBinShells, ClearBesideTest) {
    const BinRow& row = GetParam();
    mem.shell.recycleBin = row.bin;
    if (row.missingExport != nullptr) {
        mem.shell.missingExports.insert(row.missingExport);
    }
    mem.shell.libraryMissing = row.libraryMissing;
    if (row.emptyFault != 0) {
        mem.shell.faults.Fail("Shell.EmptyRecycleBin", row.emptyFault);
    }
    BothModes lines = RecycleBin();
    EXPECT_EQ(row.test, lines.test);
    EXPECT_EQ(row.clear, lines.clear);
    EXPECT_EQ(row.binLeft, mem.shell.recycleBin.size());
    EXPECT_EQ(row.emptyCalls, mem.shell.emptyCalls);
    EXPECT_EQ(row.emptyCalls != 0 ? 7u : 0u, mem.shell.lastEmptyFlags);
}

const char kDone[] = "**回收站已清空<OK>";
const char kFailed[] = "**回收站已清空... 请手动清空回收站! <失败>";
const char kTooOld[] = "**回收站已清空... 外壳版本太旧了! 请手动清空回收站! <失败>";
const char kTestDone[] = "**测试: 回收站已清空 <OK>";
const Lines kTestTen = {"测试: 10 字节已删除", "", kTestDone};
const char* const kNoQuery = MemoryShell::kQueryRecycleBinExport;
const std::uint32_t kUnexpected = 0x8000FFFFu;  // E_UNEXPECTED

// clang-format off
INSTANTIATE_TEST_SUITE_P(Shells, RecycleBinShells, ::testing::Values(
    BinRow{"Full", {1000, 234}, nullptr, false, 0,
           {"测试: 1234 字节已删除", "", kTestDone}, {"1234 字节已删除", "", kDone}, 0, 1},
    BinRow{"SizeIsTheWhole64BitValue", {5000000000}, nullptr, false, 0,
           {"测试: 5000000000 字节已删除", "", kTestDone}, {"5000000000 字节已删除", "", kDone}, 0, 1},
    BinRow{"EmptyIsStillEmptied", {}, nullptr, false, 0,
           {"**测试: 回收站为空 <OK>"}, {"**回收站为空 <OK>"}, 0, 1},
    BinRow{"EmptyIgnoresTheAnswer", {}, nullptr, false, kUnexpected,
           {"**测试: 回收站为空 <OK>"}, {"**回收站为空 <OK>"}, 0, 1},
    BinRow{"RefusedEmptyingIsReported", {10}, nullptr, false, 0x80070005u,  // E_ACCESSDENIED
           kTestTen, {"10 字节已删除", "", kFailed}, 1, 1},
    BinRow{"NoQuery", {10}, kNoQuery, false, 0, {kTestDone}, {kDone}, 0, 1},
    // Without the query a failure cannot be told from an empty bin.
    BinRow{"NoQueryFailedEmptying", {}, kNoQuery, false, kUnexpected, {kTestDone}, {kDone}, 0, 1},
    BinRow{"NoEmptying", {10}, MemoryShell::kEmptyRecycleBinExport, false, 0,
           kTestTen, {"10 字节已删除", "", kTooOld}, 1, 0},
    BinRow{"NoLibrary", {10}, nullptr, true, 0, {kTestDone}, {kTooOld}, 1, 0}),
    [](const ::testing::TestParamInfo<BinRow>& info) { return std::string(info.param.name); });
// clang-format on

// The run as the command line starts it: every category of these erasers on, a Test
// first (which must change nothing), then a Clear.
TEST_F(FileErasers, TestRunChangesNothingThatClearThenRemoves) {
    EraserSettings& s = dlg.settings;
    s.clearHistory = s.clearCookies = s.clearTempInternetFiles = s.resetStartPage = 0;
    s.clearAutoComplete = s.clearSearchHistory = 0;
    mem.files.AddFile(In(kRecent, "a.lnk"), "a");
    mem.files.AddFile(In(kTemp, "b.tmp"), "b");
    mem.files.AddFile(In(kCookies, "index.dat"), std::string(100, 'c'));
    mem.shell.recycleBin = {42};
    auto before = Snapshot();
    dlg.OnTest();
    EXPECT_EQ(before, Snapshot());
    EXPECT_EQ(1u, mem.shell.recycleBin.size());
    EXPECT_EQ(0, mem.shell.emptyCalls);
    dlg.OnClear();
    EXPECT_FALSE(mem.files.Exists(In(kRecent, "a.lnk")));
    EXPECT_FALSE(mem.files.Exists(In(kTemp, "b.tmp")));
    EXPECT_EQ(std::string(100, '\0'), mem.files.Content(In(kCookies, "index.dat")));
    EXPECT_TRUE(mem.shell.recycleBin.empty());
    EXPECT_EQ(0u, mem.files.OpenHandleCount());
}

}  // namespace
