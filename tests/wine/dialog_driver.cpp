#include "wine/dialog_driver.h"

#include "res/resource.h"

namespace {

constexpr char kCaption[] = "发现已打开的浏览器窗口!";  // GBK, as the ANSI calls see it
constexpr int kControlIds[4] = {IDCANCEL, IDOK, -1, IDC_DONT_SHOW_AGAIN};

std::wstring TextOf(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

// The static text has no identifier of its own: it is the dialog's only "Static".
HWND ControlOf(HWND dialog, int id) {
    if (id != -1) {
        return GetDlgItem(dialog, id);
    }
    return FindWindowExA(dialog, nullptr, "Static", nullptr);
}

}  // namespace

DialogDriver::DialogDriver(std::vector<UserAct> script, HWND owner)
    : script_(std::move(script)), owner_(owner), thread_([this] { Run(); }) {}

DialogDriver::~DialogDriver() {
    stop_ = true;
    thread_.join();
}

void DialogDriver::Run() {
    // A scripted dialog must come within five seconds; a watcher watches until stopped.
    for (int waited = 0; !stop_ && (script_.empty() || waited < 5000); waited += 10) {
        HWND dialog = FindWindowA("#32770", kCaption);
        if (dialog == nullptr || !IsWindowVisible(dialog)) {
            Sleep(10);
            continue;
        }
        ++appearances_;
        Read(dialog);
        if (script_.empty()) {
            Act(dialog, UserAct::kLeaveButton);
        }
        for (UserAct act : script_) {
            Act(dialog, act);
            Sleep(50);
        }
        for (int i = 0; i < 300 && IsWindow(dialog); ++i) {
            Sleep(10);
        }
        if (!script_.empty()) {
            return;
        }
    }
}

void DialogDriver::Read(HWND dialog) {
    seen_.window = dialog;
    seen_.ownerDisabled = owner_ != nullptr && !IsWindowEnabled(owner_);
    seen_.defaultId = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0));
    seen_.boxTickedAtStart = IsDlgButtonChecked(dialog, IDC_DONT_SHOW_AGAIN) == BST_CHECKED;
    seen_.caption = TextOf(dialog);
    GetWindowRect(dialog, &seen_.place);
    RECT units = {0, 0, 1000, 1000};
    MapDialogRect(dialog, &units);  // pixels per 1000 dialog units
    for (int i = 0; i < 4; ++i) {
        HWND control = ControlOf(dialog, kControlIds[i]);
        seen_.texts[i] = TextOf(control);
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        seen_.controls[i] = {MulDiv(r.left, 1000, units.right), MulDiv(r.top, 1000, units.bottom),
                             MulDiv(r.right - r.left, 1000, units.right),
                             MulDiv(r.bottom - r.top, 1000, units.bottom)};
    }
}

void DialogDriver::Act(HWND dialog, UserAct act) {
    HWND focus = GetDlgItem(dialog, IDCANCEL);  // the default button has the focus
    switch (act) {
        case UserAct::kTick:
            PostMessageA(GetDlgItem(dialog, IDC_DONT_SHOW_AGAIN), BM_CLICK, 0, 0);
            break;
        case UserAct::kCloseButton:
            PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
            break;
        case UserAct::kLeaveButton:
            PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            break;
        case UserAct::kEscape:
            PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
            break;
        case UserAct::kEnter:
            PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            PostMessageA(focus, WM_KEYUP, VK_RETURN, 0xC01C0001);
            break;
        case UserAct::kCloseBox:
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
    }
}
