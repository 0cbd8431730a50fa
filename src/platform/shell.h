// The Windows shell as the core sees it: the library "Shell32.dll", loaded at run time,
// whose exports for special folders and the recycle bin are looked up by name on every
// call (an old shell lacks some of them), and the item-id road to a special folder that
// every shell has.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/csidl.h"
#include "platform/files.h"
#include "platform/hwnd.h"
#include "platform/win_error.h"

// A window handle; 0 for none.

// A loaded library; see ShellLibrary for ownership.
struct ModuleHandle {
    std::uintptr_t value = 0;
};

// SHQUERYRBINFO: a 32-bit size field (20), then the bin's total size in bytes and its
// number of items, byte-packed.
struct RecycleBinInfo {
    std::uint32_t size = 20;
    std::int64_t totalSize = 0;
    std::int64_t itemCount = 0;
};

namespace recyclebin {
// SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND.
constexpr std::uint32_t kQuietFlags = 7;
}  // namespace recyclebin

class Shell {
public:
    virtual ~Shell() = default;

    // LoadLibraryA and FreeLibrary.
    [[nodiscard]] virtual bool OpenLibrary(const std::string& name, ModuleHandle* out) = 0;
    virtual void CloseLibrary(ModuleHandle module) = 0;

    // Each of these looks the export up in module by name and, when it is there, calls
    // it and puts its own answer in *answer. False when the export is missing: nothing
    // was called and *answer is untouched.
    //
    // SHGetSpecialFolderPathA into a kMaxPath buffer.
    [[nodiscard]] virtual bool CallSpecialFolderPath(ModuleHandle module, HWnd owner,
                                                     char (&path)[kMaxPath], CsidlFolder csidl,
                                                     bool create, bool* answer) = 0;
    // SHQueryRecycleBinA; rootPath null for all drives.
    [[nodiscard]] virtual bool CallQueryRecycleBin(ModuleHandle module, const char* rootPath,
                                                   RecycleBinInfo* info, HResult* answer) = 0;
    // SHEmptyRecycleBinA; rootPath null for all drives.
    [[nodiscard]] virtual bool CallEmptyRecycleBin(ModuleHandle module, HWnd owner,
                                                   const char* rootPath, std::uint32_t flags,
                                                   HResult* answer) = 0;

    // The item-id road: SHGetSpecialFolderLocation, then the desktop folder's display
    // name of the item for parsing, converted to the ANSI code page. False when any step
    // fails or the name does not fit in kMaxPath bytes; path is untouched then.
    [[nodiscard]] virtual bool FolderPathFromLocation(HWnd owner, CsidlFolder csidl,
                                                      char (&path)[kMaxPath]) = 0;
};

// The shell library of a main window: loaded on first use, kept, and freed when the
// window goes.
class ShellLibrary {
public:
    static constexpr char kName[] = "Shell32.dll";

    explicit ShellLibrary(Shell& shell) : shell_(shell) {}
    ~ShellLibrary() { Free(); }
    ShellLibrary(const ShellLibrary&) = delete;
    ShellLibrary& operator=(const ShellLibrary&) = delete;

    // The module, loading it when it is not loaded yet; false when it cannot be loaded
    // (a later call tries again).
    bool Get(ModuleHandle* out) {
        if (!loaded_) {
            loaded_ = shell_.OpenLibrary(kName, &module_);
        }
        if (loaded_) {
            *out = module_;
        }
        return loaded_;
    }
    bool IsLoaded() const { return loaded_; }
    // Frees the module when it is loaded; a later Get loads it again.
    void Free() {
        if (loaded_) {
            shell_.CloseLibrary(module_);
            loaded_ = false;
        }
    }

private:
    Shell& shell_;
    ModuleHandle module_{};
    bool loaded_ = false;
};
