// The folder and shell helpers the erasers share, where no eraser's table reaches them:
// roots never removed and the shell library's life.
#include "clean/folder_ops.h"

#include <gtest/gtest.h>

#include "clean/shell_calls.h"
#include "machine.h"

namespace {

class FolderOps : public Machine {};

TEST_F(FolderOps, RootIsNeverRemoved) {
    Seed(mem, {"file C:\\boot.ini = b", "file \\\\server\\share\\data.txt = d",
               "file \\\\server\\share\\Cache\\index.dat = i"});
    Lines before = State(mem);
    for (const char* root : {"C:\\", "C:", "", "\\\\server\\share", "\\\\server\\share\\"}) {
        RemoveFolderTree(dlg, root);
    }
    EXPECT_EQ(before, State(mem));
    EXPECT_TRUE(mem.files.Exists("\\\\server\\share\\data.txt"));
    RemoveFolderTree(dlg, "\\\\server\\share\\Cache");
    EXPECT_FALSE(mem.files.Exists("\\\\server\\share\\Cache"));
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

}  // namespace
