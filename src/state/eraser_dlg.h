// The main window's shared state and its commands, apart from the window itself: the
// user's choices, the flags through which commands and erasers talk, the activity log
// and the progress model. Erasers borrow it for the length of a command.
#pragma once

#include <set>
#include <string>

#include "platform/platform.h"
#include "state/activity_log.h"
#include "state/browser_prompt.h"
#include "state/command_state.h"
#include "state/message_boxes.h"

struct RunSteps;

class EraserDlg {
public:
    explicit EraserDlg(Platform& platform) : platform(platform) {}
    EraserDlg(const EraserDlg&) = delete;
    EraserDlg& operator=(const EraserDlg&) = delete;

    // Sets osVersion from the version query; 0 when it fails or is not known.
    void DetectOsVersion();

    // Erasers call it once per entry they visit. The bar moves one unit every `stride`
    // calls: PrepareProgress sets a stride above 1 when a run has more entries than the
    // bar's 16-bit bounds can hold.
    void StepProgress() {
        if (++stepsSinceUnit_ >= progressStride_) {
            stepsSinceUnit_ = 0;
            progress.OffsetPos(1);
        }
    }
    void SetProgressStride(int stride) {
        progressStride_ = stride > 1 ? stride : 1;
        stepsSinceUnit_ = 0;
    }

    // Dispatches pending window messages; handlers (a close request among them) may
    // run inside and clear busy.
    void PumpMessages() { platform.system.PumpMessages(); }
    // The same, but only while busy is set: once a handler has cleared it, the messages
    // behind wait, so that no command can start inside the one being abandoned.
    void PumpMessagesWhileBusy() { platform.system.PumpMessagesWhile(busy); }

    // The Clear and Test commands (the cleaning run).
    void OnClear();
    void OnTest();
    // Save state and Restore (the snapshot commands). False when the command could not do
    // its job: no snapshot could be written, or there was none to restore; also when
    // another command was running.
    bool SaveState();
    bool RestoreState();
    // The log's last lines in view and the bar full: how a completed command ends.
    void ShowCompletion();

    Platform& platform;
    // The main window: owner of the Internet Explorer walks and receiver of the
    // detection message. Null when there is none (the walks then do nothing).
    HWnd window{};
    // Asks about open Internet Explorer windows; null when nobody can be asked.
    BrowserPrompt* browserPrompt = nullptr;
    // Shows the program's message boxes; null on the command line, which shows none.
    MessageBoxes* messageBoxes = nullptr;
    // The shell library, loaded by the first shell call and freed with the window.
    ShellLibrary shell32Module{platform.shell};
    EraserSettings settings;
    int osVersion = osver::kUnknown;
    bool ieWindowOpen = false;
    bool busy = false;
    bool indexDatFound = false;
    // The cookie entries the last cookie step kept (the keep list's hosts).
    int cookiesKept = 0;
    // Parent folders of the history containers, gathered by the index.dat step.
    std::set<std::string> indexDatPaths;
    ActivityLog log;
    ProgressModel progress;
    // The steps a cleaning run calls; null for the erasers themselves (clean/run_steps.h).
    RunSteps* steps = nullptr;

private:
    int progressStride_ = 1;
    int stepsSinceUnit_ = 0;
};

// A plain or an emphasised line of the activity log, as the commands write them.
inline void Plain(EraserDlg& dlg, const std::string& text) {
    dlg.log.AddLogLine(text, emphasis::kPlain);
}
inline void Strong(EraserDlg& dlg, const std::string& text) {
    dlg.log.AddLogLine(text, emphasis::kStrong);
}
