// Environment variables and the temporary folder through KERNEL32.
#pragma once

#include "platform/environment.h"

class Win32Environment : public Environment {
public:
    std::uint32_t GetVariable(const std::string& name, char* buffer, std::uint32_t size) override;
    std::uint32_t TempPath(char* buffer, std::uint32_t size) override;
};
