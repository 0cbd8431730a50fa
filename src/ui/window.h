// A plain top-level window of our own class, created hidden. Derived classes handle
// messages through a message table (ui/message_table.h).
#pragma once

#include <windows.h>

class Window {
public:
    Window() = default;
    virtual ~Window() { Destroy(); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window, not shown. False when it could not be created.
    bool Create(const char* title);
    void Destroy();
    HWND Handle() const { return window_; }

protected:
    // The message table; true when the message was handled, with its answer in result.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
