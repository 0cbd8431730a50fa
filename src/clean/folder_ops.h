// Folder work shared by the erasers: paths that fit the kMaxPath buffers of the ANSI
// calls, the flat wipe of a folder's files and the removal of a whole folder tree.
#pragma once

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
// and a folder that cannot be listed the line "找不到文件。". Counts each file deleted
// (or that could be) with its listed size; a deletion that fails is reported as failed,
// except for a read-only file, which stays by design as the probe passes it over.
CategoryResult WipeFolderFiles(EraserDlg& dlg, const std::string& folder, bool doDelete,
                               ActivityLog* log);

// On the NT family removes folder with everything below it, read-only files included;
// a junction inside goes alone, without what it leads to. Elsewhere deletes only the
// files directly in folder, silently. A drive root is never removed. Goes on past what
// cannot be removed and reports nothing.
void RemoveFolderTree(EraserDlg& dlg, const std::string& folder);
