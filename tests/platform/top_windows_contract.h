// What the browser closing relies on of the window manager, checked on the in-memory double
// (natively) and on real windows of the test's own thread (under Wine): where the two
// disagree, the double is wrong.
//
// An environment has `TopWindows& windows`; `HWnd Create(cls, visible, minimised)`;
// `void Destroy(HWnd)`; `std::vector<SentMessage> Received(HWnd)`, the messages at or above
// kAppMessage and the setting changes; its windows answer kAppMessage + 1 with
// wParam + lParam.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory/memory_top_windows.h"
#include "platform/rows.h"
#include "platform/top_windows.h"

constexpr std::uint32_t kAppMessage = 0x8000;  // WM_APP

template <typename Env>
class TopWindowsContract : public ::testing::Test {
protected:
    // For each window: whether the walk visited it, is visible and exists, and its class.
    std::string Windows(const std::vector<HWnd>& ours) {
        std::vector<HWnd> seen;
        bool walked = env.windows.Enumerate([&](HWnd window) {
            seen.push_back(window);
            return true;
        });
        std::string out = std::to_string(walked);
        for (HWnd window : ours) {
            out += ", " + std::to_string(std::count(seen.begin(), seen.end(), window)) +
                   std::to_string(env.windows.IsVisible(window)) +
                   std::to_string(env.windows.Exists(window)) + " " + Class(window, 200);
        }
        return out;
    }
    // A walk whose visit answers false: the walk's answer and the visits made.
    std::string StoppedWalk() {
        int visits = 0;
        bool walked = env.windows.Enumerate([&](HWnd) { return ++visits, false; });
        return std::to_string(walked) + " " + std::to_string(visits);
    }
    // The class name into `size` bytes: the length answered and the text.
    std::string Class(HWnd window, int size) {
        std::string buffer(size + 1, '#');
        int length = env.windows.ClassName(window, &buffer[0], size);
        std::string overrun = buffer[size] == '#' ? "" : " overrun";
        return std::to_string(length) + " " + (length ? buffer.c_str() : "") + overrun;
    }
    std::string Send(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) {
        std::intptr_t answer = 99;
        bool sent = env.windows.Send(window, message, wParam, lParam, &answer);
        return std::to_string(sent) + " " + std::to_string(answer);
    }
    std::string SendText(HWnd window, const std::string& text) {
        std::intptr_t answer = 99;
        bool sent = env.windows.SendText(window, winmsg::kSettingChange, 0, text, &answer);
        return std::to_string(sent) + " " + std::to_string(answer);
    }
    std::string Received(HWnd window) {
        std::string out;
        for (const SentMessage& m : env.Received(window)) {
            out += std::to_string(m.message) + " " + std::to_string(m.wParam) + " " +
                   std::to_string(m.lParam) + (m.hasText ? " " + m.text : "") + "; ";
        }
        return out;
    }

    Env env;
};

TYPED_TEST_SUITE_P(TopWindowsContract);

TYPED_TEST_P(TopWindowsContract, WalkClassesAndMessages) {
    auto& env = this->env;
    HWnd shown = env.Create("CorvaneShown", true, false);
    HWnd hidden = env.Create("CorvaneHidden", false, false);
    HWnd minimised = env.Create("CorvaneMinimised", true, true);
    HWnd gone = env.Create("CorvaneGone", true, false);
    env.Destroy(gone);
    HWnd ie = env.Create("IEFrame", true, false);
    const std::string longName = "Corvane" + std::string(203, 'L');  // 210 characters
    HWnd wide = env.Create(longName, true, false);
    const std::intptr_t logoff = static_cast<std::intptr_t>(0x80000000u);
    ExpectRows({
        {this->Windows({shown, hidden, minimised, gone}),
         "1, 111 12 CorvaneShown, 101 13 CorvaneHidden, 111 16 CorvaneMinimised, 000 0 "},
        {this->StoppedWalk(), "1 1"},
        {this->Class(ie, 8), "7 IEFrame"},
        {this->Class(ie, 5), "4 IEFr"},
        {this->Class(wide, 200), "199 " + longName.substr(0, 199)},
        {this->Send(ie, kAppMessage + 1, 7, -3), "1 4"},
        {this->Send(ie, kAppMessage + 2, 0xF060, logoff), "1 0"},
        {this->SendText(ie, "Software\\Microsoft\\Internet Explorer\\TypedURLs"), "1 0"},
        {this->SendText(ie, "起始页"), "1 0"},
        {this->Received(ie),
         "32769 7 -3; 32770 61536 " + std::to_string(logoff) +
             "; "
             "26 0 0 Software\\Microsoft\\Internet Explorer\\TypedURLs; 26 0 0 起始页; "},
        {this->Send(gone, kAppMessage + 1, 1, 1), "0 99"},
        {this->SendText(gone, "x"), "0 99"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(TopWindowsContract, WalkClassesAndMessages);
