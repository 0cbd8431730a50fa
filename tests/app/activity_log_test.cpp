#include "app/activity_log.h"

#include <gtest/gtest.h>

namespace {

class RecordingObserver : public LogObserver {
public:
    void LineAdded(const LogLine& line, bool raw) override {
        events.push_back((raw ? "raw " : "add ") + line.text);
    }
    void LastLineRemoved() override { events.push_back("remove"); }
    void Cleared() override { events.push_back("clear"); }
    void TopIndexChanged(int top) override { events.push_back("top " + std::to_string(top)); }
    void HorizontalExtentChanged(int px) override {
        events.push_back("extent " + std::to_string(px));
    }
    std::vector<std::string> events;
};

TEST(ActivityLog, LongLinesAreCutToFourHundredBytes) {
    ActivityLog log;
    log.AddLogLine(std::string(401, 'x'), emphasis::kPlain);
    log.AddLogLine(std::string(400, 'y'), emphasis::kStrong);
    ASSERT_EQ(2, log.LineCount());
    EXPECT_EQ(std::string(400, 'x'), log.Lines()[0].text);
    EXPECT_EQ(std::string(400, 'y'), log.Lines()[1].text);
    EXPECT_EQ(emphasis::kPlain, log.Lines()[0].emphasis);
    EXPECT_EQ(0x00B40000u, log.Lines()[1].emphasis);
}

TEST(ActivityLog, CutMaySplitADoubleByteCharacter) {
    ActivityLog log;
    log.AddLogLine(std::string(399, 'x') + "历", emphasis::kPlain);
    EXPECT_EQ(std::string(399, 'x') + "\xc0", log.Lines()[0].text);
}

TEST(ActivityLog, NullTextIsIgnored) {
    ActivityLog log;
    RecordingObserver observer;
    log.SetObserver(&observer);
    log.AddLogLine(nullptr, emphasis::kStrong);
    log.AppendRawLine(nullptr);
    EXPECT_EQ(0, log.LineCount());
    EXPECT_TRUE(observer.events.empty());
}

TEST(ActivityLog, HorizontalExtentFollowsTheLongestLineBelowThreeHundredBytes) {
    ActivityLog log;
    log.AddLogLine(std::string(299, 'x'), emphasis::kPlain);
    EXPECT_EQ(299, log.MaxLineLength());
    EXPECT_EQ(2691, log.HorizontalExtent());
    log.AddLogLine(std::string(300, 'x'), emphasis::kPlain);
    log.AddLogLine(std::string(10, 'x'), emphasis::kPlain);
    EXPECT_EQ(2691, log.HorizontalExtent());
}

TEST(ActivityLog, EmptyingTheLogKeepsTheHorizontalExtent) {
    ActivityLog log;
    log.AddLogLine("abc", emphasis::kPlain);
    log.ClearLog();
    EXPECT_EQ(0, log.LineCount());
    EXPECT_EQ(27, log.HorizontalExtent());
    log.AddLogLine("ab", emphasis::kPlain);
    EXPECT_EQ(27, log.HorizontalExtent());
}

TEST(ActivityLog, FollowsNewLinesInJumpsOfSixteen) {
    ActivityLog log;
    for (int i = 0; i < 32; ++i) {
        log.AddLogLine("line", emphasis::kPlain);
    }
    EXPECT_EQ(0, log.TopIndex());
    log.AddLogLine("line 33", emphasis::kPlain);
    EXPECT_EQ(17, log.TopIndex());
    for (int i = 0; i < 16; ++i) {
        log.AddLogLine("line", emphasis::kPlain);
    }
    EXPECT_EQ(17, log.TopIndex());
    log.AddLogLine("line 50", emphasis::kPlain);
    EXPECT_EQ(34, log.TopIndex());
}

TEST(ActivityLog, RawLinesAreNeitherCutNorScrolledNorMeasured) {
    ActivityLog log;
    RecordingObserver observer;
    log.SetObserver(&observer);
    for (int i = 0; i < 40; ++i) {
        log.AppendRawLine(std::string(100, 'r').c_str());
    }
    log.AppendRawLine(std::string(500, 'r').c_str());
    EXPECT_EQ(500u, log.Lines().back().text.size());
    EXPECT_EQ(emphasis::kPlain, log.Lines().back().emphasis);
    EXPECT_EQ(0, log.TopIndex());
    EXPECT_EQ(0, log.HorizontalExtent());
    EXPECT_EQ("raw " + std::string(100, 'r'), observer.events.front());
    EXPECT_EQ(41u, observer.events.size());
}

TEST(ActivityLog, RemoveLastLineAndClear) {
    ActivityLog log;
    RecordingObserver observer;
    log.SetObserver(&observer);
    log.RemoveLastLogLine();  // nothing to remove
    log.AddLogLine("a", emphasis::kPlain);
    log.AddLogLine("b", emphasis::kPlain);
    log.RemoveLastLogLine();
    ASSERT_EQ(1, log.LineCount());
    EXPECT_EQ("a", log.Lines()[0].text);
    log.ClearLog();
    EXPECT_EQ(0, log.LineCount());
    std::vector<std::string> expected = {"add a", "extent 9", "add b", "remove", "clear"};
    EXPECT_EQ(expected, observer.events);
}

}  // namespace
