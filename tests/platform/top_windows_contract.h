// What the browser closing relies on of the window manager, checked on the in-memory double
// (natively) and on real windows of the test's own thread (under Wine): where the two
// disagree, the double is wrong.
//
// An environment has `TopWindows& windows`; `HWnd Create(cls, visible, minimised)`;
// `void Destroy(HWnd)`. Its windows answer kAppMessage with wParam + lParam, and a setting
// change with the length of the text it carries.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

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
        std::string out = Num(walked);
        for (HWnd window : ours) {
            out += ", " + Num(std::count(seen.begin(), seen.end(), window)) +
                   Num(env.windows.IsVisible(window)) + Num(env.windows.Exists(window)) + " " +
                   Class(window, 200);
        }
        return out;
    }
    // The class name into `size` bytes: the length answered and the text.
    std::string Class(HWnd window, int size) {
        std::string buffer(size + 1, '#');
        int length = env.windows.ClassName(window, &buffer[0], size);
        std::string overrun = buffer[size] == '#' ? "" : " overrun";
        return Num(length) + " " + (length ? buffer.c_str() : "") + overrun;
    }
    // Sends (a text, when one is given): whether the window processed it, and its answer.
    std::string Send(HWnd window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam, const char* text = nullptr) {
        std::intptr_t answer = 99;
        bool sent = text ? env.windows.SendText(window, message, wParam, text, &answer)
                         : env.windows.Send(window, message, wParam, lParam, &answer);
        return Num(sent) + " " + Num(answer);
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
    const std::intptr_t logoff = static_cast<std::intptr_t>(0x80000000u);
    const std::uint32_t change = winmsg::kSettingChange;
    // clang-format off
    ExpectRows({
        {this->Windows({shown, hidden, minimised, gone}),
         "1, 111 12 CorvaneShown, 101 13 CorvaneHidden, 111 16 CorvaneMinimised, 000 0 "},
        {this->Class(ie, 7), "6 IEFram"},
        {this->Send(ie, kAppMessage, 0xF060, logoff), "1 " + Num(0xF060 + logoff)},
        {this->Send(ie, change, 0, 0, "Software\\Microsoft\\Internet Explorer\\TypedURLs"), "1 46"},
        {Seq({this->Send(gone, kAppMessage, 1, 1), this->Send(gone, change, 0, 0, "x")}), "0 99 0 99"},
    });
    // clang-format on
}

REGISTER_TYPED_TEST_SUITE_P(TopWindowsContract, WalkClassesAndMessages);
