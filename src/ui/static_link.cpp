#include "ui/static_link.h"

#include <shellapi.h>

namespace {

// The hand cursor of the help viewer, loaded once per process (a failed load is not
// tried again) and kept for its life.
HCURSOR LinkCursor() {
    static bool tried = false;
    static HCURSOR cursor = nullptr;
    if (tried) {
        return cursor;
    }
    tried = true;
    char path[MAX_PATH + 16] = {};
    UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    lstrcatA(path, "\\winhlp32.exe");
    if (HMODULE module = LoadLibraryA(path)) {
        if (HCURSOR shared = LoadCursorA(module, MAKEINTRESOURCEA(106))) {
            cursor = CopyIcon(shared);
        }
        FreeLibrary(module);
    }
    return cursor;
}

}  // namespace

// Text statics only: pictures and frames keep the default colours and font.
HBRUSH CStaticLink::OnCtlColor(HDC dc) {
    if ((GetWindowLongA(Handle(), GWL_STYLE) & 0xFF) > SS_RIGHT) {
        return nullptr;
    }
    if (!underlineFont_) {
        LOGFONTA font{};
        auto current = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
        if (current != nullptr) {
            GetObjectA(current, sizeof font, &font);
        }
        font.lfUnderline = TRUE;
        underlineFont_.Reset(CreateFontIndirectA(&font));
        // Some static controls select their own font after asking for colours: made the
        // control's font, the underlined one is drawn from the next paint on.
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(underlineFont_.Get()), FALSE);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    SelectObject(dc, underlineFont_.Get());
    SetTextColor(dc, textColor);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CStaticLink::OnLButtonDown(UINT, POINT) {
    if (linkTarget.empty()) {
        char text[1024] = {};
        int id = GetDlgCtrlID(Handle());
        if (LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text) > 0 ||
            GetWindowTextA(Handle(), text, sizeof text) > 0) {
            linkTarget = text;
        }
    }
    if (linkTarget.empty()) {
        return;
    }
    if (Open() <= 32) {
        MessageBeep(0);
        return;
    }
    textColor = kVisitedColor;
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT CStaticLink::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (HCURSOR cursor = LinkCursor()) {
        SetCursor(cursor);
        return TRUE;
    }
    return Default(WM_SETCURSOR, wParam, lParam);
}

INT_PTR CStaticLink::Open() const {
    if (linkTarget.empty()) {
        return 0;
    }
    return reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", linkTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}
