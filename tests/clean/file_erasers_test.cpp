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

TEST_F(FileErasers, TempFolderWhosePathLacksTempIsLeftAlone) {
    mem.environment.Set("TMP", "D:\\tmp\\");
    mem.files.AddFile("D:\\tmp\\keep.txt", "k");
    BothModes lines = WindowsTemp();
    EXPECT_EQ((Lines{"**测试: 正在清空 Windows 临时文件夹...", "",
                     "**测试: Windows 临时文件夹为空 <OK>"}),
              lines.test);
    EXPECT_EQ((Lines{"**正在清空 Windows 临时文件夹...", "", "**Windows 临时文件夹为空 <OK>"}),
              lines.clear);
    EXPECT_TRUE(mem.files.Exists("D:\\tmp\\keep.txt"));
}

TEST_F(FileErasers, TempGuardIsCaseSensitive) {
    mem.files.AddFile("C:\\WINDOWS\\TEMP\\x.tmp", "x");
    mem.files.AddFile("C:\\work\\temp\\y.tmp", "y");
    mem.environment.Set("TMP", "C:\\WINDOWS\\TEMP\\");
    EraseWindowsTemp(dlg, false);
    mem.environment.Set("TMP", "C:\\work\\temp");
    EraseWindowsTemp(dlg, false);
    EXPECT_FALSE(mem.files.Exists("C:\\WINDOWS\\TEMP\\x.tmp"));
    EXPECT_TRUE(mem.files.Exists("C:\\work\\temp\\y.tmp"));
}

TEST_F(FileErasers, TempPathThatDoesNotFitWritesNothing) {
    mem.environment.Set("TMP", "C:\\Temp\\" + std::string(252, 'x'));  // 261 bytes with "\"
    EXPECT_EQ(Lines{}, LogOf([&] { EraseWindowsTemp(dlg, false); }));
    mem.environment.Set("TMP", "C:\\Temp\\" + std::string(250, 'x'));  // 259 bytes: fits
    EXPECT_EQ(4u, LogOf([&] { EraseWindowsTemp(dlg, false); }).size());
}

TEST_F(FileErasers, RecycleBinWithItemsShowsItsSizeAndIsEmptiedOnlyByClear) {
    mem.shell.recycleBin = {1000, 234};
    BothModes lines = RecycleBin();
    EXPECT_EQ((Lines{"测试: 1234 字节已删除", "", "**测试: 回收站已清空 <OK>"}), lines.test);
    EXPECT_EQ((Lines{"1234 字节已删除", "", "**回收站已清空<OK>"}), lines.clear);
    EXPECT_TRUE(mem.shell.recycleBin.empty());
    EXPECT_EQ(1, mem.shell.emptyCalls);
    EXPECT_EQ(7u, mem.shell.lastEmptyFlags);
}

TEST_F(FileErasers, RecycleBinSizeIsTheWhole64BitValue) {
    mem.shell.recycleBin = {5000000000};
    EXPECT_EQ("5000000000 字节已删除", LogOf([&] { EraseRecycleBin(dlg, false); })[0]);
}

TEST_F(FileErasers, EmptyRecycleBinIsStillEmptiedByClear) {
    BothModes lines = RecycleBin();
    EXPECT_EQ((Lines{"**测试: 回收站为空 <OK>"}), lines.test);
    EXPECT_EQ((Lines{"**回收站为空 <OK>"}), lines.clear);
    EXPECT_EQ(1, mem.shell.emptyCalls);
}

TEST_F(FileErasers, EmptyBinIgnoresWhatTheShellAnswersForIt) {
    mem.shell.faults.Fail("Shell.EmptyRecycleBin", 0x8000FFFFu);  // E_UNEXPECTED
    EXPECT_EQ((Lines{"**回收站为空 <OK>"}), LogOf([&] { EraseRecycleBin(dlg, false); }));
}

TEST_F(FileErasers, ShellThatFailsToEmptyAFullBinIsReported) {
    mem.shell.recycleBin = {10};
    mem.shell.faults.Fail("Shell.EmptyRecycleBin", 0x80070005u);  // E_ACCESSDENIED
    BothModes lines = RecycleBin();
    EXPECT_EQ((Lines{"测试: 10 字节已删除", "", "**测试: 回收站已清空 <OK>"}), lines.test);
    EXPECT_EQ((Lines{"10 字节已删除", "", "**回收站已清空... 请手动清空回收站! <失败>"}),
              lines.clear);
}

TEST_F(FileErasers, ShellWithoutTheQueryEmptiesWithoutASizeLine) {
    mem.shell.missingExports.insert(MemoryShell::kQueryRecycleBinExport);
    mem.shell.recycleBin = {10};
    BothModes lines = RecycleBin();
    EXPECT_EQ((Lines{"**测试: 回收站已清空 <OK>"}), lines.test);
    EXPECT_EQ((Lines{"**回收站已清空<OK>"}), lines.clear);
    EXPECT_TRUE(mem.shell.recycleBin.empty());
}

TEST_F(FileErasers, WithoutTheQueryAFailureCannotBeToldFromAnEmptyBin) {
    mem.shell.missingExports.insert(MemoryShell::kQueryRecycleBinExport);
    mem.shell.faults.Fail("Shell.EmptyRecycleBin", 0x8000FFFFu);
    EXPECT_EQ((Lines{"**回收站已清空<OK>"}), LogOf([&] { EraseRecycleBin(dlg, false); }));
}

TEST_F(FileErasers, ShellWithoutTheEmptyFunctionAsksForAManualEmptying) {
    mem.shell.missingExports.insert(MemoryShell::kEmptyRecycleBinExport);
    mem.shell.recycleBin = {10};
    BothModes lines = RecycleBin();
    EXPECT_EQ((Lines{"测试: 10 字节已删除", "", "**测试: 回收站已清空 <OK>"}), lines.test);
    EXPECT_EQ(
        (Lines{"10 字节已删除", "", "**回收站已清空... 外壳版本太旧了! 请手动清空回收站! <失败>"}),
        lines.clear);
    EXPECT_EQ(1u, mem.shell.recycleBin.size());
}

TEST_F(FileErasers, MissingShellLibraryLeavesOnlyTheFailureLine) {
    mem.shell.libraryMissing = true;
    mem.shell.recycleBin = {10};
    BothModes lines = RecycleBin();
    EXPECT_EQ((Lines{"**测试: 回收站已清空 <OK>"}), lines.test);
    EXPECT_EQ((Lines{"**回收站已清空... 外壳版本太旧了! 请手动清空回收站! <失败>"}), lines.clear);
}

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
