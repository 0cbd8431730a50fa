// A control of a dialog taken over by a C++ object (subclassing): the object sees the
// control's messages first through its message table (ui/message_table.h), and the
// dialog passes it the requests the control's parent receives about it (owner drawing,
// colours), with the message number moved up by kReflected.
#pragma once

#include <windows.h>

constexpr UINT kReflected = WM_APP + 0x1C00;

class Control {
public:
    Control() = default;
    virtual ~Control() { Detach(); }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Takes over control id of dialog. False when there is no such control.
    bool Attach(HWND dialog, int id);
    // Gives the control back its own window procedure.
    void Detach();
    HWND Handle() const { return window_; }

    // The object that has taken over window; null for any other window.
    static Control* From(HWND window);

    // The message table; true when the message was handled, with its answer in result.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // The control's own handling of a message.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcA(oldProc_, window_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC oldProc_ = nullptr;
};
