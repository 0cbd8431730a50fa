#include "platform/win32/win32_shell.h"

#include <windows.h>
// windows.h first: the shell headers build on it.
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

static_assert(sizeof(SHQUERYRBINFO) == 20);
static_assert(recyclebin::kQuietFlags ==
              (SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND));

namespace {

using SpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
using QueryRecycleBinFn = HRESULT(WINAPI*)(LPCSTR, LPSHQUERYRBINFO);
using EmptyRecycleBinFn = HRESULT(WINAPI*)(HWND, LPCSTR, DWORD);

// The export `name` of module as a function of type Fn; null when it is missing.
template <typename Fn>
Fn Export(ModuleHandle module, const char* name) {
    FARPROC address = GetProcAddress(reinterpret_cast<HMODULE>(module.value), name);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
}

HWND ToWindow(HWnd owner) {
    return reinterpret_cast<HWND>(owner.value);
}

// The display name in a STRRET, converted to the ANSI code page; false for an offset
// into the item-id list (not used for file-system paths) or a name that does not fit.
bool TakeName(STRRET& name, char (&path)[kMaxPath]) {
    switch (name.uType) {
        case STRRET_WSTR: {
            int size =
                WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, path, kMaxPath, nullptr, nullptr);
            CoTaskMemFree(name.pOleStr);
            return size > 0;
        }
        case STRRET_CSTR: {
            size_t length = strnlen(name.cStr, sizeof name.cStr);
            if (length >= kMaxPath) {
                return false;
            }
            std::memcpy(path, name.cStr, length + 1);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

bool Win32Shell::OpenLibrary(const std::string& name, ModuleHandle* out) {
    HMODULE module = LoadLibraryA(name.c_str());
    if (module == nullptr) {
        return false;
    }
    out->value = reinterpret_cast<std::uintptr_t>(module);
    return true;
}

void Win32Shell::CloseLibrary(ModuleHandle module) {
    FreeLibrary(reinterpret_cast<HMODULE>(module.value));
}

bool Win32Shell::CallSpecialFolderPath(ModuleHandle module, HWnd owner, char (&path)[kMaxPath],
                                       CsidlFolder csidl, bool create, bool* answer) {
    auto call = Export<SpecialFolderPathFn>(module, "SHGetSpecialFolderPathA");
    if (call == nullptr) {
        return false;
    }
    *answer = call(ToWindow(owner), path, csidl, create ? TRUE : FALSE) != FALSE;
    return true;
}

bool Win32Shell::CallQueryRecycleBin(ModuleHandle module, const char* rootPath,
                                     RecycleBinInfo* info, HResult* answer) {
    auto call = Export<QueryRecycleBinFn>(module, "SHQueryRecycleBinA");
    if (call == nullptr) {
        return false;
    }
    SHQUERYRBINFO record = {};
    record.cbSize = info->size;
    record.i64Size = info->totalSize;
    record.i64NumItems = info->itemCount;
    *answer = call(rootPath, &record);
    info->totalSize = record.i64Size;
    info->itemCount = record.i64NumItems;
    return true;
}

bool Win32Shell::CallEmptyRecycleBin(ModuleHandle module, HWnd owner, const char* rootPath,
                                     std::uint32_t flags, HResult* answer) {
    auto call = Export<EmptyRecycleBinFn>(module, "SHEmptyRecycleBinA");
    if (call == nullptr) {
        return false;
    }
    *answer = call(ToWindow(owner), rootPath, flags);
    return true;
}

bool Win32Shell::FolderPathFromLocation(HWnd owner, CsidlFolder csidl, char (&path)[kMaxPath]) {
    LPITEMIDLIST item = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(ToWindow(owner), csidl, &item)) || item == nullptr) {
        return false;
    }
    IShellFolder* desktop = nullptr;
    bool found = false;
    if (SUCCEEDED(SHGetDesktopFolder(&desktop)) && desktop != nullptr) {
        STRRET name = {};
        name.uType = STRRET_CSTR;
        HRESULT named = desktop->GetDisplayNameOf(item, SHGDN_FORPARSING, &name);
        desktop->Release();
        char buffer[kMaxPath];
        found = SUCCEEDED(named) && TakeName(name, buffer);
        if (found) {
            std::memcpy(path, buffer, sizeof buffer);
        }
    }
    CoTaskMemFree(item);
    return found;
}
