// What Save state and Restore share beside their items: the names of what the snapshot
// holds, the start of a command, and what both read of the machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clean/ie_names.h"
#include "platform/registry.h"
#include "snapshot/snapshot_file.h"

class EraserDlg;
struct RegistryValue;

// What both commands name beside Internet Explorer's settings: the separator line and the
// key of the Documents list.
namespace snapshot {
constexpr char kSeparator[] = "................................";
constexpr char kRecentDocsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
}  // namespace snapshot

// Starts Save state or Restore unless another command runs: busy, the bar at its start,
// the log emptied, open Internet Explorer windows dealt with, then the heading.
bool StartCommand(EraserDlg& dlg, const char* heading);

// The start page read into at most 1000 bytes; false when it cannot be read, with
// *tooLong set when it is there but does not fit.
bool ReadStartPage(EraserDlg& dlg, std::string* page, bool* tooLong);
// The start page of the open Main key, read into kUrlBytes; the registry's error.
WinError QueryStartPage(Registry& registry, HKey mainKey, std::string* page);
// Whether a registry value's name begins with "URL" in any case.
bool IsUrlName(const std::string& name);
// Whether Save stores a typed URL: named so, with a text, and short enough for the
// snapshot's 1000-byte buffers.
bool IsSavedTypedUrl(const RegistryValue& value);
// Lists the cookie entries of the URL cache; how many were listed.
int ListCookieEntries(EraserDlg& dlg);

// The history's index file (in History.IE5 when that folder exists) and its second
// copy, empty when there is none. The first is empty when the shell knows no history.
void HistoryIndexFiles(EraserDlg& dlg, std::string* first, std::string* second);

// The folders whose files a stream's file records may name, as the shell and the
// registry have them now; a record naming anything else is passed over.
std::vector<std::string> CookieFolders(EraserDlg& dlg);
std::vector<std::string> CacheIndexFolders(EraserDlg& dlg);
// Whether path names a file directly inside one of folders: compared without regard
// to case, GBK-aware, and only a plain name after the folder (no "." or "..", no
// further separator, no stream suffix).
bool IsFileInFolders(const std::string& path, const std::vector<std::string>& folders);
