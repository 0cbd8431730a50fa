#include "platform/memory/memory_shell.h"

#include <cstring>
#include <numeric>

namespace {

constexpr HResult kInvalidArgument = static_cast<HResult>(0x80070057u);

// Copies a folder's path into a kMaxPath buffer; false when it does not fit.
bool CopyPath(const std::string& folder, char (&path)[kMaxPath]) {
    if (folder.size() >= kMaxPath) {
        return false;
    }
    std::memcpy(path, folder.c_str(), folder.size() + 1);
    return true;
}

}  // namespace

bool MemoryShell::OpenLibrary(const std::string& name, ModuleHandle* out) {
    if (faults.Check("Shell.OpenLibrary", name) != winerr::kSuccess || libraryMissing ||
        name != "Shell32.dll") {
        return false;
    }
    ++librariesOpen;
    out->value = kModule;
    return true;
}

void MemoryShell::CloseLibrary(ModuleHandle module) {
    if (module.value == kModule) {
        --librariesOpen;
    }
}

bool MemoryShell::HasExport(ModuleHandle module, const char* name) {
    return module.value == kModule && librariesOpen > 0 && missingExports.count(name) == 0 &&
           faults.Check("Shell.Export", name) == winerr::kSuccess;
}

bool MemoryShell::CallSpecialFolderPath(ModuleHandle module, HWnd, char (&path)[kMaxPath],
                                        CsidlFolder csidl, bool /*create*/, bool* answer) {
    if (!HasExport(module, kSpecialFolderPathExport)) {
        return false;
    }
    auto folder = specialFolders.find(csidl);
    *answer = faults.Check("Shell.SpecialFolderPath", std::to_string(csidl)) == winerr::kSuccess &&
              folder != specialFolders.end() && CopyPath(folder->second, path);
    return true;
}

bool MemoryShell::CallQueryRecycleBin(ModuleHandle module, const char*, RecycleBinInfo* info,
                                      HResult* answer) {
    if (!HasExport(module, kQueryRecycleBinExport)) {
        return false;
    }
    if (WinError fault = faults.Check("Shell.QueryRecycleBin", "")) {
        *answer = static_cast<HResult>(fault);
    } else if (info->size != sizeof(std::uint32_t) + 2 * sizeof(std::int64_t)) {
        *answer = kInvalidArgument;
    } else {
        info->totalSize = std::accumulate(recycleBin.begin(), recycleBin.end(), std::int64_t{0});
        info->itemCount = static_cast<std::int64_t>(recycleBin.size());
        *answer = hresult::kOk;
    }
    return true;
}

bool MemoryShell::CallEmptyRecycleBin(ModuleHandle module, HWnd, const char*, std::uint32_t flags,
                                      HResult* answer) {
    if (!HasExport(module, kEmptyRecycleBinExport)) {
        return false;
    }
    ++emptyCalls;
    lastEmptyFlags = flags;
    if (WinError fault = faults.Check("Shell.EmptyRecycleBin", "")) {
        *answer = static_cast<HResult>(fault);
    } else {
        recycleBin.clear();
        *answer = hresult::kOk;
    }
    return true;
}

bool MemoryShell::FolderPathFromLocation(HWnd, CsidlFolder csidl, char (&path)[kMaxPath]) {
    auto folder = specialFolders.find(csidl);
    return faults.Check("Shell.FolderLocation", std::to_string(csidl)) == winerr::kSuccess &&
           folder != specialFolders.end() && CopyPath(folder->second, path);
}
