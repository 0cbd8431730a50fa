#include "ui/skin_button.h"

#include <commctrl.h>

#include "res/resource.h"

namespace {

HBITMAP LoadResourceBitmap(int id) {
    return LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

// The help buttons' three bitmaps, shared by the instances alive.
struct HelpBitmaps {
    Bitmap normal;
    Bitmap pressed;
    Bitmap hover;
    int instances = 0;
};
HelpBitmaps helpBitmaps;

}  // namespace

// With the left button held, a move that does not start over the button (a drag from
// elsewhere) changes nothing.
LRESULT HoverButton::OnMouseMove(UINT keys, POINT point) {
    if ((keys & MK_LBUTTON) && !hovering) {
        return 0;
    }
    SetFocus(Handle());
    if (!hovering) {
        hovering = true;
        InvalidateRect(Handle(), nullptr, FALSE);
    }
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
    _TrackMouseEvent(&track);
    return Default(WM_MOUSEMOVE, keys, LParamOfPoint(point));
}

void HoverButton::OnMouseLeave() {
    hovering = false;
    InvalidateRect(Handle(), nullptr, FALSE);
}

void SkinButton::SetBitmaps(int normalId, int pressedId, int hoverId) {
    normal_.Reset(LoadResourceBitmap(normalId));
    if (pressedId != 0) {
        pressed_.Reset(LoadResourceBitmap(pressedId));
    }
    if (hoverId != 0) {
        hover_.Reset(LoadResourceBitmap(hoverId));
    }
}

// Composed off screen first, so that the face never shows half drawn.
void SkinButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HBITMAP face = Face(item, normal_.Get(), pressed_.Get(), hover_.Get());
    MemoryDC composed(item.hDC);
    Bitmap offScreen(CreateCompatibleBitmap(item.hDC, width_, height_));
    {
        Selection target(composed.Get(), offScreen.Get());
        DrawBitmap(composed.Get(), 0, 0, face, width_, height_);
        BitBlt(item.hDC, 0, 0, width_, height_, composed.Get(), 0, 0, SRCCOPY);
    }
}

// The tooltip sees the mouse messages before the button handles them.
bool SkinButton::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (tooltip != nullptr &&
        (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)) {
        DWORD pos = GetMessagePos();
        MSG msg{Handle(),
                message,
                wParam,
                lParam,
                static_cast<DWORD>(GetMessageTime()),
                POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))}};
        SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    return HoverButton::ProcessMessage(message, wParam, lParam, result);
}

SkinHelpButton::SkinHelpButton() {
    if (helpBitmaps.instances++ == 0) {
        helpBitmaps.normal.Reset(LoadResourceBitmap(IDB_HELP_NORMAL));
        helpBitmaps.pressed.Reset(LoadResourceBitmap(IDB_HELP_PRESSED));
        helpBitmaps.hover.Reset(LoadResourceBitmap(IDB_HELP_HOVER));
    }
}

SkinHelpButton::~SkinHelpButton() {
    Detach();
    if (--helpBitmaps.instances == 0) {
        helpBitmaps.normal.Reset();
        helpBitmaps.pressed.Reset();
        helpBitmaps.hover.Reset();
    }
}

void SkinHelpButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HBITMAP face =
        Face(item, helpBitmaps.normal.Get(), helpBitmaps.pressed.Get(), helpBitmaps.hover.Get());
    DrawBitmap(item.hDC, 0, 0, face, kSize, kSize);
}
