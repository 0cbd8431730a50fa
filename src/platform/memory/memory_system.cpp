#include "platform/memory/memory_system.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>

// A fault from the plan fails the query as Windows does, with the record untouched;
// versionQueryFails fills the record all the same, so that a caller who reads it anyway
// acts on that version and shows it.
bool MemorySystem::QueryVersion(OsVersionInfo* out) {
    if (faults.Check("System.QueryVersion", "") != winerr::kSuccess) {
        return false;
    }
    *out = version;
    return !versionQueryFails;
}

void MemorySystem::PumpMessages() {
    if (onPump) {
        onPump();
    }
}

void MemorySystem::PumpMessagesWhile(const bool& goOn) {
    if (goOn) {
        PumpMessages();
    }
}

std::uint32_t MemorySystem::ModuleFileName(char* buffer, std::uint32_t size) {
    if (faults.Check("System.ModuleFileName", "") != winerr::kSuccess) {
        return 0;
    }
    std::uint32_t length = static_cast<std::uint32_t>(moduleFileName.size());
    if (length >= size) {
        std::memcpy(buffer, moduleFileName.data(), size);
        return size;
    }
    std::memcpy(buffer, moduleFileName.c_str(), length + 1);
    return length;
}

std::string MemorySystem::AnsiToUtf8(const std::string& ansi) {
    std::unique_ptr<void, int (*)(iconv_t)> cd(iconv_open("UTF-8", "GBK"), iconv_close);
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(ansi.data());
    size_t inLeft = ansi.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t done = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            out += '?';  // an invalid or cut-off byte sequence, as Windows shows it
            ++in;
            --inLeft;
        }
    }
    return out;
}
