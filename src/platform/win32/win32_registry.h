// The registry through the ANSI calls of ADVAPI32 and SHLWAPI.
#pragma once

#include "platform/registry.h"

class Win32Registry : public Registry {
public:
    WinError OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                     HKey* out) override;
    WinError CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                       HKey* out) override;
    WinError CloseKey(HKey key) override;
    WinError QueryValue(HKey key, const std::string& name, std::uint32_t* type, void* data,
                        std::uint32_t* size) override;
    WinError SetValue(HKey key, const std::string& name, std::uint32_t type, const void* data,
                      std::uint32_t size) override;
    WinError DeleteValue(HKey key, const std::string& name) override;
    WinError DeleteTree(HKey parent, const std::string& subKey) override;
    WinError DeleteKey(HKey parent, const std::string& subKey) override;
    WinError EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    WinError EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                       std::uint32_t* type, void* data, std::uint32_t* dataSize) override;
    WinError QueryKeyInfo(HKey key, KeyInfo* out) override;
    WinError GetKeySecurity(HKey key, std::uint32_t information, void* descriptor,
                            std::uint32_t* size) override;
    WinError SetKeySecurity(HKey key, std::uint32_t information, const void* descriptor,
                            std::uint32_t size) override;
};
