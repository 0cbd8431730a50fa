// The program itself under every Windows version that Wine can pretend to be: the
// version it detects and the run frame it prints from the command line.
#include <gtest/gtest.h>

#include <map>

#include "app/eraser_dlg.h"
#include "platform/win32/win32_platform.h"
#include "wine/wine_support.h"

namespace {

struct WinverRow {
    int code;
    const char* line;  // UTF-8, as /utf8 prints it; null when there is none
};

const std::map<std::string, WinverRow> kWinvers = {
    {"win95", {osver::kWin95, u8"操作系统: Windows 95"}},
    {"win98", {osver::kWin98, u8"操作系统: Windows 98"}},
    {"winme", {osver::kWinMe, u8"操作系统: Windows ME"}},
    {"nt40", {osver::kWinNt, u8"操作系统: Windows NT"}},
    {"win2k", {osver::kWin2000, u8"操作系统: Windows 2000"}},
    {"winxp", {osver::kWinXp, u8"操作系统: Windows XP"}},
    {"win2003", {osver::kWin2003, u8"操作系统: Windows Server 2003 家族"}},
    {"win7", {osver::kUnknown, nullptr}},
};

const WinverRow& Expected() {
    auto row = kWinvers.find(CurrentWinver());
    if (row == kWinvers.end()) {
        ADD_FAILURE() << "no expectation for " << CurrentWinver();
        return kWinvers.at("win7");
    }
    return row->second;
}

class OsVersionUnderWine : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }

    std::string ExpectedFrame() {
        const std::string dots(44, '.');
        std::string frame = Expected().line ? std::string(Expected().line) + "\r\n" : "";
        return frame + dots + "\r\n" +
               u8"正在分析系统... Please wait. This may take some time\r\n" +
               u8"正在分析系统 <OK>\r\n" + dots + "\r\n" + u8"完成!\r\n";
    }
    ProcessResult Corvane(const std::string& args) {
        return RunProcess("\"" + ProgramFolder() + "corvane.exe\" " + args);
    }
};

TEST_F(OsVersionUnderWine, DetectsTheVersionWineReports) {
    Win32Platform win32;
    EraserDlg dlg(win32.platform);
    dlg.DetectOsVersion();
    EXPECT_EQ(Expected().code, dlg.osVersion) << CurrentWinver();
}

TEST_F(OsVersionUnderWine, TestAndClearWithEverythingOffPrintOnlyTheFrame) {
    StoreAllSwitches(false, 0);
    for (const char* command : {"/test /utf8", "/clear /utf8"}) {
        ProcessResult result = Corvane(command);
        EXPECT_EQ(0, result.exitCode) << command;
        EXPECT_EQ(ExpectedFrame(), result.out) << command;
        EXPECT_EQ("", result.err) << command;
    }
}

TEST(CommandLineUnderWine, WithoutUtf8TheLinesAreInTheAnsiCodePage) {
    StoreAllSwitches(false, 2);
    ProcessResult result = RunProcess("\"" + ProgramFolder() + "corvane.exe\" /TEST");
    DeleteSettingsKey();
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ(0u, result.out.find("操作系统: Windows XP\r\n"));  // GBK bytes
}

TEST(CommandLineUnderWine, UnknownSwitchGivesUsageAndStatusTwo) {
    for (const char* args : {"/bogus", "", "/save", "/restore /utf8"}) {
        ProcessResult result = RunProcess("\"" + ProgramFolder() + "corvane.exe\" " + args);
        EXPECT_EQ(2, result.exitCode) << args;
        EXPECT_EQ("", result.out) << args;
        EXPECT_EQ(0u, result.err.find("Usage: corvane.exe")) << args;
    }
}

}  // namespace
