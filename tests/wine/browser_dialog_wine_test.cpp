// Dialog 151 as the user meets it: its template and texts from the resources, and the
// answer and box state that each way of ending it gives.
#include <gtest/gtest.h>
#include <windows.h>

#include "browsers/browser_open_dlg.h"
#include "wine/dialog_driver.h"

namespace {

struct Outcome {
    int result = 0;
    bool dontShowAgain = false;
    int closeCalls = 0;
    bool closedWhileShown = false;  // the close answer ran with the dialog still there
};

Outcome AskWith(std::vector<UserAct> script, SeenDialog* seen = nullptr) {
    Outcome outcome;
    DialogDriver driver(std::move(script));
    DialogBrowserPrompt prompt;
    outcome.result = prompt.Ask(
        HWnd{},
        [&](HWnd self) {
            ++outcome.closeCalls;
            HWND window = reinterpret_cast<HWND>(self.value);
            outcome.closedWhileShown = IsWindow(window) && IsWindowVisible(window);
        },
        &outcome.dontShowAgain);
    if (seen != nullptr) {
        *seen = driver.Seen();
    }
    return outcome;
}

TEST(BrowserOpenDialog, TemplateAndTextsAsTheResourceHasThem) {
    SeenDialog seen;
    AskWith({UserAct::kLeaveButton}, &seen);
    ASSERT_NE(nullptr, seen.window);
    EXPECT_EQ(L"发现已打开的浏览器窗口!", seen.caption);
    EXPECT_EQ(L"关闭浏览器后继续(&L)", seen.texts[0]);
    EXPECT_EQ(L"不予理会(&C)", seen.texts[1]);
    EXPECT_EQ(
        L"我们建议您在继续该操作前关闭所有已打开的浏览器窗口!\n\n"
        L"否则可能会无法处理一些正在被浏览器使用的临时文件!",
        seen.texts[2]);
    EXPECT_EQ(L"以后不再显示本对话框", seen.texts[3]);
    EXPECT_EQ(IDCANCEL, seen.defaultId);
    EXPECT_FALSE(seen.boxTickedAtStart);
    const RECT places[4] = {{5, 68, 83, 14}, {97, 68, 83, 14}, {16, 12, 148, 48}, {5, 88, 141, 9}};
    for (int i = 0; i < 4; ++i) {
        // Dialog units come back through pixels: allow one unit of rounding.
        EXPECT_NEAR(places[i].left, seen.controls[i].left, 1) << i;
        EXPECT_NEAR(places[i].top, seen.controls[i].top, 1) << i;
        EXPECT_NEAR(places[i].right, seen.controls[i].right, 1) << i;
        EXPECT_NEAR(places[i].bottom, seen.controls[i].bottom, 1) << i;
    }
}

TEST(BrowserOpenDialog, ShownInTheMiddleOfTheWorkAreaWithoutAVisibleOwner) {
    SeenDialog seen;
    AskWith({UserAct::kLeaveButton}, &seen);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((area.left + area.right) / 2, (seen.place.left + seen.place.right) / 2, 1);
    EXPECT_NEAR((area.top + area.bottom) / 2, (seen.place.top + seen.place.bottom) / 2, 1);
}

TEST(BrowserOpenDialog, CloseButtonClosesWhileShownAndAnswersOne) {
    Outcome outcome = AskWith({UserAct::kCloseButton});
    EXPECT_EQ(browserprompt::kClosedBrowsers, outcome.result);
    EXPECT_EQ(1, outcome.closeCalls);
    EXPECT_TRUE(outcome.closedWhileShown);
    EXPECT_FALSE(outcome.dontShowAgain);
}

TEST(BrowserOpenDialog, LeaveButtonAnswersTwoWithoutClosing) {
    Outcome outcome = AskWith({UserAct::kTick, UserAct::kLeaveButton});
    EXPECT_EQ(browserprompt::kLeftOpen, outcome.result);
    EXPECT_EQ(0, outcome.closeCalls);
    EXPECT_TRUE(outcome.dontShowAgain);
}

TEST(BrowserOpenDialog, EscapeEnterAndTheCloseBoxAllClose) {
    for (UserAct act : {UserAct::kEscape, UserAct::kEnter, UserAct::kCloseBox}) {
        Outcome outcome = AskWith({UserAct::kTick, act});
        EXPECT_EQ(browserprompt::kClosedBrowsers, outcome.result) << static_cast<int>(act);
        EXPECT_EQ(1, outcome.closeCalls) << static_cast<int>(act);
        EXPECT_TRUE(outcome.dontShowAgain) << static_cast<int>(act);
    }
}

TEST(BrowserOpenDialog, BoxTickedTwiceIsNotTicked) {
    Outcome outcome = AskWith({UserAct::kTick, UserAct::kTick, UserAct::kCloseButton});
    EXPECT_EQ(browserprompt::kClosedBrowsers, outcome.result);
    EXPECT_FALSE(outcome.dontShowAgain);
}

}  // namespace
