#include "state/activity_log.h"

#include <gtest/gtest.h>

#include "seed.h"

namespace {

// Every call the log makes to its observer, added lines as their emphasis (in decimal)
// and length; the top line's changes apart.
struct Events : LogObserver {
    void LineAdded(const LogLine& line, bool raw) override {
        seen += (raw ? "raw " : "add ") + std::to_string(line.emphasis) + " " +
                std::to_string(line.text.size()) + ",";
    }
    void LastLineRemoved() override { seen += "remove,"; }
    void Cleared() override { seen += "clear,"; }
    void TopIndexChanged(int top) override { tops += std::to_string(top) + " "; }
    void HorizontalExtentChanged(int px) override { seen += "px " + std::to_string(px) + ","; }
    int VisibleTopIndex(int top) override { return viewTop < 0 ? top : viewTop; }
    void LineShown() override { ++shown; }
    std::string seen, tops;
    int viewTop = -1, shown = 0;  // the top line where the user scrolled; lines shown
};

// Lines are cut to 400 bytes, or 399 not to split a double-byte character; lines shorter
// than 300 bytes widen the scroll range by 9 pixels a byte. Raw lines are kept whole,
// neither measured nor followed. Emptying the log keeps the scroll range. The list
// follows new lines in jumps of 16 from the top line in view, and starts again from the top
// once emptied. Every added line is shown once added.
TEST(ActivityLog, CutsMeasuresAndFollowsLines) {
    ActivityLog log;
    Events events;
    log.SetObserver(&events);
    log.AddLogLine(nullptr, emphasis::kStrong);
    log.AppendRawLine(nullptr);
    log.RemoveLastLogLine();
    log.AddLogLine("\x81", emphasis::kStrong);  // a lone lead byte
    log.AddLogLine(std::string(399, 'x') + "历", emphasis::kPlain);
    log.AddLogLine(std::string(398, 'x') + "历", emphasis::kPlain);
    log.AddLogLine(std::string(299, 'x'), emphasis::kPlain);
    log.AddLogLine(std::string(300, 'x'), emphasis::kPlain);
    for (int i = 0; i < 40; ++i) {
        log.AppendRawLine(std::string(500, 'r').c_str());
    }
    log.RemoveLastLogLine();
    log.ClearLog();
    log.AddLogLine("b", emphasis::kPlain);
    EXPECT_EQ("add 11796480 1,px 9,add 0 399,add 0 400,add 0 299,px 2691,add 0 300," +
                  seed::Replace(std::string(40, '.'), ".", "raw 0 500,") + "remove,clear,add 0 1,",
              events.seen + events.tops);
    for (int line = 1; line <= 100; ++line) {
        log.AddLogLine("line", emphasis::kPlain);
        if (line == 50) {
            log.ClearLog();
        }
    }
    events.viewTop = 0;  // scrolled back to the top: the next line jumps from there
    log.AddLogLine("line", emphasis::kPlain);
    EXPECT_EQ("17 34 17 34 35 ", events.tops);
    EXPECT_EQ(107, events.shown);
}

}  // namespace
