// Open browsers in another process (the helper's windows) and dialog 151 worked by its
// user from a second thread: what each way of answering the dialog, and a Clear from the
// command line, send to which window.
#include <algorithm>
#include <thread>

#include "app/command_window.h"
#include "clean/erasers.h"
#include "platform/win32/win32_platform.h"
#include "wine/window_driver.h"
#include "wine/wine_support.h"

namespace {

const std::wstring kCloseButton = L"关闭浏览器后继续(&L)", kLeaveButton = L"不予理会(&C)";
// The tick box, and keys, which no control is named after.
const std::wstring kTickBox = L"以后不再显示本对话框", kEscape = L"{Esc}", kEnter = L"{Enter}";

// Works dialog 151 as its user would: waits for it, presses the controls named by their
// texts or, when no control has the name, the key, in order, and sees it go.
void AnswerDialog(const std::vector<std::wstring>& presses) {
    HWND dialog = nullptr;  // shown once its controls are there
    driver::WaitUntil(500, 10, [&] {
        return IsWindowVisible(dialog = FindWindowW(L"#32770", L"发现已打开的浏览器窗口!"));
    });
    ASSERT_TRUE(IsWindowVisible(dialog));
    for (const std::wstring& press : presses) {
        HWND button = FindWindowExW(dialog, nullptr, L"Button", press.c_str());
        PostMessageW(button ? button : dialog, button ? BM_CLICK : WM_KEYDOWN,
                     press == kEscape ? VK_ESCAPE : VK_RETURN, 1);
    }
    driver::WaitUntil(300, 10, [&] { return !IsWindow(dialog); });
    EXPECT_FALSE(IsWindow(dialog)) << "dialog 151 stayed open";
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);  // ends it if it did
}

using BrowsersUnderWine = WineTest;

// A close request reaches the visible Internet Explorer windows, minimised or not, in the
// order of the windows on the screen, the last opened first.
const Lines kIeClosed = {"ie-minimised WM_SYSCOMMAND f060 0", "ie WM_SYSCOMMAND f060 0"};

TEST_F(BrowsersUnderWine, EachWayOfAnsweringTheDialogWithThePolicyToAsk) {
    // clang-format off
    const struct { std::vector<std::wstring> presses; int policyAfter; Lines received; } rows[] = {
        {{kTickBox, kLeaveButton}, 1, {}}, {{kTickBox, kCloseButton}, 0, kIeClosed},
        {{kTickBox, kTickBox, kCloseButton}, 2, kIeClosed}, {{kEscape}, 2, kIeClosed},
        {{kTickBox, kEnter}, 0, kIeClosed}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        Child windows("corvane_wine_helper.exe windows");
        ASSERT_EQ("ready", windows.FirstLine());
        Win32Platform win32;
        EraserDlg dlg(win32.platform);
        WindowCommandHost host;
        host.Attach(dlg);
        std::thread user(AnswerDialog, row.presses);
        HandleOpenIEWindows(dlg);
        user.join();
        host.Detach(dlg);
        EXPECT_EQ(row.policyAfter, dlg.settings.closeBrowserPolicy);
        EXPECT_EQ(Lines{"0"} + row.received, windows.Finish(true));
    }
}

// Clear closes Mozilla and AOL whatever the policy, AOL told first that the session
// ends; Internet Explorer, never to be closed, hears that the typed URLs and the Run
// history changed. Every one of 1001 typed URLs is named, and the key goes with them.
TEST_F(BrowsersUnderWine, ClearFromTheCommandLine) {
    StoreSettings(EraserSettings{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});  // history only
    const char *typedKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs",
               *runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    for (int i = 1; i <= 1001; ++i) {
        std::string url = "http://" + std::to_string(i) + "/";
        SHSetValueA(HKEY_CURRENT_USER, typedKey, ("url" + std::to_string(i)).c_str(), REG_SZ,
                    url.c_str(), static_cast<DWORD>(url.size() + 1));
    }
    Child windows("corvane_wine_helper.exe windows");
    ASSERT_EQ("ready", windows.FirstLine());
    Lines cleared = RunCorvane("/clear");
    EXPECT_EQ("0", cleared[0]);
    EXPECT_EQ(1001, std::count_if(cleared.begin(), cleared.end(), [](const std::string& line) {
                  return line.rfind("正在删除分类 URL http://", 0) == 0;
              }));
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, typedKey, 0, KEY_READ, &key));
    const std::string typed = " WM_SETTINGCHANGE 0 " + std::string(typedKey);
    const std::string run = " WM_SETTINGCHANGE 0 " + std::string(runKey);
    EXPECT_EQ((Lines{"0", "mozilla WM_SYSCOMMAND f060 0", "aol WM_QUERYENDSESSION 0 80000000",
                     "aol WM_ENDSESSION 1 80000000", "aol WM_SYSCOMMAND f060 0",
                     "ie-minimised" + typed, "ie-minimised" + run, "ie" + typed, "ie" + run}),
              windows.Finish(true));
}

}  // namespace
