// Works dialog 151 from a second thread as a user would: waits for it to appear, reads
// what it shows, then ticks its box and presses its buttons or keys in the order given.
// With an empty script it only watches: a dialog that appears anyway is noted and
// answered with "不予理会(&C)", so that a test cannot hang on it.
#pragma once

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

enum class UserAct { kTick, kCloseButton, kLeaveButton, kEscape, kEnter, kCloseBox };

struct SeenDialog {
    HWND window = nullptr;
    bool ownerDisabled = false;
    int defaultId = 0;
    bool boxTickedAtStart = false;
    std::wstring caption;
    std::wstring texts[4];  // button 2, button 1, the static text, the box
    RECT controls[4] = {};  // the same controls, in dialog units
    RECT place = {};        // the dialog on the screen, in pixels
};

class DialogDriver {
public:
    explicit DialogDriver(std::vector<UserAct> script, HWND owner = nullptr);
    ~DialogDriver();  // stops watching and waits for the thread

    // Valid once the dialog has ended.
    const SeenDialog& Seen() const { return seen_; }
    int Appearances() const { return appearances_; }

private:
    void Run();
    void Act(HWND dialog, UserAct act);
    void Read(HWND dialog);

    std::vector<UserAct> script_;
    HWND owner_;
    SeenDialog seen_;
    int appearances_ = 0;
    volatile bool stop_ = false;
    std::thread thread_;
};
