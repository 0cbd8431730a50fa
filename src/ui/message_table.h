// Message tables: a class lists the messages and commands it handles in its body, one
// line each, read from top to bottom; the first line that matches handles the message
// and everything else goes to the system's default handling.
//
//   BEGIN_MESSAGE_TABLE()
//       ON_MESSAGE(WM_INITDIALOG, OnInitDialog)    // LRESULT OnInitDialog(WPARAM, LPARAM)
//       ON_COMMAND(IDCANCEL, OnCloseBrowsers)      // void OnCloseBrowsers()
//       ON_COMMAND_RANGE(1029, 1038, OnHelpButton) // void OnHelpButton(int id)
//   END_MESSAGE_TABLE()
//
// The table becomes the class's ProcessMessage, the one virtual through which Window
// and Dialog dispatch. ON_COMMAND matches WM_COMMAND by control identifier, whatever
// the notification (a click, Enter on the default button, Escape for IDCANCEL).
#pragma once

#include <windows.h>

#define BEGIN_MESSAGE_TABLE()                                                            \
    bool ProcessMessage(UINT message_, WPARAM wParam_, LPARAM lParam_, LRESULT& result_) \
        override {                                                                       \
        (void)wParam_;                                                                   \
        (void)lParam_;

#define ON_MESSAGE(message, handler)         \
    if (message_ == (message)) {             \
        result_ = handler(wParam_, lParam_); \
        return true;                         \
    }

#define ON_COMMAND(id, handler)                              \
    if (message_ == WM_COMMAND && LOWORD(wParam_) == (id)) { \
        handler();                                           \
        result_ = 0;                                         \
        return true;                                         \
    }

#define ON_COMMAND_RANGE(first, last, handler)                                               \
    if (message_ == WM_COMMAND && LOWORD(wParam_) >= (first) && LOWORD(wParam_) <= (last)) { \
        handler(LOWORD(wParam_));                                                            \
        result_ = 0;                                                                         \
        return true;                                                                         \
    }

#define END_MESSAGE_TABLE() \
    return false;           \
    }
