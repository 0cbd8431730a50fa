// Folder work shared by the erasers: paths that fit the kMaxPath buffers of the ANSI
// calls, the flat wipe of a folder's files and the removal of a whole folder tree.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "platform/files.h"
#include "state/run_report.h"

class ActivityLog;
class EraserDlg;

// folder + "\" + name, without a second separator when folder already ends in one.
std::string JoinPath(const std::string& folder, const std::string& name);

// Whether path fits a kMaxPath buffer with its terminator. A path that does not is
// skipped, never cut: cut, it would name something else.
bool FitsMaxPath(const std::string& path);

// Whether a listing of path finds it (a file or a folder); what the listing tells of it
// goes to *entry when given.
bool FindEntry(Files& files, const std::string& path, FindData* entry = nullptr);

// Deletes (doDelete) or probes the plain files directly in folder, never entering a
// subfolder and passing over ".", "..", "index.dat", "desktop.ini" and "3? Floppy (A).lnk"
// in any case. A probe opens each file for writing, sharing only deletion, and closes it
// at once: a file that another program holds open, or a read-only one, fails it, as it
// would fail the deletion. With a log, each file deleted (or that could be) gets a line,
// and a folder that cannot be listed the line "找不到文件。". The files named in spared
// (lower-cased names) stay too. Counts each file deleted (or that could be) with its
// listed size; a deletion that fails is reported as failed, except for a read-only file,
// which stays by design as the probe passes it over.
CategoryResult WipeFolderFiles(EraserDlg& dlg, const std::string& folder, bool doDelete,
                               ActivityLog* log, const std::set<std::string>* spared = nullptr);

// On the NT family removes folder with everything below it, read-only files included;
// a junction inside goes alone, without what it leads to. Elsewhere deletes only the
// files directly in folder, silently. A drive root is never removed. Goes on past what
// cannot be removed and reports nothing.
void RemoveFolderTree(EraserDlg& dlg, const std::string& folder);

// Writes all size bytes at file's pointer; false when the write stops short.
bool WriteWhole(Files& files, FileHandle file, const char* data, std::uint32_t size);

// A file that takes the place of another only once it is complete: the names a file
// beside target may take for a while are target's own with "~", then a few of our own.
// `take` tries one and gives its error; a name some file has already is passed over, any
// other error ends the tries. The name taken, or empty.
std::string TakeNameBeside(const std::string& target,
                           const std::function<WinError(const std::string& path)>& take);
// Creates a new file beside target under a name no file has yet, open for reading and
// writing; its path, or empty.
std::string CreateBeside(const std::string& target, FileScope* file);

enum class SwapResult {
    kSwapped,     // staged now bears target's name; the old target is gone
    kTargetHeld,  // target could not step aside (held open): both are as they were
    kFailed,      // both are as they were
};
// Puts the complete file staged in target's place: target steps aside under a free name,
// staged takes its name and the old one is removed; when staged cannot take the name, the
// old one comes back. What the listing told of target before goes to *current.
SwapResult SwapInStaged(Files& files, const std::string& staged, const std::string& target,
                        FindData* current);
