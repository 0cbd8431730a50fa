// Open browser windows against the in-memory window manager: which windows each walk
// picks, the close policy with a scripted question, and what only the double can
// produce (failed sends, unreadable classes, a vanished owner, no way to ask). The
// messages of each walk and the policies against real windows are checked under Wine.
#include <gtest/gtest.h>

#include "app/eraser_dlg.h"
#include "browsers/browser_windows.h"
#include "clean/erasers.h"
#include "platform/memory/memory_platform.h"

namespace {

const SentMessage kClose{winmsg::kSysCommand, winmsg::kScClose, 0, false, ""};
const SentMessage kDetected{kIeWindowOpenMessage, 0, 0, false, ""};
using Messages = std::vector<SentMessage>;

// Answers as a user would, and can press the close answer as dialog 151 does.
class ScriptedPrompt : public BrowserPrompt {
public:
    explicit ScriptedPrompt(MemoryTopWindows& windows) : windows_(windows) {}
    int Ask(HWnd owner, const std::function<void(HWnd)>& closeBrowsers,
            bool* dontShowAgain) override {
        ++asked;
        askedOver = owner;
        if (answer == browserprompt::kClosedBrowsers) {
            HWnd self = windows_.Add("#32770", true);
            closeBrowsers(self);
        }
        *dontShowAgain = tick;
        return answer;
    }
    int answer = browserprompt::kLeftOpen;
    bool tick = false;
    int asked = 0;
    HWnd askedOver{};

private:
    MemoryTopWindows& windows_;
};

class OpenBrowsers : public ::testing::Test {
protected:
    OpenBrowsers() {
        dlg.window = mem.windows.Add("#32770", true, [this](HWnd, const SentMessage& m) {
            if (m.message == kIeWindowOpenMessage) {
                dlg.ieWindowOpen = true;
            }
            return 0;
        });
        dlg.browserPrompt = &prompt;
    }
    const Messages& Got(HWnd window) { return mem.windows.Received(window); }

