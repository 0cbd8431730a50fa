// What only the in-memory file system and shell offer, and the Windows rules the Wine
// contract cannot show: fault injection, partial writes, junctions, handle accounting,
// a read-only file refused to writing.
#include "platform/memory/memory_files.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_environment.h"
#include "platform/memory/memory_shell.h"

namespace {

TEST(MemoryFiles, WriteFailsAfterTheGivenBytesAndReportsWhatItMoved) {
    MemoryFiles files;
    files.AddFile("C:\\a\\index.dat", "0123456789");
    files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, 4, "index.dat");
    FileHandle file;
    ASSERT_EQ(winerr::kSuccess, files.Open("C:\\a\\index.dat", fileaccess::kWrite, 0,
                                           filecreate::kOpenExisting, fileattr::kNormal, &file));
    std::uint32_t done = 99;
    EXPECT_EQ(winerr::kSuccess, files.Write(file, "xxx", 3, &done));
    EXPECT_EQ(3u, done);
    EXPECT_EQ(winerr::kDiskFull, files.Write(file, "yyy", 3, &done));
    EXPECT_EQ(1u, done);
    EXPECT_EQ(winerr::kDiskFull, files.Write(file, "zzz", 3, &done));
    EXPECT_EQ(0u, done);
    files.Close(file);
    EXPECT_EQ("xxxy456789", files.Content("C:\\a\\index.dat"));
}

TEST(MemoryFiles, InjectedNextEntryFailureHitsTheNamedEntry) {
    MemoryFiles files;
    files.AddFile("C:\\d\\a.txt", "");
    files.AddFile("C:\\d\\b.txt", "");
    files.faults.Fail("Files.FindNext", winerr::kAccessDenied, "b.txt", 1);
    FindHandle handle;
    FindData entry;
    ASSERT_EQ(winerr::kSuccess, files.FindFirst("C:\\d\\*.txt", &handle, &entry));
    EXPECT_EQ("a.txt", entry.name);
    EXPECT_EQ(winerr::kAccessDenied, files.FindNext(handle, &entry));
    EXPECT_EQ("a.txt", entry.name);
    EXPECT_EQ(winerr::kSuccess, files.FindNext(handle, &entry));
    EXPECT_EQ("b.txt", entry.name);
    EXPECT_EQ(1u, files.OpenHandleCount());
    files.EndFind(handle);
    EXPECT_EQ(0u, files.OpenHandleCount());
}

TEST(MemoryFiles, ReadOnlyFileIsRefusedToWritingAndTruncation) {
    MemoryFiles files;
    files.AddFile("C:\\t\\ro.txt", "keep", fileattr::kReadOnly | fileattr::kArchive);
    FileHandle file;
    EXPECT_EQ(winerr::kAccessDenied, files.Open("C:\\t\\ro.txt", fileaccess::kWrite, 0,
                                                filecreate::kOpenExisting, 0, &file));
    EXPECT_EQ(winerr::kAccessDenied, files.Open("C:\\t\\ro.txt", fileaccess::kRead, 0,
                                                filecreate::kCreateAlways, 0, &file));
    EXPECT_EQ("keep", files.Content("C:\\t\\ro.txt"));
}

TEST(MemoryFiles, PendingDeletionRefusesNewOpensUntilTheLastClose) {
    MemoryFiles files;
    files.AddFile("C:\\t\\f.txt", "x");
    FileHandle open;
    ASSERT_EQ(winerr::kSuccess, files.Open("C:\\t\\f.txt", fileaccess::kRead, fileshare::kDelete,
                                           filecreate::kOpenExisting, 0, &open));
    ASSERT_EQ(winerr::kSuccess, files.RemoveFile("C:\\t\\f.txt"));
    EXPECT_TRUE(files.Exists("C:\\t\\f.txt"));
    FileHandle again;
    EXPECT_EQ(winerr::kAccessDenied, files.Open("C:\\t\\f.txt", fileaccess::kRead, 7,
                                                filecreate::kOpenExisting, 0, &again));
    files.Close(open);
    EXPECT_FALSE(files.Exists("C:\\t\\f.txt"));
}

TEST(MemoryFiles, JunctionLeadsToItsFolderAndGoesAlone) {
    MemoryFiles files;
    files.AddFile("C:\\target\\keep.txt", "k");
    files.AddJunction("C:\\cache\\link", "C:\\target");
    std::uint32_t attributes = 0;
    ASSERT_EQ(winerr::kSuccess, files.GetAttributes("C:\\cache\\link", &attributes));
    EXPECT_EQ(fileattr::kDirectory | fileattr::kReparsePoint, attributes);
    EXPECT_EQ("k", files.Content("C:\\cache\\LINK\\keep.txt"));
    EXPECT_EQ(winerr::kSuccess, files.RemoveFolder("C:\\cache\\link"));
    EXPECT_FALSE(files.Exists("C:\\cache\\link"));
    EXPECT_EQ("k", files.Content("C:\\target\\keep.txt"));
}

TEST(MemoryFiles, DotsResolveAndDrivesAreSeparate) {
    MemoryFiles files;
    files.AddFile("D:\\x\\f.txt", "d");
    EXPECT_EQ("d", files.Content("D:\\x\\..\\x\\.\\f.txt"));
    EXPECT_FALSE(files.Exists("C:\\x\\f.txt"));
    FindHandle handle;
    FindData entry;
    EXPECT_EQ(winerr::kPathNotFound, files.FindFirst("E:\\*.*", &handle, &entry));
    EXPECT_EQ(winerr::kPathNotFound, files.FindFirst("x\\*.*", &handle, &entry));
}

TEST(MemoryEnvironment, TempPathFallsBackToTheProfileThenTheWindowsFolder) {
    MemoryEnvironment environment;
    environment.Set("TMP", "");
    environment.Set("TEMP", "");
    char buffer[260];
    ASSERT_EQ(31u, environment.TempPath(buffer, sizeof buffer));
    EXPECT_STREQ("C:\\Documents and Settings\\user\\", buffer);
    environment.Set("USERPROFILE", "");
    ASSERT_EQ(11u, environment.TempPath(buffer, sizeof buffer));
    EXPECT_STREQ("C:\\WINDOWS\\", buffer);
}

TEST(MemoryShell, RemovedExportIsNotFoundAndAWrongRecordSizeIsRefused) {
    MemoryShell shell;
    shell.missingExports.insert(MemoryShell::kEmptyRecycleBinExport);
    shell.recycleBin = {10};
    ModuleHandle module;
    ASSERT_TRUE(shell.OpenLibrary("Shell32.dll", &module));
    HResult answer = 1;
    EXPECT_FALSE(shell.CallEmptyRecycleBin(module, HWnd{}, nullptr, 7, &answer));
    EXPECT_EQ(1, answer);
    RecycleBinInfo info;
    info.size = 24;
    ASSERT_TRUE(shell.CallQueryRecycleBin(module, nullptr, &info, &answer));
    EXPECT_LT(answer, 0);
    EXPECT_EQ(0, info.totalSize);
    shell.CloseLibrary(module);
    EXPECT_EQ(0, shell.librariesOpen);
}

}  // namespace
