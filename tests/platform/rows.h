// The contracts' checks as rows: what a call answered, as text, beside what Windows
// answers. The calls of one list run in the order written.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using Rows = std::vector<std::pair<std::string, std::string>>;

inline void ExpectRows(const Rows& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].second, rows[i].first) << i;
    }
}

// An answer, a size or a count as text.
inline std::string Num(std::int64_t number) {
    return std::to_string(number);
}

// A number in hexadecimal: an HRESULT, a set of bits.
inline std::string Hex(std::uint32_t number) {
    char text[12];
    std::snprintf(text, sizeof text, "%x", number);
    return text;
}

// The texts joined by `separator`: the answers of calls made in the order written.
inline std::string Seq(const std::vector<std::string>& texts, const char* separator = " ") {
    std::string out;
    for (const std::string& text : texts) {
        out += (out.empty() ? "" : separator) + text;
    }
    return out;
}

// The texts in byte order, joined by ", ".
inline std::string SortedText(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    return Seq(texts, ", ");
}
