// The folder and shell helpers the erasers share: the flat wipe, the tree removal, the
// run-time shell calls and the special-folder look-up with its fallback.
#include "clean/folder_ops.h"

#include <gtest/gtest.h>

#include "clean/shell_calls.h"
#include "clean/xp_profile.h"

namespace {

class FolderOps : public XpProfile {};

TEST_F(FolderOps, WipePassesOverTheKeptNamesInAnyCase) {
    for (const char* name :
         {"INDEX.DAT", "Desktop.Ini", "3? Floppy (A).lnk", "gone.lnk", "other.lnk"}) {
        mem.files.AddFile(In(kRecent, name), "x");
    }
    EXPECT_TRUE(WipeFolderFiles(dlg, kRecent, true, nullptr));
    EXPECT_EQ(Lines{}, Log());  // silent without a log
    for (const char* name : {"index.dat", "desktop.ini", "3? floppy (a).lnk"}) {
        EXPECT_TRUE(mem.files.Exists(In(kRecent, name))) << name;
    }
    EXPECT_FALSE(mem.files.Exists(In(kRecent, "gone.lnk")));
    EXPECT_FALSE(WipeFolderFiles(dlg, kRecent, true, nullptr));  // nothing left to do
}

TEST_F(FolderOps, WipeOfAFolderWithATrailingBackslashMakesNoDoubleSeparator) {
    mem.files.AddFile(In(kTemp, "a.tmp"), "a");
    WipeFolderFiles(dlg, std::string(kTemp) + "\\", false, &dlg.log);
    EXPECT_EQ((Lines{"测试: 正在删除 " + In(kTemp, "a.tmp") + " <OK>"}), Log());
}

TEST_F(FolderOps, PathThatWouldPassTheBufferIsSkippedNotCut) {
    const std::string folder = "C:\\" + std::string(240, 'f');
    const std::string longName = std::string(20, 'n') + ".tmp";  // 3 + 240 + 1 + 24 = 268
    mem.files.AddFile(In(folder, longName), "long");
    mem.files.AddFile(In(folder, "s.tmp"), "short");
    EXPECT_TRUE(WipeFolderFiles(dlg, folder, true, &dlg.log));
    EXPECT_EQ((Lines{"正在删除" + In(folder, "s.tmp") + " <OK>"}), Log());
    EXPECT_TRUE(mem.files.Exists(In(folder, longName)));
}

TEST_F(FolderOps, FailingDeletionIsPassedOverWithoutALine) {
    mem.files.AddFile(In(kTemp, "a.tmp"), "a");
    mem.files.AddFile(In(kTemp, "b.tmp"), "b");
    mem.files.faults.Fail("Files.RemoveFile", winerr::kAccessDenied, "a.tmp");
    EXPECT_TRUE(WipeFolderFiles(dlg, kTemp, true, &dlg.log));
    EXPECT_EQ((Lines{"正在删除" + In(kTemp, "b.tmp") + " <OK>"}), Log());
    EXPECT_TRUE(mem.files.Exists(In(kTemp, "a.tmp")));
}

TEST_F(FolderOps, FailingNextEntryEndsTheWalk) {
    mem.files.AddFile(In(kTemp, "a.tmp"), "a");
    mem.files.AddFile(In(kTemp, "b.tmp"), "b");
    mem.files.faults.Fail("Files.FindNext", winerr::kAccessDenied, "b.tmp");
    EXPECT_TRUE(WipeFolderFiles(dlg, kTemp, true, &dlg.log));
    EXPECT_EQ(1u, Log().size());
    EXPECT_TRUE(mem.files.Exists(In(kTemp, "b.tmp")));
    EXPECT_EQ(0u, mem.files.OpenHandleCount());
}

TEST_F(FolderOps, TreeRemovalTakesEverythingOnTheNtFamily) {
    const std::string tree = In(kCache, "Content.IE5");
    mem.files.AddFile(In(tree, "index.dat"), "idx");
    mem.files.AddFile(In(tree, "AB12CD34\\page[1].htm"), "p", fileattr::kReadOnly);
    mem.files.AddFolder(In(tree, "EF56GH78\\empty"));
    ASSERT_EQ(winerr::kSuccess, mem.files.SetAttributes(In(tree, "EF56GH78"), fileattr::kReadOnly));
    for (int version : {osver::kWinNt, osver::kWin2000, osver::kWinXp, osver::kWin2003}) {
        mem.files.AddFile(In(tree, "x.tmp"), "x");
        dlg.osVersion = version;
        RemoveFolderTree(dlg, tree);
        EXPECT_FALSE(mem.files.Exists(tree)) << version;
    }
    EXPECT_TRUE(mem.files.Exists(kCache));
}

TEST_F(FolderOps, FolderNamesAreNeverExpandedOrRun) {
    // A command interpreter would expand %TEMP% in this name; file-system calls see a name.
    const std::string odd = In(kCache, "%TEMP%\" & del \"x");
    mem.files.AddFile(In(odd, "f.txt"), "f");
    mem.files.AddFile(In(kTemp, "keep.tmp"), "k");
    RemoveFolderTree(dlg, odd);
    EXPECT_FALSE(mem.files.Exists(odd));
    EXPECT_TRUE(mem.files.Exists(In(kTemp, "keep.tmp")));
}

TEST_F(FolderOps, JunctionInsideTheTreeGoesWithoutWhatItLeadsTo) {
    mem.files.AddFile("C:\\Documents and Settings\\user\\My Documents\\thesis.doc", "t");
    mem.files.AddJunction(In(kCache, "link"), "C:\\Documents and Settings\\user\\My Documents");
    RemoveFolderTree(dlg, kCache);
    EXPECT_FALSE(mem.files.Exists(kCache));
    EXPECT_EQ("t", mem.files.Content("C:\\Documents and Settings\\user\\My Documents\\thesis.doc"));
}

TEST_F(FolderOps, RootIsNeverRemoved) {
    mem.files.AddFile("C:\\boot.ini", "b");
    mem.files.AddFile("\\\\server\\share\\data.txt", "d");
    mem.files.AddFile("\\\\server\\share\\Cache\\index.dat", "i");
    for (const char* root : {"C:\\", "C:", "", "\\\\server\\share", "\\\\server\\share\\"}) {
        RemoveFolderTree(dlg, root);
    }
    EXPECT_TRUE(mem.files.Exists("C:\\boot.ini"));
    EXPECT_TRUE(mem.files.Exists(kTemp));
    EXPECT_TRUE(mem.files.Exists("\\\\server\\share\\data.txt"));
    RemoveFolderTree(dlg, "\\\\server\\share\\Cache");
    EXPECT_FALSE(mem.files.Exists("\\\\server\\share\\Cache"));
}

TEST_F(FolderOps, OtherVersionsDeleteOnlyTheTopLevelFiles) {
    const std::string tree = "C:\\WINDOWS\\Temporary Internet Files";
    mem.files.AddFile(In(tree, "a.htm"), "a");
    mem.files.AddFile(In(tree, "index.dat"), "i");
    mem.files.AddFile(In(tree, "sub\\b.htm"), "b");
    for (int version : {osver::kWin95, osver::kWin98, osver::kWinMe, osver::kUnknown}) {
        dlg.osVersion = version;
        RemoveFolderTree(dlg, tree);
    }
    EXPECT_FALSE(mem.files.Exists(In(tree, "a.htm")));
    EXPECT_TRUE(mem.files.Exists(In(tree, "index.dat")));
    EXPECT_TRUE(mem.files.Exists(In(tree, "sub\\b.htm")));
    EXPECT_EQ(Lines{}, Log());
}

TEST_F(FolderOps, ShellLibraryIsLoadedOnceAndFreedWithTheWindow) {
    {
        EraserDlg window(mem.platform);
        std::string path;
        EXPECT_TRUE(LookUpSpecialFolder(window, csidl::kRecent, &path));
        EXPECT_TRUE(LookUpSpecialFolder(window, csidl::kCookies, &path));
        EXPECT_EQ(kCookies, path);
        EXPECT_EQ(1, mem.shell.librariesOpen);
        EXPECT_FALSE(mem.shell.lastCreate);
    }
    EXPECT_EQ(1, mem.shell.libraryLoads);
    EXPECT_EQ(0, mem.shell.librariesOpen);
}

TEST_F(FolderOps, ShellWrappersAnswerFailOnlyForWhatIsMissing) {
    char path[kMaxPath];
    EXPECT_EQ(1, CallSHGetSpecialFolderPath(dlg, HWnd{}, path, csidl::kHistory));
    EXPECT_EQ(0, CallSHGetSpecialFolderPath(dlg, HWnd{}, path, csidl::kAppData));
    RecycleBinInfo info;
    mem.shell.faults.Fail("Shell.QueryRecycleBin", 0x80004005u);
    EXPECT_EQ(hresult::kOk, CallSHQueryRecycleBin(dlg, nullptr, &info));
    mem.shell.faults.Fail("Shell.EmptyRecycleBin", 0x80070005u);
    HResult answer = hresult::kOk;
    EXPECT_EQ(hresult::kOk, CallSHEmptyRecycleBin(dlg, HWnd{}, nullptr, 7, &answer));
    EXPECT_EQ(static_cast<HResult>(0x80070005u), answer);
    mem.shell.missingExports = {MemoryShell::kSpecialFolderPathExport,
                                MemoryShell::kQueryRecycleBinExport,
                                MemoryShell::kEmptyRecycleBinExport};
    EXPECT_EQ(hresult::kFail, CallSHGetSpecialFolderPath(dlg, HWnd{}, path, csidl::kHistory));
    EXPECT_EQ(hresult::kFail, CallSHQueryRecycleBin(dlg, nullptr, &info));
    EXPECT_EQ(hresult::kFail, CallSHEmptyRecycleBin(dlg, HWnd{}, nullptr, 7));
}

TEST_F(FolderOps, LookUpTakesTheItemIdRoadOnlyWhenThePathExportIsMissing) {
    std::string path = "untouched";
    mem.shell.faults.Fail("Shell.SpecialFolderPath", winerr::kFileNotFound, "33");
    EXPECT_FALSE(LookUpSpecialFolder(dlg, csidl::kCookies, &path));  // FALSE: no fallback
    EXPECT_EQ("untouched", path);

    mem.shell.missingExports.insert(MemoryShell::kSpecialFolderPathExport);
    EXPECT_TRUE(LookUpSpecialFolder(dlg, csidl::kCookies, &path));
    EXPECT_EQ(kCookies, path);
    mem.shell.faults.Fail("Shell.FolderLocation", winerr::kFileNotFound, "34");
    path = "untouched";
    EXPECT_FALSE(LookUpSpecialFolder(dlg, csidl::kHistory, &path));
    EXPECT_EQ("untouched", path);

    mem.shell.libraryMissing = true;
    EraserDlg noShell(mem.platform);
    EXPECT_TRUE(LookUpSpecialFolder(noShell, csidl::kRecent, &path));
    EXPECT_EQ(kRecent, path);
}

}  // namespace
