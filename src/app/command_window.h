// The hidden window that stands for the main window while a command runs from the
// command line: it owns the open-browser question and hears the Internet Explorer
// detection.
#pragma once

#include <memory>

#include "app/command_line.h"
#include "browsers/browser_open_dlg.h"
#include "browsers/browser_windows.h"
#include "state/eraser_dlg.h"
#include "ui/message_table.h"
#include "ui/window.h"

class CommandWindow : public Window {
public:
    explicit CommandWindow(EraserDlg& dlg) : dlg_(dlg) {}

    BEGIN_MESSAGE_TABLE()
    ON_MESSAGE(kIeWindowOpenMessage, OnIeWindowOpen)
    END_MESSAGE_TABLE()

private:
    LRESULT OnIeWindowOpen(WPARAM, LPARAM) {
        dlg_.ieWindowOpen = true;
        return 0;
    }

    EraserDlg& dlg_;
};

// The command line's host: a CommandWindow as the main window, dialog 151 to ask.
class WindowCommandHost : public CommandHost {
public:
    void Attach(EraserDlg& dlg) override;
    void Detach(EraserDlg& dlg) override;

private:
    std::unique_ptr<CommandWindow> window_;
    DialogBrowserPrompt prompt_;
};
