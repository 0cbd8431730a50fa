// Version, message pump, pauses and code-page conversion through KERNEL32 and USER32.
#pragma once

#include "platform/system.h"

class Win32System : public System {
public:
    bool QueryVersion(OsVersionInfo* out) override;
    void PumpMessages() override;
    void PumpMessagesWhile(const bool& goOn) override;
    void Pause(std::uint32_t milliseconds) override;
    std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) override;
    FileTime SystemTimeAsFileTime() override;
    std::string AnsiToUtf8(const std::string& ansi) override;
};
