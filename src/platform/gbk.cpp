#include "platform/gbk.h"

namespace {

// Calls visit(position, isDoubleByte) for each character of text.
template <typename Visit>
void ForEachGbkChar(const std::string& text, Visit visit) {
    for (size_t i = 0; i < text.size();) {
        bool dbcs = IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        visit(i, dbcs);
        i += dbcs ? 2 : 1;
    }
}

}  // namespace

std::string GbkAsciiLower(const std::string& text) {
    std::string out = text;
    ForEachGbkChar(text, [&](size_t i, bool dbcs) {
        if (!dbcs && out[i] >= 'A' && out[i] <= 'Z') {
            out[i] = static_cast<char>(out[i] - 'A' + 'a');
        }
    });
    return out;
}

bool GbkEqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && GbkAsciiLower(a) == GbkAsciiLower(b);
}

namespace {

// Splits at single-byte characters for which isSeparator holds, dropping empty pieces.
template <typename IsSeparator>
std::vector<std::string> SplitGbk(const std::string& path, IsSeparator isSeparator) {
    std::vector<std::string> parts;
    std::string current;
    ForEachGbkChar(path, [&](size_t i, bool dbcs) {
        if (!dbcs && isSeparator(path[i])) {
            if (!current.empty()) {
                parts.push_back(current);
            }
            current.clear();
            return;
        }
        current.append(path, i, dbcs ? 2 : 1);
    });
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

}  // namespace

std::vector<std::string> SplitGbkPath(const std::string& path) {
    return SplitGbk(path, [](char c) { return c == '\\'; });
}

namespace {

// Start of every character of text, in order.
std::vector<size_t> GbkCharStarts(const std::string& text) {
    std::vector<size_t> starts;
    ForEachGbkChar(text, [&](size_t i, bool) { starts.push_back(i); });
    return starts;
}

}  // namespace

size_t GbkFind(const std::string& text, const std::string& word, size_t from) {
    for (size_t start : GbkCharStarts(text)) {
        if (start >= from && text.compare(start, word.size(), word) == 0) {
            return start;
        }
    }
    return std::string::npos;
}

size_t GbkFindNoCase(const std::string& text, const std::string& word) {
    return GbkFind(GbkAsciiLower(text), GbkAsciiLower(word));
}

bool IsGbkPathSeparatorAt(const std::string& path, size_t pos) {
    if (pos >= path.size() || (path[pos] != '\\' && path[pos] != '/')) {
        return false;
    }
    bool starts = false;
    ForEachGbkChar(path.substr(0, pos + 1), [&](size_t i, bool) { starts = i == pos; });
    return starts;
}

size_t GbkLastSeparator(const std::string& path, size_t end) {
    size_t found = std::string::npos;
    for (size_t start : GbkCharStarts(path)) {
        if (start >= end) {
            break;
        }
        if (path[start] == '\\' || path[start] == '/') {
            found = start;
        }
    }
    return found;
}

bool GbkEndsWithSeparator(const std::string& path) {
    return !path.empty() && IsGbkPathSeparatorAt(path, path.size() - 1);
}

std::vector<std::string> SplitGbkFilePath(const std::string& path) {
    return SplitGbk(path, [](char c) { return c == '\\' || c == '/'; });
}
