// Owner-drawn push buttons whose whole face is a bitmap (the caption is part of it),
// with three looks: normal, hover (mouse over the button) and pressed. SkinButton has
// bitmaps of its own and can relay its mouse messages to a tooltip control;
// SkinHelpButton is the 19 x 19 help button whose three bitmaps all instances share.
#pragma once

#include "ui/control.h"
#include "ui/gdi.h"
#include "ui/message_table.h"

// What both kinds share: the hover state and the messages that drive it.
class HoverButton : public Control {
public:
    BEGIN_MESSAGE_TABLE()
    ON_MOUSE_MOVE(OnMouseMove)
    ON_MOUSE_LEAVE(OnMouseLeave)
    ON_ERASE_BACKGROUND(OnEraseBackground)
    ON_REFLECTED_DRAW_ITEM(DrawItem)
    END_MESSAGE_TABLE()

    bool hovering = false;

protected:
    // Paints the button's face for one owner-draw request.
    virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;
    // The bitmap of the look that item's state asks for.
    HBITMAP Face(const DRAWITEMSTRUCT& item, HBITMAP normal, HBITMAP pressed, HBITMAP hover) const {
        return (item.itemState & ODS_SELECTED) ? pressed : hovering ? hover : normal;
    }

private:
    LRESULT OnMouseMove(UINT keys, POINT point);
    void OnMouseLeave();
    // The face covers the whole button: nothing to erase under it.
    LRESULT OnEraseBackground(HDC) { return 0; }
};

class SkinButton : public HoverButton {
public:
    // Loads the bitmaps from the program's resources; the pressed and hover ones only
    // when their id is not 0.
    void SetBitmaps(int normalId, int pressedId, int hoverId);
    void SetBitmapSize(int width, int height) {
        width_ = width;
        height_ = height;
    }

    // Receives the button's mouse moves, presses and releases (TTM_RELAYEVENT).
    HWND tooltip = nullptr;

protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    Bitmap pressed_;
    Bitmap normal_;
    Bitmap hover_;
    int width_ = 0;
    int height_ = 0;
};

class SkinHelpButton : public HoverButton {
public:
    static constexpr int kSize = 19;

    // The first instance loads the shared bitmaps, the last one deletes them.
    SkinHelpButton();
    ~SkinHelpButton() override;

protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override;
};
