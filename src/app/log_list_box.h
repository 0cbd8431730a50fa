// The activity log's list box (control 1000 of the main window): it follows the log
// model line by line and draws its own lines, plain ones in the window text colour,
// emphasised ones in the highlight colour, and the words "sex" and "porn" in red.
#pragma once

#include <vector>

#include "state/activity_log.h"
#include "ui/control.h"
#include "ui/message_table.h"

class LogListBox : public Control, public LogObserver {
public:
    BEGIN_MESSAGE_TABLE()
    ON_REFLECTED_MEASURE_ITEM(OnMeasureItem)
    ON_REFLECTED_DRAW_ITEM(OnDrawItem)
    END_MESSAGE_TABLE()

    void LineAdded(const LogLine& line, bool raw) override;
    void LastLineRemoved() override;
    void Cleared() override;
    void TopIndexChanged(int topIndex) override;
    void HorizontalExtentChanged(int pixels) override;
    int VisibleTopIndex(int topIndex) override;
    void LineShown() override;

    // Repainted after every line, so that the line shows at once.
    HWND mainWindow = nullptr;

private:
    void OnMeasureItem(MEASUREITEMSTRUCT& item);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(Handle(), message, wParam, lParam);
    }
    // Whether each line of the model got into the list: a line the list box refused
    // (out of memory) has no list line, so removing it must remove none.
    std::vector<bool> listed_;
};
