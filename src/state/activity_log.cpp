#include "state/activity_log.h"

#include <cstring>

#include "platform/gbk.h"

namespace {

// The length of text's longest beginning of at most max bytes that does not end inside
// a double-byte character.
size_t WholeCharacters(const char* text, size_t length, size_t max) {
    size_t end = 0;
    while (end < length) {
        bool pair = IsGbkLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < length;
        size_t next = end + (pair ? 2 : 1);
        if (next > max) {
            break;
        }
        end = next;
    }
    return end;
}

}  // namespace

void ActivityLog::Append(LogLine line, bool raw) {
    ++lineCount_;
    if (observer_ != nullptr && !observer_->NeedsLinesKept()) {
        observer_->LineAdded(line, raw);
        return;
    }
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
    Append(LogLine{std::string(text, WholeCharacters(text, length, kMaxLineBytes)), emphasis},
           /*raw=*/false);

    int n = static_cast<int>(length < 0x7fffffff ? length : 0x7fffffff);
    if (n > maxLineLength_ && n < kWidestTrackedLine) {
        maxLineLength_ = n;
        horizontalExtent_ = n * kPixelsPerByte;
        if (observer_ != nullptr) {
            observer_->HorizontalExtentChanged(horizontalExtent_);
        }
    }
    // Follow new lines in jumps, so that the list does not scroll for every line.
    if (observer_ != nullptr) {
        topIndex_ = observer_->VisibleTopIndex(topIndex_);
    }
    if (LineCount() - topIndex_ > 2 * kJumpLines) {
        SetTopIndex(LineCount() - kJumpLines);
    }
    if (observer_ != nullptr) {
        observer_->LineShown();
    }
}

void ActivityLog::AppendRawLine(const char* text) {
    if (text != nullptr) {
        Append(LogLine{text, emphasis::kPlain}, /*raw=*/true);
    }
}

void ActivityLog::RemoveLastLogLine() {
    if (lineCount_ == 0) {
        return;
    }
    if (lines_.size() == static_cast<size_t>(lineCount_)) {
        lines_.pop_back();  // the last line was kept
    }
    --lineCount_;
    if (observer_ != nullptr) {
        observer_->LastLineRemoved();
    }
}

void ActivityLog::ClearLog() {
    lines_.clear();
    lineCount_ = 0;
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
