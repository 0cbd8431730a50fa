// Log texts of the erasers: each line's Clear text beside its Test text, and the counts
// some of them carry.
#pragma once

#include <cstdint>
#include <string>

struct ModeText {
    const char* clear;
    const char* test;
    const char* For(bool testMode) const { return testMode ? test : clear; }
};

// format with its "%d" replaced by count in decimal, the whole 64-bit value without
// separators.
inline std::string FormatCount(const std::string& format, std::int64_t count) {
    std::string text = format;
    size_t at = text.find("%d");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(count));
    }
    return text;
}
