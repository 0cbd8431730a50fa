// Process-wide services of the core: the Windows version, the message pump, pauses and
// the conversion of ANSI text to UTF-8 for display outside Windows' own code page.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_time.h"

// The fields of OSVERSIONINFOA that the program reads.
struct OsVersionInfo {
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t platformId = 0;
};

namespace osplatform {
constexpr std::uint32_t kWin32s = 0;
constexpr std::uint32_t kWindows = 1;  // 95, 98, ME
constexpr std::uint32_t kNt = 2;
}  // namespace osplatform

class System {
public:
    virtual ~System() = default;

    // GetVersionExA with an OSVERSIONINFOA whose size field is 148. False when the
    // query fails; *out is then untouched.
    [[nodiscard]] virtual bool QueryVersion(OsVersionInfo* out) = 0;

    // While PeekMessageA (any window, all messages, PM_REMOVE) finds a message,
    // DispatchMessageA it. Window handlers may run inside this call.
    virtual void PumpMessages() = 0;
    // The same while goOn stays true: it is read before each message, so a handler that
    // clears it (a close request clearing busy) ends the pump, and the messages behind
    // it wait for the window's own loop.
    virtual void PumpMessagesWhile(const bool& goOn) = 0;

    // Sleep.
    virtual void Pause(std::uint32_t milliseconds) = 0;

    // GetModuleFileNameA for the program's own executable into a buffer of `size` bytes:
    // the length copied, 0 on failure. A path that does not fit is cut to size bytes and
    // the result is size (then, as on Windows XP, without a terminator).
    virtual std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) = 0;
    // GetSystemTimeAsFileTime.
    virtual FileTime SystemTimeAsFileTime() = 0;

    // GBK (the ANSI code page 936) to UTF-8.
    virtual std::string AnsiToUtf8(const std::string& ansi) = 0;
};
