// Behaviour that every TopWindows implementation shares with the window manager. Each
// instantiation supplies an environment that can create and destroy top-level windows
// and report what they were sent: the in-memory double natively, real windows of the
// test's own thread under Wine. Where the two disagree, the double is wrong.
//
// An environment has: `TopWindows& windows`; `HWnd Create(cls, visible, minimised)`;
// `void Destroy(HWnd)`; `std::vector<SentMessage> Received(HWnd)` listing the messages
// at or above kAppMessage and the setting changes; the windows answer kAppMessage + 1
// with wParam + lParam.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory/memory_top_windows.h"
#include "platform/top_windows.h"

constexpr std::uint32_t kAppMessage = 0x8000;  // WM_APP

template <typename Env>
class TopWindowsContract : public ::testing::Test {
protected:
    // The windows of this test that a walk visits, in the order visited.
    std::vector<HWnd> OursInWalk(const std::vector<HWnd>& ours) {
        std::vector<HWnd> seen;
        EXPECT_TRUE(env.windows.Enumerate([&](HWnd window) {
            if (std::find(ours.begin(), ours.end(), window) != ours.end()) {
                seen.push_back(window);
            }
            return true;
        }));
        return seen;
    }
    std::string Class(HWnd window, int size) {
        std::vector<char> buffer(size + 1, '#');
        int length = env.windows.ClassName(window, buffer.data(), size);
        EXPECT_EQ('#', buffer[size]) << "wrote past the buffer";
        if (length == 0) {
            return "(none)";
        }
        EXPECT_EQ('\0', buffer[length]);
        return std::string(buffer.data(), length);
    }

    Env env;
};

TYPED_TEST_SUITE_P(TopWindowsContract);

TYPED_TEST_P(TopWindowsContract, WalkVisitsVisibleAndHiddenWindowsButNotDestroyedOnes) {
    HWnd shown = this->env.Create("CorvaneShown", true, false);
    HWnd hidden = this->env.Create("CorvaneHidden", false, false);
    HWnd gone = this->env.Create("CorvaneGone", true, false);
    this->env.Destroy(gone);
    std::vector<HWnd> seen = this->OursInWalk({shown, hidden, gone});
    EXPECT_EQ(2u, seen.size());
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), shown));
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), hidden));
}

TYPED_TEST_P(TopWindowsContract, WalkEndsWhenTheVisitSaysSo) {
    this->env.Create("CorvaneOne", true, false);
    this->env.Create("CorvaneTwo", true, false);
    int visits = 0;
    EXPECT_TRUE(this->env.windows.Enumerate([&](HWnd) {
        ++visits;
        return false;
    }));
    EXPECT_EQ(1, visits);
}

TYPED_TEST_P(TopWindowsContract, ClassNameIsCutToTheBufferWithItsNul) {
    HWnd ie = this->env.Create("IEFrame", true, false);
    EXPECT_EQ("IEFrame", this->Class(ie, 200));
    EXPECT_EQ("IEFrame", this->Class(ie, 8));
    EXPECT_EQ("IEFr", this->Class(ie, 5));
    const std::string longName = "Corvane" + std::string(203, 'L');  // 210 characters
    HWnd wide = this->env.Create(longName, true, false);
    EXPECT_EQ(longName.substr(0, 199), this->Class(wide, 200));
}

TYPED_TEST_P(TopWindowsContract, VisibilityAndExistence) {
    HWnd shown = this->env.Create("CorvaneShown", true, false);
    HWnd hidden = this->env.Create("CorvaneHidden", false, false);
    HWnd minimised = this->env.Create("CorvaneMinimised", true, true);
    HWnd gone = this->env.Create("CorvaneGone", true, false);
    this->env.Destroy(gone);
    EXPECT_TRUE(this->env.windows.IsVisible(shown));
    EXPECT_FALSE(this->env.windows.IsVisible(hidden));
    EXPECT_TRUE(this->env.windows.IsVisible(minimised));
    EXPECT_FALSE(this->env.windows.IsVisible(gone));
    EXPECT_TRUE(this->env.windows.Exists(hidden));
    EXPECT_FALSE(this->env.windows.Exists(gone));
    EXPECT_FALSE(this->env.windows.Exists(HWnd{}));
    EXPECT_EQ("(none)", this->Class(gone, 200));
}

TYPED_TEST_P(TopWindowsContract, SendCarriesParametersAndReturnsTheAnswer) {
    HWnd window = this->env.Create("CorvaneTarget", false, false);
    std::intptr_t answer = 0;
    EXPECT_TRUE(this->env.windows.Send(window, kAppMessage + 1, 7, -3, &answer));
    EXPECT_EQ(4, answer);
    EXPECT_TRUE(this->env.windows.Send(window, kAppMessage + 2, 0xF060, 0x80000000, nullptr));
    std::vector<SentMessage> expected = {
        {kAppMessage + 1, 7, -3, false, ""},
        {kAppMessage + 2, 0xF060, static_cast<std::intptr_t>(0x80000000u), false, ""}};
    EXPECT_EQ(expected, this->env.Received(window));
}

TYPED_TEST_P(TopWindowsContract, SendTextHandsTheWindowTheText) {
    HWnd window = this->env.Create("CorvaneTarget", true, false);
    EXPECT_TRUE(this->env.windows.SendText(window, winmsg::kSettingChange, 0,
                                           "Software\\Microsoft\\Internet Explorer\\TypedURLs",
                                           nullptr));
    EXPECT_TRUE(this->env.windows.SendText(window, winmsg::kSettingChange, 0, "起始页", nullptr));
    std::vector<SentMessage> received = this->env.Received(window);
    std::vector<SentMessage> expected = {
        {winmsg::kSettingChange, 0, 0, true, "Software\\Microsoft\\Internet Explorer\\TypedURLs"},
        {winmsg::kSettingChange, 0, 0, true, "起始页"}};
    EXPECT_EQ(expected, received);
}

TYPED_TEST_P(TopWindowsContract, SendToADestroyedWindowFailsAndLeavesTheAnswer) {
    HWnd window = this->env.Create("CorvaneGone", true, false);
    this->env.Destroy(window);
    std::intptr_t answer = 99;
    EXPECT_FALSE(this->env.windows.Send(window, kAppMessage + 1, 1, 1, &answer));
    EXPECT_FALSE(this->env.windows.SendText(window, winmsg::kSettingChange, 0, "x", &answer));
    EXPECT_EQ(99, answer);
}

REGISTER_TYPED_TEST_SUITE_P(TopWindowsContract,
                            WalkVisitsVisibleAndHiddenWindowsButNotDestroyedOnes,
                            WalkEndsWhenTheVisitSaysSo, ClassNameIsCutToTheBufferWithItsNul,
                            VisibilityAndExistence, SendCarriesParametersAndReturnsTheAnswer,
                            SendTextHandsTheWindowTheText,
                            SendToADestroyedWindowFailsAndLeavesTheAnswer);
