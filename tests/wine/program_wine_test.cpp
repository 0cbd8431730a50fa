// corvane.exe itself from the command line, under each Windows version Wine pretends to
// be: the version line it prints, its output in the ANSI code page 936 and in UTF-8, and
// what its Test and Clear find and leave of real traces: files held open, and WinINet's
// cache entries and index.dat files.
#include <windows.h>
// windows.h first: the shell header builds on it.
#include <gmock/gmock.h>
#include <shlwapi.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "clean/progress_counts.h"
#include "platform/win32/win32_platform.h"
#include "state/eraser_dlg.h"
#include "wine/wine_support.h"

namespace {

using OsVersionUnderWine = WineTest;

// The output in UTF-8 and in code page 936 under each version; in the temporary folder, a
// file this process holds open without sharing stays, and so does a read-only one.
TEST_F(OsVersionUnderWine, TempFolderKeepsHeldAndReadOnlyFiles) {
    const std::string temp = std::string(kTemp) + "\\";
    const Lines names = {"~corvane1.tmp", "readonly.tmp", "held.tmp"};
    for (const std::string& name : names) {
        ASSERT_TRUE(WriteFileBytes(temp + name, name));
    }
    SetFileAttributesA((temp + "readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = CreateFileA((temp + "held.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    StoreSettings(EraserSettings{0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1});  // temporary folder only
    auto run = [&](const char* args) {  // what the run shows, then which files are left
        Lines lines = RunCorvane(args);
        for (const std::string& name : names) {
            lines.push_back(PathExists(temp + name) ? name : "-");
        }
        return lines;
    };
    const std::string file = temp + "~corvane1.tmp <OK>";
    EXPECT_EQ(Printed({{"测试: 正在清空 Windows 临时文件夹...", "", "测试: 正在删除 " + file, "",
                        "测试: Windows 临时文件夹已清空 <OK>"}}) +
                  names,
              run("/test /utf8"));
    EXPECT_EQ(Printed({{"正在清空 Windows 临时文件夹...", "", "正在删除" + file, "",
                        "Windows 临时文件夹已清空 <OK>"}}) +
                  Lines({"-", "readonly.tmp", "held.tmp"}),
              run("/CLEAR"));
    CloseHandle(held);
}

using CacheUnderWine = WineTest;

// Clear takes a real cookie and page, then zeroes WinINet's own index.dat files of 32768
// bytes each.
TEST_F(CacheUnderWine, EntriesAndIndexFilesOfWinInet) {
    ASSERT_EQ(Lines{"0"}, Child("corvane_wine_helper.exe urlcache").Finish());
    StoreSettings(EraserSettings{0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1});  // cookies, files, index.dat
    const std::string base = std::string(kScratch) + "\\";
    const std::string cookie = "Cookie:" + std::string(std::getenv("USERNAME")) + "@corvane.test/";
    const std::string filled = "Index.dat 已清空——共填充 32768 字节! <OK>";
    Lines indexes = {"正在填充 index.dat 文件...", ""};
    for (const char* folder :
         {"Cookies", "Internet 临时文件夹\\Content.IE5", "历史\\History.IE5"}) {
        indexes = indexes + Lines{"清空 Index.dat，位置 " + base + folder + "...", filled};
    }
    EXPECT_EQ(Printed({{"正在删除 Cookies...", "", cookie, "", "已删除 <OK>"},
                       {"正在删除 Internet 临时文件...", "", "http://corvane.test/page.htm", "",
                        "Internet 临时文件已删除 <OK>"},
                       indexes + Lines{"", "Index.dat 文件已填充 <OK>"}}),
              RunCorvane("/clear /utf8"));
    std::ifstream index(base + "Cookies\\index.dat", std::ios::binary);
    EXPECT_EQ(std::string(32768, '\0'), std::string(std::istreambuf_iterator<char>(index), {}));
}

// With real WinINet, files and recycle bin, Test's report and Clear's agree category by
// category, kept cookies included. The report goes to a file named in Chinese, which the
// second run replaces. Clear keeps the kept host's cookie entry, file and index, so WinINet
// still answers it, and no longer the other host's.
TEST_F(CacheUnderWine, TestAndClearReportTheSame) {
    ASSERT_EQ(Lines{"0"}, Child("corvane_wine_helper.exe urlcache").Finish());
    ASSERT_EQ(Lines{"0"},
              Child("corvane_wine_helper.exe cookies mail.keep.test other.test").Finish());
    const std::string binned = std::string(kScratch) + "\\binned.txt";
    ASSERT_TRUE(WriteFileBytes(std::string(kTemp) + "\\a.tmp", "temp") &&
                WriteFileBytes(binned, "0123456789") && ShellDelete(binned, true));
    EraserSettings settings{0, 1, 1, 1, 0, 1, 0, 0, 1, 0, 1};
    settings.keepCookies = {"keep.test"};
    StoreSettings(settings);
    const std::string report = std::string(kScratch) + "\\报告.json";
    std::string json[2];
    Lines log;
    for (int clear : {0, 1}) {
        log = RunCorvane((clear ? "/Clear /utf8" : "/TEST") + (" /report \"" + report + "\""));
        EXPECT_EQ("0", log[0]);
        std::ifstream file(report, std::ios::binary);
        json[clear].assign(std::istreambuf_iterator<char>(file), {});
    }
    auto figures = [&](const std::string& name) {  // Clear's, from the category's name on
        size_t at = json[1].find("\"name\": \"" + name + "\"");
        return at == std::string::npos ? "" : json[1].substr(at, json[1].find('}', at) - at);
    };
    EXPECT_EQ(json[0].substr(json[0].find("\"categories\"")),
              json[1].substr(json[1].find("\"categories\"")));
    EXPECT_NE(std::string::npos, figures("temporary_internet_files").find("\"items\": 1,"));
    EXPECT_NE(std::string::npos, figures("cookies").find("\"items\": 2,\n      \"kept\": 1,"));
    EXPECT_NE(std::string::npos, figures("windows_temp").find("\"items\": 1,"));
    EXPECT_NE(std::string::npos, figures("windows_temp").find("\"bytes\": 4,"));
    EXPECT_EQ(std::string::npos, figures("recycle_bin").find("\"bytes\": 0,"));
    EXPECT_EQ(std::string::npos, figures("index_dat").find("\"items\": 0,"));
    EXPECT_THAT(log, testing::Contains("未清空 Index.dat，位置 " + std::string(kScratch) +
                                       "\\Cookies: 其中有保留的 Cookie"));
    EXPECT_EQ((Lines{"0", "visit=1"}),
              Child("corvane_wine_helper.exe cookie http://mail.keep.test/").Finish());
    EXPECT_EQ((Lines{"0", "none"}),
              Child("corvane_wine_helper.exe cookie http://other.test/").Finish());
}

// The 32-bit build computes in the x87 unit, whose extended precision would make the
// second threshold 1399 (1000 x 1.4 is 1399.99... before rounding to a double): the bar
// moves at the 1001st count and then only at the 1401st.
TEST(CountingPaceUnderWine, ThresholdsGrowInDoublePrecision) {
    Win32Platform win32;
    EraserDlg dlg{win32.platform};
    CountingPace pace;
    for (int count = 1; count <= 1400; ++count) {
        pace.Count(dlg);
    }
    EXPECT_EQ(1, dlg.progress.GetPos());
    pace.Count(dlg);
    EXPECT_EQ(2, dlg.progress.GetPos());
}

}  // namespace
