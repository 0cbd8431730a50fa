// The index.dat step and the cache folder discovery on the real platform, in a prefix
// that looks like a Chinese Windows XP profile: the index.dat files that Wine's WinINet
// writes, history containers recorded in the registry, the second copy of the temporary
// Internet files (the Windows 98 road too) and the removal of folder trees.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the shell header builds on it.
#include <shlwapi.h>

#include "app/eraser_dlg.h"
#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "clean/index_dat.h"
#include "platform/win32/win32_platform.h"
#include "wine/wine_support.h"
#include "wine/xp_profile_wine.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kInternetSettings[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr char kExtensible5[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Extensible Cache";

std::string WindowsIndex(size_t length) {
    std::string index = std::string(kUrlCacheSignature) + " 5.2";
    index.resize(length, 'x');
    return index;
}

std::string Location(bool test, const std::string& folder) {
    return (test ? "测试: 清空 Index.dat，位置" : "清空 Index.dat，位置 ") + folder + "...\r\n";
}
std::string Filled(bool test, size_t bytes) {
    return std::string(test ? "测试: " : "") + "Index.dat 已清空——共填充 " + std::to_string(bytes) +
           " 字节! <OK>\r\n";
}

class IndexDatUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        had50_ =
            RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kInternetSettings) + "\\5.0").c_str(), 0,
                          KEY_READ, &key) == ERROR_SUCCESS;
        if (had50_) {
            RegCloseKey(key);
        }
        dlg.DetectOsVersion();
    }
    void TearDown() override {
        if (!had50_) {
            SHDeleteKeyA(HKEY_CURRENT_USER, (std::string(kInternetSettings) + "\\5.0").c_str());
        }
        DeleteSettingsKey();
    }
    void AddContainer(const std::string& name, const std::string& cachePath) {
        HKEY key = nullptr;
        ASSERT_EQ(
            ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kExtensible5) + "\\" + name).c_str(), 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, "CachePath", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(cachePath.c_str()),
                       static_cast<DWORD>(cachePath.size() + 1));
        RegCloseKey(key);
    }
    Lines LogLines() const {
        Lines out;
        for (const LogLine& line : dlg.log.Lines()) {
            out.push_back(line.text);
        }
        return out;
    }

    WineXpProfile xp;
    Win32Platform win32;
    EraserDlg dlg{win32.platform};

private:
    bool had50_ = false;
};

TEST_F(IndexDatUnderWine, WinInetIndexFilesAreListedByTestAndFilledByClear) {
    ASSERT_EQ(0, RunHelper("urlcache").exitCode);
    const std::string folders[] = {xp.cookies, xp.cache + "\\Content.IE5",
                                   xp.history + "\\History.IE5"};
    std::string before[3];
    for (int i = 0; i < 3; ++i) {
        before[i] = ReadFileBytes(folders[i] + "\\index.dat");
        ASSERT_LT(0u, before[i].size()) << folders[i];
        EXPECT_EQ(0u, before[i].find("WINE URLCache Ver")) << folders[i];
    }
    EraserSettings settings{0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2};
    StoreSettings(settings);

    std::string test = RunCorvane("/test").out;
    std::string clear = RunCorvane("/clear").out;
    std::string again = RunCorvane("/clear").out;
    std::string expectedTest = "测试: 正在清空 index.dat 文件...\r\n\r\n";
    std::string expectedClear = "正在填充 index.dat 文件...\r\n\r\n";
    for (int i = 0; i < 3; ++i) {
        expectedTest += Location(true, folders[i]) + Filled(true, before[i].size());
        expectedClear += Location(false, folders[i]) + Filled(false, before[i].size());
        EXPECT_EQ(std::string(before[i].size(), '\0'), ReadFileBytes(folders[i] + "\\index.dat"));
    }
    EXPECT_NE(std::string::npos, test.find(expectedTest + "\r\n测试: Index.dat 文件已被清空 <OK>"))
        << test;
    EXPECT_NE(std::string::npos, clear.find(expectedClear + "\r\nIndex.dat 文件已填充 <OK>"))
        << clear;
    EXPECT_NE(std::string::npos,
              again.find("正在填充 index.dat 文件...\r\n\r\nIndex.dat 文件已经被填充 <OK>"))
        << again;
}

