// How a run asks the user about open Internet Explorer windows: dialog 151 in the
// program, a scripted answer in tests.
#pragma once

#include <functional>

#include "platform/top_windows.h"

// End codes of the question.
namespace browserprompt {
constexpr int kClosedBrowsers = 1;  // "关闭浏览器后继续(&L)", Escape or the close box
constexpr int kLeftOpen = 2;        // "不予理会(&C)"
}  // namespace browserprompt

class BrowserPrompt {
public:
    virtual ~BrowserPrompt() = default;

    // Asks modally over owner. closeBrowsers is what the close answer does while the
    // question is still shown, given the question's own window. Returns the end code,
    // or another value when the question could not be shown; *dontShowAgain is the
    // state of the "以后不再显示本对话框" box at the end (false when it was not shown).
    virtual int Ask(HWnd owner, const std::function<void(HWnd self)>& closeBrowsers,
                    bool* dontShowAgain) = 0;
};
