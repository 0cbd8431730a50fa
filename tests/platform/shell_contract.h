// What the erasers rely on of the shell library, checked on the in-memory double and on
// the real shell under Wine. The type parameter is a shell with a recent documents
// folder; its Recycle(size) puts an item of that size in the recycle bin.
#pragma once

#include <string>

#include "platform/rows.h"
#include "platform/shell.h"

template <typename ShellType>
class ShellContract : public ::testing::Test {
protected:
    // Empties the bin, or asks what it holds: whether the export was called, its answer,
    // and what the bin holds (size, items).
    std::string Bin(bool empty = false) {
        RecycleBinInfo info;
        HResult answer = 1;
        bool called = empty ? shell.CallEmptyRecycleBin(module, HWnd{}, nullptr, 7, &answer)
                            : shell.CallQueryRecycleBin(module, nullptr, &info, &answer);
        return Seq({Num(called), Num(answer), Num(info.totalSize), Num(info.itemCount)});
    }
    // The recent documents folder by both roads: whether each was taken, the first's
    // answer, and whether they agree on a path.
    std::string Recent() {
        char path[kMaxPath] = "", other[kMaxPath] = "";
        bool answer = false;
        bool called = shell.CallSpecialFolderPath(module, HWnd{}, path, csidl::kRecent, 0, &answer);
        bool located = shell.FolderPathFromLocation(HWnd{}, csidl::kRecent, other);
        std::string same = path[0] && std::string(path) == other ? " same" : " differ";
        return Num(called) + " " + Num(answer) + " " + Num(located) + same;
    }

    ShellType shell;
    ModuleHandle module;
};

TYPED_TEST_SUITE_P(ShellContract);

TYPED_TEST_P(ShellContract, FoldersAndRecycleBin) {
    ModuleHandle missing{7};
    ExpectRows({
        {Num(this->shell.OpenLibrary("corvane-missing.dll", &missing)) + Num(missing.value), "07"},
        {Num(this->shell.OpenLibrary("Shell32.dll", &this->module)), "1"},
        {this->Recent(), "1 1 1 same"},
        {this->Bin(true), "1 0 0 0"},
        {(this->shell.Recycle(1234), this->Bin()), "1 0 1234 1"},
        {this->Bin(true), "1 0 0 0"},
        {Seq({this->Bin(), this->Bin(true)}), "1 0 0 0 1 0 0 0"},  // an empty bin empties too
    });
    this->shell.CloseLibrary(this->module);
}

REGISTER_TYPED_TEST_SUITE_P(ShellContract, FoldersAndRecycleBin);
