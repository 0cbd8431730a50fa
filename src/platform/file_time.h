// FILETIME: a count of 100-nanosecond intervals since 1 January 1601 (UTC), kept as the
// two 32-bit halves Windows stores.
#pragma once

#include <cstdint>

struct FileTime {
    std::uint32_t lowDateTime = 0;
    std::uint32_t highDateTime = 0;

    // Times compare as one unsigned 64-bit number, high half first.
    std::uint64_t AsUint64() const {
        return (static_cast<std::uint64_t>(highDateTime) << 32) | lowDateTime;
    }
};
