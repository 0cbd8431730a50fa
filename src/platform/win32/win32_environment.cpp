#include "platform/win32/win32_environment.h"

#include <windows.h>

std::uint32_t Win32Environment::GetVariable(const std::string& name, char* buffer,
                                            std::uint32_t size) {
    return GetEnvironmentVariableA(name.c_str(), buffer, size);
}

std::uint32_t Win32Environment::TempPath(char* buffer, std::uint32_t size) {
    return GetTempPathA(size, buffer);
}
