// Byte-string helpers that respect GBK double-byte characters: a trail byte may be a
// backslash or an ASCII letter, so neither path splitting nor case folding may look at
// it on its own.
#pragma once

#include <string>
#include <vector>

inline bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Lower-cases the single-byte ASCII letters and leaves double-byte characters whole.
std::string GbkAsciiLower(const std::string& text);

// Case-insensitive equality in the sense of the registry and the file system.
bool GbkEqualNoCase(const std::string& a, const std::string& b);

// Splits at backslashes that are characters of their own, dropping empty pieces.
std::vector<std::string> SplitGbkPath(const std::string& path);
