// Message tables: a class lists the messages and commands it handles in its body, one
// line each, read from top to bottom; the first line that matches handles the message
// and everything else goes to the system's default handling.
//
//   BEGIN_MESSAGE_TABLE()
//       ON_INIT_DIALOG(OnInitDialog)               // bool OnInitDialog()
//       ON_COMMAND(IDCANCEL, OnCloseBrowsers)      // void OnCloseBrowsers()
//       ON_COMMAND_RANGE(1029, 1038, OnHelpButton) // void OnHelpButton(int id)
//   END_MESSAGE_TABLE()
//
// The table becomes the class's ProcessMessage, the one virtual through which Window
// and Dialog dispatch. The typed entries unpack the message's parameters for their
// handler, whose signature each one's comment gives, as WTL's crackers do; ON_MESSAGE
// hands the raw WPARAM and LPARAM to the rest. ON_COMMAND matches WM_COMMAND by control
// identifier, whatever the notification (a click, Enter on the default button, Escape
// for IDCANCEL).
#pragma once

#include <windows.h>

// The point a mouse message carries in lParam, in client coordinates, and back.
inline POINT PointOfLParam(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
inline LPARAM LParamOfPoint(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

#define BEGIN_MESSAGE_TABLE()                                                            \
    bool ProcessMessage(UINT message_, WPARAM wParam_, LPARAM lParam_, LRESULT& result_) \
        override {                                                                       \
        (void)wParam_;                                                                   \
        (void)lParam_;

// LRESULT handler(WPARAM, LPARAM)
#define ON_MESSAGE(message, handler)         \
    if (message_ == (message)) {             \
        result_ = handler(wParam_, lParam_); \
        return true;                         \
    }

// bool OnInitDialog(): true lets the system put the focus on the first control.
#define ON_INIT_DIALOG(handler)             \
    if (message_ == WM_INITDIALOG) {        \
        result_ = handler() ? TRUE : FALSE; \
        return true;                        \
    }

// void OnClose()
#define ON_CLOSE(handler)       \
    if (message_ == WM_CLOSE) { \
        handler();              \
        result_ = 0;            \
        return true;            \
    }

// void OnHelp(): F1, answered as handled.
#define ON_HELP(handler)       \
    if (message_ == WM_HELP) { \
        handler();             \
        result_ = TRUE;        \
        return true;           \
    }

// LRESULT OnSysCommand(UINT command, POINT point)
#define ON_SYS_COMMAND(handler)                                                \
    if (message_ == WM_SYSCOMMAND) {                                           \
        result_ = handler(static_cast<UINT>(wParam_), PointOfLParam(lParam_)); \
        return true;                                                           \
    }

// LRESULT OnEraseBackground(HDC dc): nonzero when the background was erased.
#define ON_ERASE_BACKGROUND(handler)                       \
    if (message_ == WM_ERASEBKGND) {                       \
        result_ = handler(reinterpret_cast<HDC>(wParam_)); \
        return true;                                       \
    }

// LRESULT OnMouseMove(UINT keys, POINT point): keys are the MK_ flags.
#define ON_MOUSE_MOVE(handler)                                                 \
    if (message_ == WM_MOUSEMOVE) {                                            \
        result_ = handler(static_cast<UINT>(wParam_), PointOfLParam(lParam_)); \
        return true;                                                           \
    }

// void OnMouseLeave()
#define ON_MOUSE_LEAVE(handler)      \
    if (message_ == WM_MOUSELEAVE) { \
        handler();                   \
        result_ = 0;                 \
        return true;                 \
    }

// void OnLButtonDown(UINT keys, POINT point)
#define ON_LBUTTON_DOWN(handler)                                     \
    if (message_ == WM_LBUTTONDOWN) {                                \
        handler(static_cast<UINT>(wParam_), PointOfLParam(lParam_)); \
        result_ = 0;                                                 \
        return true;                                                 \
    }

// The requests a dialog passes to the control they are about (ui/control.h).
//
// void OnDrawItem(const DRAWITEMSTRUCT& item)
#define ON_REFLECTED_DRAW_ITEM(handler)                             \
    if (message_ == kReflected + WM_DRAWITEM) {                     \
        handler(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam_)); \
        result_ = TRUE;                                             \
        return true;                                                \
    }

// void OnMeasureItem(MEASUREITEMSTRUCT& item)
#define ON_REFLECTED_MEASURE_ITEM(handler)                       \
    if (message_ == kReflected + WM_MEASUREITEM) {               \
        handler(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam_)); \
        result_ = TRUE;                                          \
        return true;                                             \
    }

// HBRUSH OnCtlColorStatic(HDC dc): the brush of the background; null for the default.
#define ON_REFLECTED_CTL_COLOR_STATIC(handler)                                        \
    if (message_ == kReflected + WM_CTLCOLORSTATIC) {                                 \
        result_ = reinterpret_cast<LRESULT>(handler(reinterpret_cast<HDC>(wParam_))); \
        return true;                                                                  \
    }

// void OnCommand()
#define ON_COMMAND(id, handler)                              \
    if (message_ == WM_COMMAND && LOWORD(wParam_) == (id)) { \
        handler();                                           \
        result_ = 0;                                         \
        return true;                                         \
    }

// void OnCommand(int id)
#define ON_COMMAND_RANGE(first, last, handler)                                               \
    if (message_ == WM_COMMAND && LOWORD(wParam_) >= (first) && LOWORD(wParam_) <= (last)) { \
        handler(LOWORD(wParam_));                                                            \
        result_ = 0;                                                                         \
        return true;                                                                         \
    }

#define END_MESSAGE_TABLE() \
    return false;           \
    }
