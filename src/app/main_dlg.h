// The main window: the skinned dialog with the command buttons, the activity log and
// the progress bar, over the shared state of the commands (EraserDlg). Commands run
// inside its command handlers; a close request during one waits for it to return.
#pragma once

#include <functional>
#include <optional>

#include "app/log_list_box.h"
#include "browsers/browser_open_dlg.h"
#include "browsers/browser_windows.h"
#include "res/resource.h"
#include "state/eraser_dlg.h"
#include "state/message_boxes.h"
#include "ui/com.h"
#include "ui/dialog.h"
#include "ui/gdi.h"
#include "ui/help.h"
#include "ui/message_table.h"
#include "ui/skin_button.h"
#include "ui/skin_progress_bar.h"

// The main window's message boxes, captioned with the program's title.
class WindowMessageBoxes : public MessageBoxes {
public:
    void ShowInformation(const std::string& text, const std::string& caption) override {
        MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    }
    HWND owner = nullptr;
};

class MainDlg : public Dialog {
public:
    static constexpr int kButtonCount = 7;
    static constexpr int kBackgroundWidth = 600;
    static constexpr int kBackgroundHeight = 500;

    explicit MainDlg(Platform& platform);

    // Not a dialog: the commands' shared state (settings, log, progress) and their entry
    // points, which the window's buttons run and its controls show.
    EraserDlg commands;

    BEGIN_MESSAGE_TABLE()
    ON_INIT_DIALOG(OnInitDialog)
    ON_SYS_COMMAND(OnSysCommand)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon)
    ON_ERASE_BACKGROUND(OnEraseBackground)
    ON_CLOSE(OnClose)
    ON_HELP(OnHelp)
    ON_MESSAGE(kIeWindowOpenMessage, OnIeWindowOpen)
    ON_COMMAND(IDC_CLEAR, OnClear)
    ON_COMMAND(IDC_TEST, OnTest)
    ON_COMMAND(IDC_SAVE_STATE, OnSaveState)
    ON_COMMAND(IDC_RESTORE, OnRestore)
    ON_COMMAND(IDC_SETTINGS, OnSettings)
    ON_COMMAND(IDC_HELP_BUTTON, OnHelpButton)
    ON_COMMAND(IDC_CLOSE_BUTTON, OnCloseButton)
    ON_COMMAND(IDOK, OnOk)
    ON_COMMAND(IDCANCEL, OnCancel)
    END_MESSAGE_TABLE()

protected:
    void PreTranslateMessage(MSG& msg) override;

private:
    bool OnInitDialog();
    LRESULT OnSysCommand(UINT command, POINT point);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(icon_); }
    LRESULT OnEraseBackground(HDC dc);
    void OnClose() { RequestClose(IDCANCEL); }
    void OnHelp() { ShowHelpContents(Handle()); }
    LRESULT OnIeWindowOpen(WPARAM, LPARAM) {
        commands.ieWindowOpen = true;
        return 0;
    }
    void OnClear() {
        RunCommand([this] { commands.OnClear(); });
    }
    void OnTest() {
        RunCommand([this] { commands.OnTest(); });
    }
    void OnSaveState() {
        RunCommand([this] { commands.SaveState(); });
    }
    void OnRestore() {
        RunCommand([this] { commands.RestoreState(); });
    }
    void OnSettings();
    void OnHelpButton() { ShowHelpContents(Handle()); }
    void OnCloseButton() { PostMessageA(Handle(), WM_CLOSE, 0, 0); }
    void OnOk() { RequestClose(IDOK); }
    // Escape closes the window as the Close button does.
    void OnCancel() { OnCloseButton(); }

    void WireCommands();
    void AddAboutToSystemMenu();
    void LayOutSkin();
    void CreateBackground();
    void FitToSkin();
    void PlaceButtons();
    void ShowProgress();
    // Runs a command; a close asked for meanwhile is carried out once it has returned.
    void RunCommand(const std::function<void()>& command);
    // Shuts the window down with result, or once the running command has returned.
    void RequestClose(INT_PTR result);
    // Ends the window: COM is released, the settings saved and the shell library freed first.
    void Shutdown(INT_PTR result);

    HICON icon_ = nullptr;
    Bitmap background_;
    Bitmap skin_;
    SkinProgressBar progressBar_;
    LogListBox log_;
    SkinButton buttons_[kButtonCount];
    HWND tooltip_ = nullptr;
    DialogBrowserPrompt browserPrompt_;
    WindowMessageBoxes messageBoxes_;
    // COM for the erasers' URL history object, from the dialog's start to its shutdown.
    std::optional<ComInitialization> com_;
    bool commandRunning_ = false;
    bool closePending_ = false;
};
