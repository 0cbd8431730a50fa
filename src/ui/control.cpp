#include "ui/control.h"

namespace {

constexpr char kProperty[] = "Corvane.Control";

}  // namespace

bool Control::Attach(HWND dialog, int id) {
    Detach();
    HWND window = GetDlgItem(dialog, id);
    if (window == nullptr || !SetPropA(window, kProperty, this)) {
        return false;
    }
    window_ = window;
    oldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    return true;
}

void Control::Detach() {
    if (window_ == nullptr) {
        return;
    }
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    RemovePropA(window_, kProperty);
    window_ = nullptr;
}

Control* Control::From(HWND window) {
    return window != nullptr ? static_cast<Control*>(GetPropA(window, kProperty)) : nullptr;
}

bool Control::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT CALLBACK Control::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* self = From(window);
    LRESULT result = 0;
    if (self->ProcessMessage(message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_NCDESTROY) {
        WNDPROC oldProc = self->oldProc_;
        self->Detach();
        return CallWindowProcA(oldProc, window, message, wParam, lParam);
    }
    return self->Default(message, wParam, lParam);
}
