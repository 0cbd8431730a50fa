// corvane.exe itself from the command line, under each Windows version Wine pretends to
// be: the version line it prints, its output in the ANSI code page 936 and in UTF-8, and
// what its Test and Clear find and leave of real traces: files another process holds
// open, Wine's recycle bin, and WinINet's cache entries and index.dat files.
#include <windows.h>
// windows.h first: the shell header builds on it.
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>
#include <map>

#include "app/eraser_dlg.h"
#include "clean/progress_counts.h"
#include "platform/win32/win32_platform.h"
#include "wine/wine_support.h"

namespace {

using OsVersionUnderWine = WineTest;

TEST_F(OsVersionUnderWine, RunsWithEverythingOffPrintOnlyTheFrame) {
    StoreSettings(EraserSettings{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (const char* args : {"/test /utf8", "/CLEAR /utf8", "/test"}) {
        ProcessResult result = RunCorvane(args);
        EXPECT_EQ(Printed({}), Split(result.out)) << args;
        EXPECT_EQ(0, result.exitCode) << args;
    }
    ProcessResult usage = RunCorvane("/save");
    EXPECT_EQ(2, usage.exitCode);
    EXPECT_EQ(0u, usage.out.find("Usage: corvane.exe /test | /clear [/utf8]\r\n"));
}

using FilesUnderWine = WineTest;

TEST_F(FilesUnderWine, TempFolderKeepsHeldAndReadOnlyFilesRecycleBinEmpties) {
    const std::string temp = std::string(kTemp) + "\\";
    for (const char* name : {"~corvane1.tmp", "readonly.tmp", "held.tmp", "desktop.ini"}) {
        ASSERT_TRUE(WriteFileBytes(temp + name, name));
    }
    SetFileAttributesA((temp + "readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    Child holder("corvane_wine_helper.exe hold " + temp + "held.tmp");
    ASSERT_EQ("held", holder.FirstLine());
    ASSERT_TRUE(RecycleNewFile(std::string(kScratch) + "\\a.txt", std::string(1000, 'a')));
    ASSERT_TRUE(RecycleNewFile(std::string(kScratch) + "\\b.txt", std::string(234, 'b')));
    StoreSettings(EraserSettings{0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1});  // bin, temporary folder

    EXPECT_EQ(Printed({{"测试: 正在清空 Windows 临时文件夹...", "",
                        "测试: 正在删除 " + temp + "~corvane1.tmp <OK>", "",
                        "测试: Windows 临时文件夹已清空 <OK>"},
                       {"测试: 正在清空回收站...", "", "测试: 1234 字节已删除", "",
                        "测试: 回收站已清空 <OK>"}}),
              Split(RunCorvane("/test /utf8").out));
    EXPECT_TRUE(PathExists(temp + "~corvane1.tmp"));
    EXPECT_EQ(std::make_pair(1234LL, 2LL), RecycleBinContent());
    EXPECT_EQ(
        Printed({{"正在清空 Windows 临时文件夹...", "", "正在删除" + temp + "~corvane1.tmp <OK>",
                  "", "Windows 临时文件夹已清空 <OK>"},
                 {"正在清空回收站...", "", "1234 字节已删除", "", "回收站已清空<OK>"}}),
        Split(RunCorvane("/clear /utf8").out));
    EXPECT_FALSE(PathExists(temp + "~corvane1.tmp"));
    for (const char* name : {"readonly.tmp", "held.tmp", "desktop.ini"}) {
        EXPECT_TRUE(PathExists(temp + name)) << name;
    }
    EXPECT_EQ(std::make_pair(0LL, 0LL), RecycleBinContent());
}

// The shell's cache folders point into the scratch folder for the length of a test: the
// programs started meanwhile keep WinINet's containers and their index.dat files there.
class CacheUnderWine : public WineTest {
protected:
    void SetUp() override {
        WineTest::SetUp();
        RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                      0, KEY_ALL_ACCESS, &key);
        for (auto& [name, folder, old] : folders) {
            DWORD size = sizeof old;
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size);
            SetFolder(name, base + folder);
            SHCreateDirectoryExA(nullptr, (base + folder).c_str(), nullptr);
        }
    }
    void TearDown() override {
        for (const auto& [name, folder, old] : folders) {
            SetFolder(name, old);
        }
        RegCloseKey(key);
        WineTest::TearDown();
    }
    void SetFolder(const char* name, const std::string& path) {
        RegSetValueExA(key, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
    }

    HKEY key = nullptr;
    const std::string base = std::string(kScratch) + "\\";
    struct {
        const char *name, *folder;
        char old[MAX_PATH];
    } folders[3] = {
        {"Cookies", "Cookies", ""}, {"Cache", "Internet 临时文件夹", ""}, {"History", "历史", ""}};
};

// Test lists a real cookie and page, and WinINet's index.dat files with the second copy
// of the temporary Internet files where the version keeps it; Clear takes them all, the
// copy going whole on the NT family, and leaves the index.dat files zeroed.
TEST_F(CacheUnderWine, EntriesAndIndexFilesOfWinInet) {
    const bool win98 = CurrentWinver() == "win98";
    const std::string copies[] = {base + "Local Settings\\Internet 临时文件夹",  // 98 and ME
                                  std::string(kTemp) + "\\Internet 临时文件夹\\Content.IE5"};
    for (int i = 0; i < 2; ++i) {
        SHCreateDirectoryExA(nullptr, copies[i].c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(copies[i] + "\\index.dat",
                                   "Client UrlCache MMF Ver 5.2" + std::string(73 + 100 * i, 'x')));
    }
    ASSERT_EQ(0, Child("corvane_wine_helper.exe urlcache corvane.test").Finish().exitCode);
    StoreSettings(EraserSettings{0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1});  // cookies, files, index.dat
    const std::string cookie = "Cookie:" + std::string(std::getenv("USERNAME")) + "@corvane.test/";
    const std::string page = "http://corvane.test/page.htm", copy = copies[win98 ? 0 : 1];
    Lines test, clear;  // the index.dat files filled: WinINet's own, of 32768 bytes, and the copy
    for (const std::string& folder : {base + "Cookies", base + "Internet 临时文件夹\\Content.IE5",
                                      copy, base + "历史\\History.IE5"}) {
        std::string size = folder != copy ? "32768" : win98 ? "100" : "200";
        std::string filled = "Index.dat 已清空——共填充 " + size + " 字节! <OK>";
        test = test + Lines{"测试: 清空 Index.dat，位置" + folder + "...", "测试: " + filled};
        if (folder != copy || win98) {  // where only a cache folder's files go, the copy stays
            clear = clear + Lines{"清空 Index.dat，位置 " + folder + "...", filled};
        }
    }
    EXPECT_EQ(Printed({{"测试: 正在删除 Cookies...", "", cookie, "", "测试: Cookies 已删除 <OK>"},
                       {"测试: 正在删除 Internet 临时文件...", "", page, "",
                        "测试: Internet 临时文件已删除 <OK>"},
                       Lines{"测试: 正在清空 index.dat 文件...", ""} + test +
                           Lines{"", "测试: Index.dat 文件已被清空 <OK>"}}),
              Split(RunCorvane("/test /utf8").out));
    EXPECT_EQ(
        Printed({{"正在删除 Cookies...", "", cookie, "", "已删除 <OK>"},
                 {"正在删除 Internet 临时文件...", "", page, "", "Internet 临时文件已删除 <OK>"},
                 Lines{"正在填充 index.dat 文件...", ""} + clear +
                     Lines{"", "Index.dat 文件已填充 <OK>"}}),
        Split(RunCorvane("/clear /utf8").out));
    EXPECT_EQ(std::string(32768, '\0'), ReadFileBytes(base + "Cookies\\index.dat"));
}

// The 32-bit build computes in the x87 unit, whose extended precision would make the
// second threshold 1399 (1000 x 1.4 is 1399.99... before rounding to a double).
TEST(CountingPaceUnderWine, ThresholdsGrowInDoublePrecision) {
    Win32Platform win32;
    EraserDlg dlg{win32.platform};
    CountingPace pace;
    std::vector<int> stepsAt;
    for (int count = 1; count <= 1960; ++count) {
        int before = dlg.progress.GetPos();
        pace.Count(dlg);
        if (dlg.progress.GetPos() != before) {
            stepsAt.push_back(count);
        }
    }
    EXPECT_EQ((std::vector<int>{1001, 1401, 1960}), stepsAt);
}

}  // namespace
