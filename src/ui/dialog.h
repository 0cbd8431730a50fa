// A dialog from a template in the program's resources, run modally. Derived classes
// handle messages and commands through a message table (ui/message_table.h).
#pragma once

#include <windows.h>

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Shows the dialog over owner (null for none; owner is disabled meanwhile) and
    // returns the code given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR DoModal(HWND owner);

    // The dialog's window while it is shown, otherwise null.
    HWND Handle() const { return window_; }

protected:
    void EndDialog(INT_PTR result) { ::EndDialog(window_, result); }
    // Centres the dialog over its owner when that is visible, else on the work area
    // (the template places it at the owner's corner).
    void Center();
    bool IsChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) {
        CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }

    // The message table; true when the message was handled, with its answer in result.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND window_ = nullptr;
};