    MemoryPlatform mem;
    EraserDlg dlg{mem.platform};
    ScriptedPrompt prompt{mem.windows};
};

TEST_F(OpenBrowsers, CloseIEWindowsPicksVisibleWindowsOfTheClassInAnyCase) {
    HWnd ie = mem.windows.Add("IEFrame", true);
    HWnd lower = mem.windows.Add("ieframe", true);
    HWnd hidden = mem.windows.Add("IEFrame", false);
    HWnd longer = mem.windows.Add("IEFrameX", true);
    HWnd shorter = mem.windows.Add("IEFram", true);
    HWnd mozilla = mem.windows.Add("MozillaWindowClass", true);
    CloseIEWindows(mem.windows, dlg.window);
    EXPECT_EQ(Messages{kClose}, Got(ie));
    EXPECT_EQ(Messages{kClose}, Got(lower));
    for (HWnd other : {hidden, longer, shorter, mozilla}) {
        EXPECT_TRUE(Got(other).empty());
    }
}

TEST_F(OpenBrowsers, InternetExplorerWalksNeedTheirOwner) {
    HWnd ie = mem.windows.Add("IEFrame", true);
    mem.windows.Destroy(dlg.window);
    CloseIEWindows(mem.windows, dlg.window);
    DetectIEWindows(mem.windows, dlg.window);
    NotifyIEWindowsOfMruChange(mem.windows, HWnd{});
    EXPECT_TRUE(Got(ie).empty());
}

TEST_F(OpenBrowsers, DetectionTellsTheMainWindowOncePerWindow) {
    mem.windows.Add("IEFrame", true);
    mem.windows.Add("IEFRAME", true);
    mem.windows.Add("IEFrame", false);
    DetectIEWindows(mem.windows, dlg.window);
    EXPECT_EQ(Messages(2, kDetected), Got(dlg.window));
}

TEST_F(OpenBrowsers, MozillaWalkDoesNotNeedAMainWindow) {
    HWnd mozilla = mem.windows.Add("mozillawindowclass", true);
    HWnd aol = mem.windows.Add("AOL Frame25", true);
    dlg.window = HWnd{};
    CloseMozillaWindows(dlg);
    EXPECT_EQ(Messages{kClose}, Got(mozilla));
    EXPECT_TRUE(Got(aol).empty());
}

TEST_F(OpenBrowsers, FailedSendOrUnreadableClassPassesToTheNextWindow) {
    HWnd first = mem.windows.Add("IEFrame", true);
    HWnd second = mem.windows.Add("IEFrame", true);
    HWnd unreadable = mem.windows.Add("IEFrame ", true);
    HWnd third = mem.windows.Add("IEFrame", true);
    mem.windows.faults.Fail("TopWindows.Send", winerr::kAccessDenied, "IEFrame", 1);
    mem.windows.faults.Fail("TopWindows.ClassName", winerr::kAccessDenied, "IEFrame ");
    CloseIEWindows(mem.windows, dlg.window);
    EXPECT_TRUE(Got(first).empty());
    EXPECT_EQ(Messages{kClose}, Got(second));
    EXPECT_TRUE(Got(unreadable).empty());
    EXPECT_EQ(Messages{kClose}, Got(third));
}

// The close policy.

TEST_F(OpenBrowsers, PolicyAskWithoutAnOpenWindowAsksNothing) {
    mem.windows.Add("IEFrame", false);
    HandleOpenIEWindows(dlg);
    EXPECT_EQ(0, prompt.asked);
    EXPECT_EQ(2, dlg.settings.closeBrowserPolicy);
}

TEST_F(OpenBrowsers, LeftOpenWithTheBoxTickedBecomesNeverClose) {
    HWnd ie = mem.windows.Add("IEFrame", true);
    prompt.answer = browserprompt::kLeftOpen;
    prompt.tick = true;
    HandleOpenIEWindows(dlg);
    EXPECT_EQ(1, prompt.asked);
    EXPECT_EQ(dlg.window, prompt.askedOver);
    EXPECT_TRUE(Got(ie).empty());
    EXPECT_EQ(1, dlg.settings.closeBrowserPolicy);
    EXPECT_FALSE(dlg.ieWindowOpen);
    HandleOpenIEWindows(dlg);  // a later run neither asks nor closes
    EXPECT_EQ(1, prompt.asked);
    EXPECT_TRUE(Got(ie).empty());
}

TEST_F(OpenBrowsers, ClosedWithTheBoxTickedBecomesCloseWithoutAsking) {
    HWnd ie = mem.windows.Add("IEFrame", true);
    prompt.answer = browserprompt::kClosedBrowsers;
    prompt.tick = true;
    HandleOpenIEWindows(dlg);
    EXPECT_EQ(Messages{kClose}, Got(ie));
    EXPECT_EQ(0, dlg.settings.closeBrowserPolicy);
    HandleOpenIEWindows(dlg);  // a later run closes without asking
    EXPECT_EQ(1, prompt.asked);
    EXPECT_EQ(Messages(2, kClose), Got(ie));
}

TEST_F(OpenBrowsers, AnswerWithoutTheBoxKeepsAskingAndAnyOtherPolicyAsks) {
    HWnd ie = mem.windows.Add("IEFrame", true);
    dlg.settings.closeBrowserPolicy = 7;
    prompt.answer = browserprompt::kClosedBrowsers;
    HandleOpenIEWindows(dlg);
    EXPECT_EQ(1, prompt.asked);
    EXPECT_EQ(Messages{kClose}, Got(ie));
    EXPECT_EQ(7, dlg.settings.closeBrowserPolicy);
    EXPECT_FALSE(dlg.ieWindowOpen);
}

TEST_F(OpenBrowsers, QuestionThatCannotBeShownChangesNothing) {
    HWnd ie = mem.windows.Add("IEFrame", true);
    dlg.browserPrompt = nullptr;
    HandleOpenIEWindows(dlg);
    EXPECT_TRUE(Got(ie).empty());
    EXPECT_EQ(2, dlg.settings.closeBrowserPolicy);
    EXPECT_FALSE(dlg.ieWindowOpen);
}

// The question comes after the log was emptied and before the run's first line.
TEST_F(OpenBrowsers, ClearAsksBeforeItLogsAnything) {
    struct CountingPrompt : BrowserPrompt {
        explicit CountingPrompt(EraserDlg& dlg) : dlg(dlg) {}
        int Ask(HWnd, const std::function<void(HWnd)>&, bool*) override {
            linesWhenAsked = dlg.log.LineCount();
            return browserprompt::kLeftOpen;
        }
        EraserDlg& dlg;
        int linesWhenAsked = -1;
    } counting(dlg);
    mem.windows.Add("IEFrame", true);
    dlg.log.AddLogLine("from an earlier run", emphasis::kPlain);
    dlg.browserPrompt = &counting;
    dlg.OnClear();
    EXPECT_EQ(0, counting.linesWhenAsked);
}

}  // namespace
