// The progress bar drawn with bitmaps: a background picture and, over it, a row of
// tiles whose length follows the position within the range.
#pragma once

#include "ui/control.h"
#include "ui/gdi.h"
#include "ui/message_table.h"

class SkinProgressBar : public Control {
public:
    BEGIN_MESSAGE_TABLE()
    ON_MESSAGE(WM_PAINT, OnPaint)
    END_MESSAGE_TABLE()

    // Takes bitmap (owned from then on) as the background and sizes the window to it.
    // False when the bitmap's size cannot be read: both bitmaps are then dropped.
    bool SetBackgroundBitmap(HBITMAP bitmap, bool redraw);
    bool LoadBackgroundBitmap(int id, bool redraw);
    // Takes bitmap (owned from then on) as the tile; false as above.
    bool SetBarBitmap(HBITMAP bitmap, bool redraw);
    bool LoadBarBitmap(int id, bool redraw);
    // Where the first tile is drawn inside the background.
    void SetTileOffset(int x, int y) { tileOffset_ = POINT{x, y}; }
    // Deletes both bitmaps; the bar then draws nothing.
    void FreeBitmaps();

    // Shows position within [lower, upper] (upper > lower).
    void Show(int lower, int upper, int position);

private:
    LRESULT OnPaint(WPARAM, LPARAM);
    // The part of the bar the position fills, inside r.
    RECT FilledPart(RECT r, bool vertical) const;
    void Redraw() { InvalidateRect(Handle(), nullptr, TRUE); }
    // Takes bitmap (none: keeps what is there) into slot with its size; a bitmap whose
    // size cannot be read drops both bitmaps.
    bool Take(Bitmap& slot, SIZE& size, HBITMAP bitmap);

    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
    Bitmap bar_;
    Bitmap background_;
    SIZE barSize_{};
    SIZE backgroundSize_{};
    POINT tileOffset_{};
};
