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

std::vector<std::string> SplitGbkPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    ForEachGbkChar(path, [&](size_t i, bool dbcs) {
        if (!dbcs && path[i] == '\\') {
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
