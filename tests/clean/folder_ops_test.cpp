// The folder helper the erasers share, where no eraser's table reaches it: roots are
// never removed.
#include "clean/folder_ops.h"

#include <gtest/gtest.h>

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

}  // namespace
