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

// Position of word in text, from `from` on, matched only where a character begins (a
// trail byte is never the start of a match); npos when absent.
size_t GbkFind(const std::string& text, const std::string& word, size_t from = 0);
// The same, ignoring the case of ASCII letters.
size_t GbkFindNoCase(const std::string& text, const std::string& word);

// File-system paths, where "\" and "/" both separate.
bool IsGbkPathSeparatorAt(const std::string& path, size_t pos);
// Position of the last separator that begins before `end`; npos when there is none.
size_t GbkLastSeparator(const std::string& path, size_t end = std::string::npos);
bool GbkEndsWithSeparator(const std::string& path);
// Splits at separators that are characters of their own, dropping empty pieces.
std::vector<std::string> SplitGbkFilePath(const std::string& path);
