#include "ui/window.h"

namespace {

constexpr char kClassName[] = "CorvaneWindow";

}  // namespace

bool Window::Create(const char* title) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (!GetClassInfoA(instance, kClassName, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        if (RegisterClassA(&wc) == 0) {
            return false;
        }
    }
    Destroy();
    return CreateWindowExA(0, kClassName, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                           this) != nullptr;
}

void Window::Destroy() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool Window::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

// The object arrives with WM_NCCREATE and is kept in the window's user data.
LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    LRESULT result = 0;
    if (self != nullptr && self->ProcessMessage(message, wParam, lParam, result)) {
        return result;
    }
    if (self != nullptr && message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
