#include "app/command_window.h"

void WindowCommandHost::Attach(EraserDlg& dlg) {
    window_ = std::make_unique<CommandWindow>(dlg);
    if (window_->Create("Corvane")) {
        dlg.window = HWnd{reinterpret_cast<std::uintptr_t>(window_->Handle())};
    }
    dlg.browserPrompt = &prompt_;
}

void WindowCommandHost::Detach(EraserDlg& dlg) {
    dlg.window = HWnd{};
    dlg.browserPrompt = nullptr;
    window_.reset();
}
