// Behaviour that every Shell implementation shares with the real shell library. Each
// instantiation defines ShellTraits<T>::Prepare (gives the shell a recent documents
// folder) and ::Recycle (puts an item of the given size in the recycle bin).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/shell.h"

template <typename ShellType>
struct ShellTraits;

template <typename ShellType>
class ShellContract : public ::testing::Test {
protected:
    using Traits = ShellTraits<ShellType>;

    void SetUp() override {
        Traits::Prepare(shell);
        ASSERT_TRUE(shell.OpenLibrary("Shell32.dll", &module));
    }
    void TearDown() override { shell.CloseLibrary(module); }

    RecycleBinInfo Query() {
        RecycleBinInfo info;
        HResult answer = hresult::kFail;
        EXPECT_TRUE(shell.CallQueryRecycleBin(module, nullptr, &info, &answer));
        EXPECT_EQ(hresult::kOk, answer);
        return info;
    }

    ShellType shell;
    ModuleHandle module;
};

TYPED_TEST_SUITE_P(ShellContract);

TYPED_TEST_P(ShellContract, MissingLibraryDoesNotLoad) {
    ModuleHandle other{0xbd};
    EXPECT_FALSE(this->shell.OpenLibrary("corvane-missing.dll", &other));
    EXPECT_EQ(0xbdu, other.value);
}

TYPED_TEST_P(ShellContract, BothRoadsGiveTheSameSpecialFolder) {
    char path[kMaxPath] = "";
    bool answer = false;
    ASSERT_TRUE(this->shell.CallSpecialFolderPath(this->module, HWnd{}, path, csidl::kRecent, false,
                                                  &answer));
    EXPECT_TRUE(answer);
    char other[kMaxPath] = "";
    ASSERT_TRUE(this->shell.FolderPathFromLocation(HWnd{}, csidl::kRecent, other));
    EXPECT_NE("", std::string(path));
    EXPECT_EQ(std::string(path), std::string(other));
}

TYPED_TEST_P(ShellContract, RecycleBinCountsItsItemsUntilEmptied) {
    using Traits = ShellTraits<TypeParam>;
    RecycleBinInfo before = this->Query();
    Traits::Recycle(this->shell, 1234);
    RecycleBinInfo full = this->Query();
    EXPECT_EQ(before.totalSize + 1234, full.totalSize);
    EXPECT_EQ(before.itemCount + 1, full.itemCount);
    HResult answer = hresult::kFail;
    ASSERT_TRUE(this->shell.CallEmptyRecycleBin(this->module, HWnd{}, nullptr,
                                                recyclebin::kQuietFlags, &answer));
    EXPECT_EQ(hresult::kOk, answer);
    RecycleBinInfo after = this->Query();
    EXPECT_EQ(0, after.totalSize);
    EXPECT_EQ(0, after.itemCount);
    // An empty bin empties without complaint.
    ASSERT_TRUE(this->shell.CallEmptyRecycleBin(this->module, HWnd{}, nullptr,
                                                recyclebin::kQuietFlags, &answer));
    EXPECT_EQ(hresult::kOk, answer);
}

REGISTER_TYPED_TEST_SUITE_P(ShellContract, MissingLibraryDoesNotLoad,
                            BothRoadsGiveTheSameSpecialFolder,
                            RecycleBinCountsItsItemsUntilEmptied);
