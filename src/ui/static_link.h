// A static text control turned into a hyperlink: drawn underlined in the link colour,
// with a hand cursor, and opened through the shell when clicked. After a successful
// open it takes the visited colour.
#pragma once

#include <string>

#include "ui/control.h"
#include "ui/gdi.h"
#include "ui/message_table.h"

class CStaticLink : public Control {
public:
    static constexpr COLORREF kUnvisitedColor = RGB(0, 0, 255);
    static constexpr COLORREF kVisitedColor = RGB(128, 0, 128);

    explicit CStaticLink(const char* target) : linkTarget(target != nullptr ? target : "") {}

    BEGIN_MESSAGE_TABLE()
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_REFLECTED_CTL_COLOR_STATIC(OnCtlColor)
    ON_LBUTTON_DOWN(OnLButtonDown)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    END_MESSAGE_TABLE()

    // What a click opens; when empty, the string resource of the control's id or else
    // the control's text.
    std::string linkTarget;
    COLORREF textColor = kUnvisitedColor;

private:
    LRESULT OnNcHitTest(WPARAM, LPARAM) { return HTCLIENT; }
    HBRUSH OnCtlColor(HDC dc);
    void OnLButtonDown(UINT keys, POINT point);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    // The shell's answer to opening linkTarget; 0 for an empty target.
    INT_PTR Open() const;

    Font underlineFont_;
};
