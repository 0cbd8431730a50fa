// The recent documents, temporary folder and recycle bin erasers.
#include <gtest/gtest.h>

#include "clean/eraser_rows.h"
#include "clean/folder_ops.h"

namespace {

// clang-format off
const Texts kRecentTexts[] = {
    {"**测试: 正在清空最近文档文件夹...", "测试: 正在删除 ", " <OK>", "**测试: 最近文档文件夹已清空 <OK>",
     "**测试: 最近文档文件夹为空 <OK>"},
    {"**正在清空最近文档文件夹...", "正在删除", " <OK>", "**最近文档文件夹已被清空 <OK>", "**最近文档文件夹为空 <OK>"}};
const Texts kTempTexts[] = {
    {"**测试: 正在清空 Windows 临时文件夹...", "测试: 正在删除 ", " <OK>", "**测试: Windows 临时文件夹已清空 <OK>",
     "**测试: Windows 临时文件夹为空 <OK>"},
    {"**正在清空 Windows 临时文件夹...", "正在删除", " <OK>", "**Windows 临时文件夹已清空 <OK>",
     "**Windows 临时文件夹为空 <OK>"}};
const std::string kLong = "C:\\Temp" + std::string(233, 'f');  // 240 bytes; with a name: 265
void Tmp(M& m, const std::string& path) { m.environment.Set("TMP", path); }

// The shortcuts go; the folder's own files and its subfolders stay. Only a temporary
// folder whose path holds "Temp" or "TEMP", case as written, is wiped.
const Row kFileRows[] = {
    {"RecentDocumentsShortcutsGo", EraseRecentDocuments,
     {"-file $Recent\\report.doc.lnk = l", "-file $Recent\\历史.txt.lnk = l", "file $Recent\\Desktop.INI = i",
      "file $Recent\\INDEX.DAT = i", "file $Recent\\3? floppy (a).LNK = f", "file $Recent\\sub\\in.lnk = l"}, nullptr,
     Listings(kRecentTexts, {"$Recent\\report.doc.lnk", "$Recent\\历史.txt.lnk"})},
    // The item-id road is taken only when the path export is missing.
    {"RecentDocumentsByTheItemIdRoadNothingToDelete", EraseRecentDocuments, {"file $Recent\\desktop.ini = i"},
     [](M& m, D&) { m.shell.missingExports.insert(MemoryShell::kSpecialFolderPathExport); },
     Listings(kRecentTexts, {})},
    {"TempPathWithoutTheWord", EraseWindowsTemp, {"file C:\\work\\temp\\keep.txt = k"},
     [](M& m, D&) { Tmp(m, "C:\\work\\temp\\"); }, Listings(kTempTexts, {})},
    {"TempCapitalWordNoDoubleSeparator", EraseWindowsTemp, {"-file C:\\WINDOWS\\TEMP\\x.tmp = x"},
     [](M& m, D&) { Tmp(m, "C:\\WINDOWS\\TEMP\\"); }, Listings(kTempTexts, {"C:\\WINDOWS\\TEMP\\x.tmp"})},
    {"TempPathThatDoesNotFit", EraseWindowsTemp, {},  // 261 bytes with "\"
     [](M& m, D&) { Tmp(m, "C:\\Temp\\" + std::string(252, 'x')); }},
    {"TempPathBeyondTheBufferIsSkippedNotCut", EraseWindowsTemp,
     {"file " + kLong + "\\" + std::string(20, 'n') + ".tmp = n", "-file " + kLong + "\\s.tmp = s"},
     [](M& m, D&) { Tmp(m, kLong); }, Listings(kTempTexts, {kLong + "\\s.tmp"})},
};
INSTANTIATE_TEST_SUITE_P(Files, EraserRows, ::testing::ValuesIn(kFileRows), Row::Name);

// The run has written the group's heading. The shell is asked to empty with flags 7.
const char kBinTestDone[] = "**测试: 回收站已清空 <OK>";
const std::string kEmptied = "+emptied 1x, flags 7";

const Row kRecycleBin[] = {
    {"Full", EraseRecycleBin, {"-bin 5000000000", "-bin 234", kEmptied}, nullptr,
     {{{"测试: 5000000234 字节已删除", "", kBinTestDone}, {"5000000234 字节已删除", "", "**回收站已清空<OK>"}}}},
    // A bin that measures empty is emptied all the same, and what the shell answers to
    // that is not read.
    {"QueryAnswerIsNotPassedOn", EraseRecycleBin, {"bin 10", kEmptied},
     [](M& m, D&) {
         m.shell.faults.Fail("Shell.QueryRecycleBin", 0x80004005u);
         m.shell.faults.Fail("Shell.EmptyRecycleBin", 0x8000FFFFu);
     },
     {{{"**测试: 回收站为空 <OK>"}, {"**回收站为空 <OK>"}}}},
};
INSTANTIATE_TEST_SUITE_P(RecycleBin, EraserRows, ::testing::ValuesIn(kRecycleBin), Row::Name);
// clang-format on

// Where no eraser's table reaches it: a root is never removed by the folder helper.
using FolderOps = Machine;
TEST_F(FolderOps, RootIsNeverRemoved) {
    Seed(mem, {"file C:\\boot.ini = b", "file \\\\server\\share\\data.txt = d",
               "file \\\\server\\share\\Cache\\index.dat = i"});
    Lines before = State(mem);
    for (const char* root : {"C:\\", "C:", "", "\\\\server\\share", "\\\\server\\share\\"}) {
        RemoveFolderTree(dlg, root);
    }
    EXPECT_EQ(before, State(mem));
    RemoveFolderTree(dlg, "\\\\server\\share\\Cache");
    EXPECT_FALSE(mem.files.Exists("\\\\server\\share\\Cache"));
}

}  // namespace
