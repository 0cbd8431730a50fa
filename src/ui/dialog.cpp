#include "ui/dialog.h"

#include "ui/control.h"

namespace {

// Messages whose answer a dialog procedure returns itself rather than through
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}

// The control a request to the parent is about.
HWND ControlOf(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM:
            return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
        case WM_MEASUREITEM:
            return GetDlgItem(dialog, static_cast<int>(wParam));
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<HWND>(lParam);
        default:
            return nullptr;
    }
}

}  // namespace

// Our own modal loop rather than the system's, so that the dialog sees its messages
// before the dialog manager does.
INT_PTR Dialog::DoModal(HWND owner) {
    ended_ = false;
    result_ = -1;
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                     owner, DialogProc, reinterpret_cast<LPARAM>(this));
    if (window == nullptr) {
        return -1;
    }
    bool ownerEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerEnabled) {
        EnableWindow(owner, FALSE);
    }
    if (!ended_) {
        ShowWindow(window, SW_SHOW);
    }
    MSG msg;
    while (!ended_ && IsWindow(window)) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        PreTranslateMessage(msg);
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (ownerEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
    return result_;
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
}

void Dialog::Center() {
    RECT area;
    HWND owner = GetWindow(window_, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &area);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT r;
    GetWindowRect(window_, &r);
    int x = area.left + ((area.right - area.left) - (r.right - r.left)) / 2;
    int y = area.top + ((area.bottom - area.top) - (r.bottom - r.top)) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

// Owner drawing and colour requests go to the control they are about when it is one
// of ours and handles them.
bool Dialog::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* control = Control::From(ControlOf(window_, message, wParam, lParam));
    return control != nullptr &&
           control->ProcessMessage(kReflected + message, wParam, lParam, result);
}

// The object arrives with WM_INITDIALOG and is kept in the window's user data; the few
// messages before it (WM_SETFONT) get the default handling.
INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        return FALSE;
    }
    LRESULT result = 0;
    if (!self->Reflect(message, wParam, lParam, result) &&
        !self->ProcessMessage(message, wParam, lParam, result)) {
        return message == WM_INITDIALOG;  // the system puts the focus on the first control
    }
    if (AnswersDirectly(message)) {
        return static_cast<INT_PTR>(result);
    }
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}
