#include "ui/skin_progress_bar.h"

#include <cstdlib>

namespace {

HBITMAP LoadResourceBitmap(int id) {
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                           IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

// The tiles are 12 pixels wide; the filled part is a whole number of them.
constexpr int kTileWidth = 12;

}  // namespace

bool SkinProgressBar::Take(Bitmap& slot, SIZE& size, HBITMAP bitmap) {
    if (bitmap == nullptr) {
        return true;
    }
    slot.Reset(bitmap);
    if (BitmapSize(bitmap, &size)) {
        return true;
    }
    FreeBitmaps();
    return false;
}

bool SkinProgressBar::SetBackgroundBitmap(HBITMAP bitmap, bool redraw) {
    if (!Take(background_, backgroundSize_, bitmap)) {
        return false;
    }
    SetWindowPos(Handle(), nullptr, 0, 0, backgroundSize_.cx, backgroundSize_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    if (redraw) {
        Redraw();
    }
    return true;
}

bool SkinProgressBar::LoadBackgroundBitmap(int id, bool redraw) {
    return SetBackgroundBitmap(LoadResourceBitmap(id), redraw);
}

bool SkinProgressBar::SetBarBitmap(HBITMAP bitmap, bool redraw) {
    if (!Take(bar_, barSize_, bitmap)) {
        return false;
    }
    if (redraw) {
        Redraw();
    }
    return true;
}

bool SkinProgressBar::LoadBarBitmap(int id, bool redraw) {
    return SetBarBitmap(LoadResourceBitmap(id), redraw);
}

void SkinProgressBar::FreeBitmaps() {
    bar_.Reset();
    background_.Reset();
    barSize_ = SIZE{};
    backgroundSize_ = SIZE{};
}

void SkinProgressBar::Show(int lower, int upper, int position) {
    lower_ = lower;
    upper_ = upper;
    position_ = position;
    Redraw();
}

// An empty range (no caller sets one) shows an empty bar rather than dividing by zero.
RECT SkinProgressBar::FilledPart(RECT r, bool vertical) const {
    int percent =
        upper_ > lower_
            ? static_cast<int>((std::abs(lower_) + position_) * (100.0 / (upper_ - lower_)))
            : 0;
    if (vertical) {
        int top = r.bottom - static_cast<int>((r.bottom - r.top) * 0.01f * percent);
        r.top = top < r.top ? r.top + 1 : top;
        return r;
    }
    int fill = static_cast<int>((r.right - r.left) * 0.01f * percent);
    fill -= fill % kTileWidth;
    LONG right = r.left + fill;
    r.right = right < r.right - 1 ? right : r.right - 1;
    return r;
}

LRESULT SkinProgressBar::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(Handle());
    if (!bar_) {
        return 0;
    }
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    RECT r;
    GetClientRect(Handle(), &r);
    if (style & WS_BORDER) {
        GdiObject<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
        FrameRect(paint.Get(), &r, red.Get());
        InflateRect(&r, -1, -1);
    }
    InflateRect(&r, -1, -1);
    r = FilledPart(r, (style & 0x04) != 0);

    MemoryDC tiles(paint.Get());
    Selection tile(tiles.Get(), bar_.Get());
    MemoryDC composed(paint.Get());
    Bitmap picture(CreateCompatibleBitmap(tiles.Get(), backgroundSize_.cx, backgroundSize_.cy));
    {
        Selection target(composed.Get(), picture.Get());
        DrawBitmap(composed.Get(), 0, 0, background_.Get(), backgroundSize_.cx, backgroundSize_.cy);
        int count = (r.right - r.left + barSize_.cx - 1) / barSize_.cx;
        for (int i = 0; i < count; ++i) {
            BitBlt(composed.Get(), tileOffset_.x + i * barSize_.cx, tileOffset_.y, barSize_.cx,
                   barSize_.cy, tiles.Get(), 0, 0, SRCCOPY);
        }
        BitBlt(paint.Get(), r.left, r.top, backgroundSize_.cx, backgroundSize_.cy, composed.Get(),
               0, 0, SRCCOPY);
    }
    return 0;
}
