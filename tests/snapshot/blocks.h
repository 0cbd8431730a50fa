// The blocks of a snapshot stream, to build streams with or to compare them against.
#pragma once

#include <cstdint>
#include <string>

#include "snapshot/snapshot_file.h"

inline std::string Scrambled(std::string text) {
    ScrambleBytes(text.data(), text.size());
    return text;
}
inline std::string Dword(std::uint32_t n) {
    return {char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
}
// A text block, scrambled or not.
inline std::string Text(const std::string& text, bool scrambled = false) {
    std::string bytes = (scrambled ? Scrambled(text) : text) + '\0';
    return Dword(static_cast<std::uint32_t>(bytes.size())) + bytes;
}
// A file content record.
inline std::string Content(const std::string& content) {
    return Dword(static_cast<std::uint32_t>(content.size())) + Scrambled(content);
}
