// Open browser windows of another process: what Clear, Test and the close policy send
// them, with dialog 151 worked by a second thread.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/command_window.h"
#include "browsers/browser_windows.h"
#include "clean/erasers.h"
#include "platform/win32/win32_platform.h"
#include "wine/browser_windows_stand_in.h"
#include "wine/dialog_driver.h"
#include "wine/wine_support.h"

namespace {

using Lines = std::vector<std::string>;
using Record = std::map<std::string, Lines>;

const Lines kClosed = {"WM_SYSCOMMAND f060 0", "WM_DESTROY 0 0"};
const Lines kAolClosed = {"WM_QUERYENDSESSION 0 80000000", "WM_ENDSESSION 1 80000000",
                          "WM_SYSCOMMAND f060 0", "WM_DESTROY 0 0"};
// Every visible window of the Internet Explorer class, whatever the letter case.
const Record kIeClosed = {{"ie", kClosed}, {"ie-lower", kClosed}, {"ie-minimised", kClosed}};

class OpenBrowsersUnderWine : public ::testing::Test {
protected:
    OpenBrowsersUnderWine() {
        EraserSettings& s = dlg.settings;
        for (std::int32_t* field :
             {&s.clearHistory, &s.clearCookies, &s.clearTempInternetFiles, &s.clearIndexDat,
              &s.resetStartPage, &s.emptyRecycleBin, &s.clearRecentDocs, &s.clearAutoComplete,
              &s.clearWindowsTemp, &s.clearSearchHistory}) {
            *field = 0;
        }
        host.Attach(dlg);
    }
    ~OpenBrowsersUnderWine() override { host.Detach(dlg); }
    void SetUp() override { ASSERT_TRUE(browsers.Started()); }

    // Runs HandleOpenIEWindows with the dialog worked by script (watched when empty).
    SeenDialog Handle(std::vector<UserAct> script, int* appearances = nullptr) {
        DialogDriver driver(std::move(script), reinterpret_cast<HWND>(dlg.window.value));
        HandleOpenIEWindows(dlg);
        if (appearances != nullptr) {
            *appearances = driver.Appearances();
        }
        return driver.Seen();
    }

    BrowserWindowsStandIn browsers;
    Win32Platform win32;
    EraserDlg dlg{win32.platform};
    WindowCommandHost host;
};

TEST_F(OpenBrowsersUnderWine, PolicyCloseClosesVisibleInternetExplorerWindowsOnly) {
    dlg.settings.closeBrowserPolicy = 0;
    int appearances = -1;
    Handle({}, &appearances);
    EXPECT_EQ(0, appearances);
    EXPECT_EQ(kIeClosed, browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, PolicyNeverCloseNeitherAsksNorCloses) {
    dlg.settings.closeBrowserPolicy = 1;
    int appearances = -1;
    Handle({}, &appearances);
    EXPECT_EQ(0, appearances);
    EXPECT_EQ(Record{}, browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, LeaveOpenWithTheBoxTickedBecomesNeverClose) {
    SeenDialog seen = Handle({UserAct::kTick, UserAct::kLeaveButton});
    EXPECT_NE(nullptr, seen.window);
    EXPECT_TRUE(seen.ownerDisabled);
    EXPECT_EQ(1, dlg.settings.closeBrowserPolicy);
    EXPECT_FALSE(dlg.ieWindowOpen);
    EXPECT_EQ(Record{}, browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, CloseWithTheBoxTickedBecomesCloseWithoutAsking) {
    Handle({UserAct::kTick, UserAct::kCloseButton});
    EXPECT_EQ(0, dlg.settings.closeBrowserPolicy);
    EXPECT_EQ(kIeClosed, browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, EscapeClosesTheBrowsersAndKeepsAsking) {
    Handle({UserAct::kEscape});
    EXPECT_EQ(2, dlg.settings.closeBrowserPolicy);
    EXPECT_EQ(kIeClosed, browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, TestNeverAsksNorClosesWhateverThePolicy) {
    for (int policy : {0, 2}) {
        dlg.settings.closeBrowserPolicy = policy;
        int appearances = -1;
        {
            DialogDriver watcher({});
            dlg.OnTest();
            appearances = watcher.Appearances();
        }
        EXPECT_EQ(0, appearances) << policy;
    }
    EXPECT_EQ(Record{}, browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, ClearClosesMozillaAndAolWhateverThePolicy) {
    dlg.settings.closeBrowserPolicy = 1;
    dlg.OnClear();
    EXPECT_EQ((Record{{"mozilla", kClosed}, {"aol", kAolClosed}}), browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, NotificationReachesTheOtherProgramWithItsTexts) {
    NotifyIEWindowsOfMruChange(win32.windows, dlg.window);
    const Lines notified = {
        "WM_SETTINGCHANGE 0 Software\\Microsoft\\Internet Explorer\\TypedURLs",
        "WM_SETTINGCHANGE 0 Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"};
    EXPECT_EQ((Record{{"ie", notified}, {"ie-lower", notified}, {"ie-minimised", notified}}),
              browsers.Received());
}

TEST_F(OpenBrowsersUnderWine, CommandLineClearAppliesTheStoredPolicy) {
    StoreAllSwitches(false, 0);
    ProcessResult test = RunProcess("\"" + ProgramFolder() + "corvane.exe\" /test");
    EXPECT_EQ(Record{}, browsers.Received());
    ProcessResult clear = RunProcess("\"" + ProgramFolder() + "corvane.exe\" /clear");
    DeleteSettingsKey();
    EXPECT_EQ(0, test.exitCode);
    EXPECT_EQ(0, clear.exitCode);
    Record expected = kIeClosed;
    expected["mozilla"] = kClosed;
    expected["aol"] = kAolClosed;
    EXPECT_EQ(expected, browsers.Received());
}

TEST(OpenBrowsersWithoutBrowsersUnderWine, PolicyAskWithoutAWindowShowsNothing) {
    Win32Platform win32;
    EraserDlg dlg(win32.platform);
    WindowCommandHost host;
    host.Attach(dlg);
    DialogDriver watcher({});
    HandleOpenIEWindows(dlg);
    host.Detach(dlg);
    EXPECT_EQ(2, dlg.settings.closeBrowserPolicy);
    EXPECT_EQ(0, watcher.Appearances());
}

}  // namespace
