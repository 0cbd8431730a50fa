// A compound file read without ole32, from its bytes: the header, the FAT, the
// directory and the mini stream, enough to name the streams of the root storage and
// give their contents. It proves that what the program writes is a docfile other tools
// can read.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace docfile {

inline std::uint32_t U32(const std::string& b, size_t at) {
    std::uint32_t value = 0xFFFFFFFFu;  // past the end
    if (at + 4 <= b.size()) {
        std::memcpy(&value, &b[at], 4);  // x86: little-endian
    }
    return value;
}

// The bytes of the chain that starts at `first` in `table`, sectors of `size` bytes in
// `data` from `base` on; empty when the chain leaves the file or loops.
inline std::string Chain(const std::string& data, const std::vector<std::uint32_t>& table,
                         std::uint32_t first, size_t size, size_t base) {
    std::string out;
    for (std::uint32_t s = first; s != 0xFFFFFFFEu; s = table[s]) {
        if (s >= table.size() || base + (s + 1) * size > data.size() || out.size() > data.size()) {
            return {};
        }
        out += data.substr(base + s * size, size);
    }
    return out;
}

inline std::vector<std::uint32_t> Table(const std::string& bytes) {
    std::vector<std::uint32_t> table;
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        table.push_back(U32(bytes, at));
    }
    return table;
}

// Stream name (ASCII) to content for the streams of the root storage. Empty when bytes
// are not a version 3 docfile with 512-byte sectors.
inline std::map<std::string, std::string> Streams(const std::string& file) {
    std::map<std::string, std::string> streams;
    if (file.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") != 0 ||
        U32(file, 0x1E) != 0x00060009) {
        return streams;
    }
    std::string fatBytes;
    for (std::uint32_t i = 0; i < 109 && i < U32(file, 0x2C); ++i) {
        fatBytes += file.substr(512 + U32(file, 0x4C + 4 * i) * 512, 512);
    }
    std::vector<std::uint32_t> fat = Table(fatBytes);
    std::string directory = Chain(file, fat, U32(file, 0x30), 512, 512);
    std::vector<std::uint32_t> miniFat = Table(Chain(file, fat, U32(file, 0x3C), 512, 512));
    std::string miniStream = Chain(file, fat, U32(directory, 0x74), 512, 512);
    for (size_t entry = 128; entry + 128 <= directory.size(); entry += 128) {
        std::string name;
        size_t length = U32(directory, entry + 0x40) & 0xFFFF;
        for (size_t i = 0; i + 2 < length; i += 2) {
            name += directory[entry + i];
        }
        std::uint32_t size = U32(directory, entry + 0x78);
        if (directory[entry + 0x42] == 2) {  // a stream

            std::string bytes =
                size < U32(file, 0x38)
                    ? Chain(miniStream, miniFat, U32(directory, entry + 0x74), 64, 0)
                    : Chain(file, fat, U32(directory, entry + 0x74), 512, 512);
            streams[name] = bytes.substr(0, size);
        }
    }
    return streams;
}

}  // namespace docfile
