// In-memory shell: the special folders and the recycle bin of a test, a library that can
// be missing or lack exports as an old shell does, and counters of what was called.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/memory/fault_plan.h"
#include "platform/shell.h"

class MemoryShell : public Shell {
public:
    static constexpr char kSpecialFolderPathExport[] = "SHGetSpecialFolderPathA";
    static constexpr char kQueryRecycleBinExport[] = "SHQueryRecycleBinA";
    static constexpr char kEmptyRecycleBinExport[] = "SHEmptyRecycleBinA";

    bool OpenLibrary(const std::string& name, ModuleHandle* out) override;
    void CloseLibrary(ModuleHandle module) override;
    bool CallSpecialFolderPath(ModuleHandle module, HWnd owner, char (&path)[kMaxPath],
                               CsidlFolder csidl, bool create, bool* answer) override;
    bool CallQueryRecycleBin(ModuleHandle module, const char* rootPath, RecycleBinInfo* info,
                             HResult* answer) override;
    bool CallEmptyRecycleBin(ModuleHandle module, HWnd owner, const char* rootPath,
                             std::uint32_t flags, HResult* answer) override;
    bool FolderPathFromLocation(HWnd owner, CsidlFolder csidl, char (&path)[kMaxPath]) override;

    // The shell's folders by CSIDL number; a folder not listed is unknown to it.
    std::map<CsidlFolder, std::string> specialFolders;
    // The library cannot be loaded; or it lacks these exports (names as above).
    bool libraryMissing = false;
    std::set<std::string> missingExports;
    // Sizes in bytes of the items in the recycle bin.
    std::vector<std::int64_t> recycleBin;

    // What was called.
    int librariesOpen = 0;
    int emptyCalls = 0;
    std::uint32_t lastEmptyFlags = 0;

    // "Shell.OpenLibrary" (argument: the library's name) makes the library fail to load;
    // "Shell.Export" (argument: the export's name) makes the export missing for one call;
    // "Shell.SpecialFolderPath" (argument: the CSIDL number in decimal) makes the export
    // answer FALSE; "Shell.FolderLocation" (the same argument) makes the item-id road
    // fail; "Shell.QueryRecycleBin" and "Shell.EmptyRecycleBin" make those exports answer
    // the fault's value as their HRESULT, without doing anything.
    FaultPlan faults;

private:
    bool HasExport(ModuleHandle module, const char* name);
    static constexpr std::uintptr_t kModule = 0x7C9C0000;
};
