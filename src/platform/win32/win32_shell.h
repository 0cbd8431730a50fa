// The shell through the library loaded at run time, its exports found with
// GetProcAddress, and the item-id road through SHELL32's fixed exports and COM's task
// allocator.
#pragma once

#include "platform/shell.h"

class Win32Shell : public Shell {
public:
    bool OpenLibrary(const std::string& name, ModuleHandle* out) override;
    void CloseLibrary(ModuleHandle module) override;
    bool CallSpecialFolderPath(ModuleHandle module, HWnd owner, char (&path)[kMaxPath],
                               CsidlFolder csidl, bool create, bool* answer) override;
    bool CallQueryRecycleBin(ModuleHandle module, const char* rootPath, RecycleBinInfo* info,
                             HResult* answer) override;
    bool CallEmptyRecycleBin(ModuleHandle module, HWnd owner, const char* rootPath,
                             std::uint32_t flags, HResult* answer) override;
    bool FolderPathFromLocation(HWnd owner, CsidlFolder csidl, char (&path)[kMaxPath]) override;
};
