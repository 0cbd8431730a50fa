#include "app/log_list_box.h"

#include <algorithm>
#include <string>

#include "platform/gbk.h"

namespace {

// Searched in this order; the first word found is the one drawn in red.
constexpr const char* kMarkerWords[] = {"sex", "porn"};
constexpr COLORREF kMarkerColor = RGB(255, 0, 0);

COLORREF TextColor(const DRAWITEMSTRUCT& item) {
    if (item.itemState & ODS_SELECTED) {
        return GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    if (item.itemState & ODS_DISABLED) {
        return GetSysColor(COLOR_GRAYTEXT);
    }
    return GetSysColor(item.itemData != emphasis::kPlain ? COLOR_HIGHLIGHT : COLOR_WINDOWTEXT);
}

// Measures piece inside r (r shrinks to it), draws it there and returns its right edge.
LONG DrawPiece(HDC dc, const std::string& piece, RECT r, UINT format) {
    if (piece.empty()) {
        return r.left;
    }
    DrawTextA(dc, piece.c_str(), static_cast<int>(piece.size()), &r, format | DT_CALCRECT);
    DrawTextA(dc, piece.c_str(), static_cast<int>(piece.size()), &r, format);
    return r.right;
}

}  // namespace

void LogListBox::LineAdded(const LogLine& line, bool) {
    LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
    listed_.push_back(index >= 0);
    if (index >= 0) {
        Send(LB_SETITEMDATA, static_cast<WPARAM>(index), line.emphasis);
    }
}

void LogListBox::LastLineRemoved() {
    bool listed = !listed_.empty() && listed_.back();
    if (!listed_.empty()) {
        listed_.pop_back();
    }
    LRESULT count = Send(LB_GETCOUNT);
    if (listed && count > 0) {
        Send(LB_DELETESTRING, static_cast<WPARAM>(count - 1));
    }
}

void LogListBox::Cleared() {
    listed_.clear();
    Send(LB_RESETCONTENT);
}

void LogListBox::TopIndexChanged(int topIndex) {
    Send(LB_SETTOPINDEX, static_cast<WPARAM>(topIndex));
}

void LogListBox::HorizontalExtentChanged(int pixels) {
    Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels));
}

int LogListBox::VisibleTopIndex(int) {
    return static_cast<int>(Send(LB_GETTOPINDEX));
}

// Paints what is waiting to be painted in the window and its controls, now.
void LogListBox::LineShown() {
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void LogListBox::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = GetSystemMetrics(SM_CYMENUCHECK);
}

// The marker word is found only where a character begins and its letters are single
// bytes, so the three pieces never split a double-byte character.
void LogListBox::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (static_cast<int>(item.itemID) < 0) {
        return;
    }
    HDC dc = item.hDC;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected && (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else if (!selected && (item.itemAction & ODA_SELECT)) {
        FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    }
    if (item.itemAction & ODA_FOCUS) {
        DrawFocusRect(dc, &item.rcItem);
    }
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF lineColor = TextColor(item);
    COLORREF oldColor = SetTextColor(dc, lineColor);

    // Either call answers LB_ERR for a line that is gone; it is then drawn empty.
    LRESULT length = Send(LB_GETTEXTLEN, item.itemID);
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    LRESULT got =
        length > 0 ? Send(LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(&text[0])) : 0;
    text.resize(got > 0 ? std::min(static_cast<size_t>(got), text.size() - 1) : 0);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;
    if (GetWindowLongA(Handle(), GWL_STYLE) & LBS_USETABSTOPS) {
        format |= DT_EXPANDTABS;
    }
    size_t at = std::string::npos;
    std::string word;
    for (const char* marker : kMarkerWords) {
        if ((at = GbkFindNoCase(text, marker)) != std::string::npos) {
            word = marker;
            break;
        }
    }
    RECT r = item.rcItem;
    if (at == std::string::npos) {
        DrawPiece(dc, text, r, format);
    } else {
        r.left = DrawPiece(dc, text.substr(0, at), r, format);
        SetTextColor(dc, kMarkerColor);
        r.left = DrawPiece(dc, text.substr(at, word.size()), r, format);
        SetTextColor(dc, lineColor);
        DrawPiece(dc, text.substr(at + word.size()), r, format);
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}
