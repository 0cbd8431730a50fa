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
    // Ends the modal loop once the current message has been handled.
    void EndDialog(INT_PTR result);
    // Centres the dialog over its owner when that is visible, else on the work area
    // (the template places it at the owner's corner).
    void Center();
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) {
        CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }

    // Sees every message of the modal loop before the dialog manager does.
    virtual void PreTranslateMessage(MSG&) {}
    // The message table; true when the message was handled, with its answer in result.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    int templateId_;
    HWND window_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = 0;
};
