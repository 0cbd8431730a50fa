// The process environment as the core sees it: variables and the temporary folder
// that Windows derives from them. Buffers are the caller's, with the size rules of the
// ANSI calls, so that a fixed limit stays visible where a value is read.
#pragma once

#include <cstdint>
#include <string>

class Environment {
public:
    virtual ~Environment() = default;

    // GetEnvironmentVariableA: the value's length (without terminator) when it fits in
    // size bytes with its terminator; the size needed, terminator included, when it does
    // not (the buffer is then undefined); 0 when the variable is not set.
    [[nodiscard]] virtual std::uint32_t GetVariable(const std::string& name, char* buffer,
                                                    std::uint32_t size) = 0;

    // GetTempPathA: the folder named by TMP, else TEMP, else USERPROFILE, else the
    // Windows folder, always ending in a backslash. The result follows GetVariable's
    // size rule; 0 on failure.
    [[nodiscard]] virtual std::uint32_t TempPath(char* buffer, std::uint32_t size) = 0;
};
