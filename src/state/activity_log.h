// The activity log as a model: the lines of the log list, their emphasis, the
// horizontal scroll extent and the top visible line. A window or the command line
// watches it through LogObserver.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace emphasis {
constexpr std::uint32_t kPlain = 0;
constexpr std::uint32_t kStrong = 0x00B40000;
}  // namespace emphasis

struct LogLine {
    std::string text;
    std::uint32_t emphasis = emphasis::kPlain;
};

class LogObserver {
public:
    virtual ~LogObserver() = default;
    // raw is true for AppendRawLine, which asks for no scrolling and no repaint.
    virtual void LineAdded(const LogLine& line, bool raw) = 0;
    virtual void LastLineRemoved() {}
    virtual void Cleared() {}
    virtual void TopIndexChanged(int /*topIndex*/) {}
    virtual void HorizontalExtentChanged(int /*pixels*/) {}
    // The top visible line as the view has it (the user may have scrolled); the log's
    // own idea of it when there is no view.
    virtual int VisibleTopIndex(int topIndex) { return topIndex; }
    // AddLogLine is done with a line: a window repaints at once.
    virtual void LineShown() {}
    // Whether the log keeps its own copy of each line. An observer that has the line
    // printed and done with says no, so that a run of 100,000 entries holds none of them.
    virtual bool NeedsLinesKept() { return true; }
};

class ActivityLog {
public:
    static constexpr size_t kMaxLineBytes = 400;
    // Lines this long or longer do not widen the horizontal scroll range.
    static constexpr int kWidestTrackedLine = 300;
    static constexpr int kPixelsPerByte = 9;
    static constexpr int kJumpLines = 16;

    // Appends a line, cut to its first 400 bytes, or 399 where the 400th byte would
    // split a double-byte character. A null text is ignored.
    void AddLogLine(const char* text, std::uint32_t emphasis);
    void AddLogLine(const std::string& text, std::uint32_t emphasis) {
        AddLogLine(text.c_str(), emphasis);
    }
    // Appends a plain line as it is: no cut, no scroll range, no scrolling, no repaint.
    void AppendRawLine(const char* text);
    void RemoveLastLogLine();
    void ClearLog();
    void SetTopIndex(int index);

    // The lines kept (all of them unless the observer said it needs none kept).
    const std::vector<LogLine>& Lines() const { return lines_; }
    // Every line in the log, kept or not.
    int LineCount() const { return lineCount_; }
    int TopIndex() const { return topIndex_; }
    int MaxLineLength() const { return maxLineLength_; }
    int HorizontalExtent() const { return horizontalExtent_; }

    void SetObserver(LogObserver* observer) { observer_ = observer; }

private:
    void Append(LogLine line, bool raw);

    std::vector<LogLine> lines_;
    int lineCount_ = 0;
    int topIndex_ = 0;
    int maxLineLength_ = 0;
    int horizontalExtent_ = 0;
    LogObserver* observer_ = nullptr;
};
