// Text of registry string data read into a fixed buffer: up to its first NUL, and never
// past the bytes the registry returned (data stored without a terminator fills the
// buffer to its last byte).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

inline std::string RegistryText(const char* data, std::uint32_t size) {
    const void* nul = std::memchr(data, '\0', size);
    return std::string(data, nul != nullptr ? static_cast<const char*>(nul) - data : size);
}
