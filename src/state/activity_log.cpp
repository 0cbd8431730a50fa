#include "state/activity_log.h"

#include <cstring>

void ActivityLog::Append(LogLine line, bool raw) {
    lines_.push_back(std::move(line));
    if (observer_ != nullptr) {
        observer_->LineAdded(lines_.back(), raw);
    }
}

void ActivityLog::AddLogLine(const char* text, std::uint32_t emphasis) {
    if (text == nullptr) {
        return;
    }
    size_t length = std::strlen(text);
    Append(LogLine{std::string(text, length < kMaxLineBytes ? length : kMaxLineBytes), emphasis},
           false);

    int n = static_cast<int>(length < 0x7fffffff ? length : 0x7fffffff);
    if (n > maxLineLength_ && n < kWidestTrackedLine) {
        maxLineLength_ = n;
        horizontalExtent_ = n * kPixelsPerByte;
        if (observer_ != nullptr) {
            observer_->HorizontalExtentChanged(horizontalExtent_);
        }
    }
    // Follow new lines in jumps, so that the list does not scroll for every line.
    if (LineCount() - topIndex_ > 2 * kJumpLines) {
        SetTopIndex(LineCount() - kJumpLines);
    }
}

void ActivityLog::AppendRawLine(const char* text) {
    if (text != nullptr) {
        Append(LogLine{text, emphasis::kPlain}, true);
    }
}

void ActivityLog::RemoveLastLogLine() {
    if (lines_.empty()) {
        return;
    }
    lines_.pop_back();
    if (observer_ != nullptr) {
        observer_->LastLineRemoved();
    }
}

void ActivityLog::ClearLog() {
    lines_.clear();
    topIndex_ = 0;
    if (observer_ != nullptr) {
        observer_->Cleared();
    }
}

void ActivityLog::SetTopIndex(int index) {
    topIndex_ = index;
    if (observer_ != nullptr) {
        observer_->TopIndexChanged(index);
    }
}