TEST_F(IndexDatUnderWine, HistoryContainersFromTheRegistryAreRemovedOnlyWhenTheyAreCaches) {
    const std::string store = xp.history + "\\History.IE5";
    const std::string day = store + "\\MSHist012005031420050315";
    const std::string other = store + "\\NotACache";
    for (const std::string& folder : {store, day, other}) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    ASSERT_TRUE(WriteFileBytes(store + "\\index.dat", WindowsIndex(4096)));
    ASSERT_TRUE(WriteFileBytes(day + "\\index.dat", WindowsIndex(8192)));
    ASSERT_TRUE(WriteFileBytes(day + "\\visited.dat", "v"));
    ASSERT_TRUE(WriteFileBytes(other + "\\index.dat", "<html>not a cache</html>"));
    ASSERT_TRUE(WriteFileBytes(other + "\\keep.txt", "k"));
    AddContainer("MSHist012005031420050315",
                 "%USERPROFILE%\\Local Settings\\历史\\History.IE5\\MSHist012005031420050315\\");

    GatherCacheFolders(dlg);
    EXPECT_EQ(std::set<std::string>{store}, dlg.indexDatPaths);
    FillListedIndexDat(dlg, true, true);
    EXPECT_EQ((Lines{"测试: 清空 Index.dat，位置" + day + "...",
                     "测试: Index.dat 已清空——共填充 8192 字节! <OK>"}),
              LogLines());
    EXPECT_EQ(WindowsIndex(8192), ReadFileBytes(day + "\\index.dat"));
    dlg.log.ClearLog();
    FillListedIndexDat(dlg, false, true);
    EXPECT_EQ(
        (Lines{"清空 Index.dat，位置 " + day + "...", "Index.dat 已清空——共填充 8192 字节! <OK>"}),
        LogLines());
    EXPECT_FALSE(PathExists(day));
    EXPECT_EQ("<html>not a cache</html>", ReadFileBytes(other + "\\index.dat"));
    EXPECT_TRUE(PathExists(other + "\\keep.txt"));
    EXPECT_EQ(WindowsIndex(4096), ReadFileBytes(store + "\\index.dat"));
}

// Runs under every Windows version the CTest entries name: on Windows 98 and ME the
// second copy of the temporary Internet files lies under "Local Settings" beside them,
// elsewhere in the temporary folder.
TEST_F(IndexDatUnderWine, CacheFoldersSecondCopyOfTheTemporaryInternetFiles) {
    bool win9x = dlg.osVersion == osver::kWin98 || dlg.osVersion == osver::kWinMe;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string cache = win9x ? "C:\\windows\\Internet 临时文件夹" : xp.cache;
    const std::string copy = win9x ? "C:\\windows\\Local Settings\\Internet 临时文件夹"
                                   : std::string(temp) + "Internet 临时文件夹\\Content.IE5";
    const std::string created =
        win9x ? "C:\\windows\\Local Settings" : std::string(temp) + "Internet 临时文件夹";
    RemoveAtEnd cleanup;
    cleanup.paths = {created};
    if (win9x) {
        cleanup.paths.push_back(cache);
    }
    xp.SetShellFolder("Cache", cache);
    for (const std::string& folder : {cache, cache + "\\Content.IE5", created, copy}) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    ASSERT_TRUE(WriteFileBytes(cache + "\\Content.IE5\\index.dat", WindowsIndex(100)));
    ASSERT_TRUE(WriteFileBytes(copy + "\\index.dat", WindowsIndex(200)));

    std::string found;
    EXPECT_TRUE(
        FindAlternateCacheFolder(dlg, cache + "\\Content.IE5", kTempInternetFilesWord, &found));
    EXPECT_EQ(copy, found);
    FillIndexDat(dlg, true, csidl::kInternetCache, true);
    EXPECT_EQ((Lines{"测试: 清空 Index.dat，位置" + cache + "\\Content.IE5...",
                     "测试: Index.dat 已清空——共填充 100 字节! <OK>",
                     "测试: 清空 Index.dat，位置" + copy + "...",
                     "测试: Index.dat 已清空——共填充 200 字节! <OK>"}),
              LogLines())
        << CurrentWinver();
}

// A tree with a read-only file, a subfolder and a folder whose name a command
// interpreter would expand: the NT family removes it all, other versions only the
// files directly in it.
TEST_F(IndexDatUnderWine, FolderTreeRemovalByVersion) {
    const std::string tree = xp.cache + "\\Content.IE5";
    const std::string odd = tree + "\\%TEMP%";
    for (const std::string& folder : {tree, odd, tree + "\\AB12CD34"}) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    ASSERT_TRUE(WriteFileBytes(tree + "\\page.htm", "p"));
    ASSERT_TRUE(WriteFileBytes(tree + "\\AB12CD34\\img.gif", "i"));
    ASSERT_TRUE(WriteFileBytes(odd + "\\x.htm", "x"));
    ASSERT_TRUE(WriteFileBytes(tree + "\\locked.htm", "l"));
    SetFileAttributesA((tree + "\\locked.htm").c_str(), FILE_ATTRIBUTE_READONLY);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string canary = std::string(temp) + "corvane-canary.tmp";
    RemoveAtEnd cleanup;
    cleanup.paths = {canary};
    ASSERT_TRUE(WriteFileBytes(canary, "c"));

    RemoveFolderTree(dlg, tree);
    bool nt = IsNtFamily(dlg.osVersion);
    EXPECT_EQ(!nt, PathExists(tree)) << CurrentWinver();
    EXPECT_FALSE(PathExists(tree + "\\page.htm"));
    EXPECT_EQ(!nt, PathExists(tree + "\\locked.htm"));
    EXPECT_EQ(!nt, PathExists(odd + "\\x.htm"));
    EXPECT_TRUE(PathExists(canary));
}

}  // namespace
