// AOL's organize files (*.arl, *.aut): deleted from the organize folder below the
// Application Data folder shared by all users, and from the one beside the installed
// program, which the "open" command of aol.exe under HKEY_CLASSES_ROOT names. Only Clear
// deletes them; Test leaves them without a word and only counts them.

#include "browsers/browser_traces.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "clean/registry_text.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kApplicationData[] = "\\Application Data";
constexpr char kAllUsers[] = "\\All Users";
constexpr char kCommonOrganize[] = "\\AOL\\C_America Online 9.0\\organize\\";

constexpr char kCommandKey[] = "Applications\\aol.exe\\shell\\open\\command";
constexpr std::uint32_t kCommandSize = 260;
constexpr char kProgram[] = "aol.exe";
constexpr char kInstallOrganize[] = "organize\\";

// Endings of the trace files, matched byte for byte: ".Arl" is not one.
const char* const kTraceEndings[] = {".arl", ".ARL", ".aut", ".AUT"};
constexpr size_t kEndingLength = 4;

// Up to 7 tries over 2.4 seconds.
constexpr int kDeleteAttempts = 7;
constexpr std::uint32_t kDeletePause = 400;

// A name longer than its ending; "." and ".." never are.
bool IsAolTrace(const std::string& name) {
    if (name.size() <= kEndingLength) {
        return false;
    }
    for (const char* ending : kTraceEndings) {
        if (name.compare(name.size() - kEndingLength, kEndingLength, ending) == 0) {
            return true;
        }
    }
    return false;
}

size_t CharWidth(const std::string& text, size_t i) {
    return IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// The last backslash character in path after its first byte and before end; npos when
// there is none. A GBK trail byte that happens to be 0x5C is no backslash.
size_t LastBackslashBefore(const std::string& path, size_t end) {
    size_t found = std::string::npos;
    for (size_t i = 0; i < end; i += CharWidth(path, i)) {
        if (i > 0 && path[i] == '\\') {
            found = i;
        }
    }
    return found;
}

// Deletes (or in Test counts) the trace files listed in folder (which ends in a
// backslash), with their listed sizes. Entries are not tested for being folders: a
// folder's deletion fails through its tries.
void EraseOrganizeFiles(EraserDlg& dlg, const std::string& folder, bool testMode,
                        CategoryResult* result) {
    FindScope listing(dlg.platform.files);
    FindData entry;
    std::string pattern = folder + "*.*";
    if (!FitsMaxPath(pattern) || !listing.First(pattern, &entry)) {
        return;
    }
    do {
        std::string path = folder + entry.name;
        if (IsAolTrace(entry.name) && FitsMaxPath(path)) {
            WinError error = testMode
                                 ? winerr::kSuccess
                                 : RemoveFileWithRetries(dlg, path, kDeleteAttempts, kDeletePause);
            if (error == winerr::kSuccess) {
                result->Count(entry.size);
            } else {
                result->Fail(path, error);
            }
        }
    } while (listing.Next(&entry));
}

// The organize folder beside the installed program: the command's text up to "aol.exe",
// then "organize\", without its first character (the quotation mark that opens the
// program's path). A command longer than its buffer is never cut: it is ignored.
bool FindInstallOrganizeFolder(EraserDlg& dlg, std::string* folder) {
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    if (key.Open(regroot::kClassesRoot, kCommandKey, regaccess::kAllAccess) != winerr::kSuccess) {
        return false;
    }
    char data[kCommandSize];
    std::uint32_t size = sizeof data;
    if (registry.QueryValue(key.Get(), "", nullptr, data, &size) != winerr::kSuccess) {
        return false;
    }
    std::string command = RegistryText(data, size);
    size_t program = GbkFind(command, kProgram);
    if (program == std::string::npos) {
        return false;
    }
    std::string text = command.substr(0, program) + kInstallOrganize;
    *folder = text.substr(CharWidth(text, 0));
    return true;
}

}  // namespace

std::string MakeCommonAppData(const std::string& path, int osVersion) {
    size_t at = GbkFind(path, kApplicationData);
    if (at == std::string::npos) {
        return path;
    }
    size_t cut = LastBackslashBefore(path, at);
    if (cut == std::string::npos) {
        return path;
    }
    if (osVersion == osver::kWin98) {
        cut = at;
    }
    return path.substr(0, cut) + kAllUsers + path.substr(at);
}

CategoryResult EraseAolTraces(EraserDlg& dlg, bool testMode) {
    CategoryResult result = CategoryResult::Sized();
    std::string appData;
    if (LookUpAppData(dlg, &appData)) {
        EraseOrganizeFiles(dlg, MakeCommonAppData(appData, dlg.osVersion) + kCommonOrganize,
                           testMode, &result);
    }
    std::string installFolder;
    if (FindInstallOrganizeFolder(dlg, &installFolder)) {
        EraseOrganizeFiles(dlg, installFolder, testMode, &result);
    }
    return result;
}
