// Open browser windows against the in-memory window manager: which windows each walk
// picks, what only the double can produce (failed sends, unreadable classes, a vanished
// owner), and the close policy with a scripted question. Messages are written "window
// message wParam lParam [text]" in hex, window 0 being the main window.
#include <gtest/gtest.h>

#include <sstream>

#include "browsers/browser_windows.h"
#include "clean/erasers.h"
#include "machine.h"

namespace {

struct OpenBrowsers : Machine {
    OpenBrowsers() {
        dlg.window = Add("#32770", true, [this](HWnd, const SentMessage& m) {
            dlg.ieWindowOpen = dlg.ieWindowOpen || m.message == kIeWindowOpenMessage;
            return 0;
        });
    }
    HWnd Add(const std::string& name, bool visible, MemoryTopWindows::Handler handler = {}) {
        windows.push_back(mem.windows.Add(name, visible, handler));
        return windows.back();
    }
    Lines Messages() {
        Lines lines;
        for (size_t i = 0; i < windows.size(); ++i) {
            for (const SentMessage& m : mem.windows.Received(windows[i])) {
                std::ostringstream line;
                line << std::hex << i << ' ' << m.message << ' ' << m.wParam << ' ' << m.lParam;
                lines.push_back(line.str() + (m.hasText ? " " + m.text : ""));
            }
        }
        return lines;
    }
    std::vector<HWnd> windows;
};

// Visible windows of the class in any case, each one; a failed send or an unreadable
// class passes on to the next window. The Internet Explorer walks need their owner, the
// others no main window.
TEST_F(OpenBrowsers, WalksPickTheVisibleWindowsOfTheirClass) {
    Add("IEFrame", false);
    for (const char* name : {"IEFrame", "ieframe", "IEFrameX", "IEFram", "IEFrame ",
                             "mozillawindowclass", "AOL Frame25"}) {
        Add(name, true);
    }
    mem.windows.faults.Fail("TopWindows.Send", winerr::kAccessDenied, "IEFrame", 1);
    mem.windows.faults.Fail("TopWindows.ClassName", winerr::kAccessDenied, "IEFrame ");
    for (int run = 0; run < 2; ++run) {  // the second time without their owner
        CloseIEWindows(mem.windows, dlg.window);
        DetectIEWindows(mem.windows, dlg.window);
        NotifyIEWindowsOfMruChange(mem.windows, dlg.window);
        mem.windows.Destroy(dlg.window);
    }
    dlg.window = HWnd{};
    CloseMozillaWindows(dlg);
    CloseAolWindows(dlg);
    // clang-format off
    const std::string typed = " 1a 0 0 Software\\Microsoft\\Internet Explorer\\TypedURLs",
                      mru = " 1a 0 0 Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    EXPECT_EQ((Lines{"0 401 0 0", "0 401 0 0", "2" + typed, "2" + mru, "3 112 f060 0", "3" + typed, "3" + mru,
                     "7 112 f060 0", "8 11 0 80000000", "8 16 1 80000000", "8 112 f060 0"}), Messages());
    // clang-format on
}

struct PolicyRow {
    friend void PrintTo(const PolicyRow& row, std::ostream* out) { *out << row.name; }
    const char* name;
    int policy, answer, tick, prompt, asked;
    Lines messages;
    int policyAfter;
};

struct Policy : OpenBrowsers, BrowserPrompt, testing::WithParamInterface<PolicyRow> {
    // Answers as scripted; the close answer closes the browsers as dialog 151 does.
    int Ask(HWnd owner, const std::function<void(HWnd)>& closeBrowsers, bool* tick) override {
        EXPECT_EQ(-1, linesWhenAsked);  // once
        linesWhenAsked = dlg.log.LineCount();
        EXPECT_EQ(dlg.window, owner);
        if (GetParam().answer == browserprompt::kClosedBrowsers) {
            closeBrowsers(mem.windows.Add("#32770", true));
        }
        *tick = GetParam().tick;
        return GetParam().answer;
    }

    int linesWhenAsked = -1;
};

// Only Clear looks at open windows, first, once the log is emptied. The question is
// asked over the main window; a ticked box turns the answer into the policy. Leaving the
// windows open, asked or not, is seen under Wine.
TEST_P(Policy, DecidesWhetherToAskAndToClose) {
    const PolicyRow& row = GetParam();
    Add("IEFrame", true);
    SetAllSwitches(dlg.settings, 0);
    dlg.settings.closeBrowserPolicy = row.policy;
    dlg.browserPrompt = row.prompt ? this : nullptr;
    dlg.log.AddLogLine("from an earlier run", emphasis::kPlain);
    dlg.OnClear();
    EXPECT_EQ(row.asked ? 0 : -1, linesWhenAsked);
    EXPECT_EQ(row.messages, Messages());
    EXPECT_EQ(row.policyAfter, dlg.settings.closeBrowserPolicy);
    EXPECT_FALSE(dlg.ieWindowOpen);
}

constexpr int kLeft = browserprompt::kLeftOpen, kClosed = browserprompt::kClosedBrowsers;
// clang-format off
const PolicyRow kPolicyRows[] = {
    {"UnknownPolicyAsksClosedTicked", 7, kClosed, 1, 1, 1, {"0 401 0 0", "1 112 f060 0"}, 0},
    {"ClosedWithoutAsking", 0, kLeft, 1, 1, 0, {"1 112 f060 0"}, 0},
    {"NobodyToAsk", 2, kClosed, 1, 0, 0, {"0 401 0 0"}, 2}};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Rows, Policy, ::testing::ValuesIn(kPolicyRows),
                         testing::PrintToStringParamName());

}  // namespace
