// What the other browsers leave on disk: a Mozilla profile's history, cookies and URL-bar
// history, and AOL's organize files. The run's entry points are in clean/erasers.h; these
// are the steps they share. None of them writes to the activity log.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_error.h"
#include "state/run_report.h"

class EraserDlg;

// The current user's Application Data folder, asked of the shell without an owner window
// and without creating it. False when the shell lacks the export, answers FALSE or names
// no folder.
bool LookUpAppData(EraserDlg& dlg, std::string* path);

// Deletes path; while that fails, pauses and tries again, `attempts` tries in all. No
// messages are pumped meanwhile. kSuccess when the file went, else the last try's error.
WinError RemoveFileWithRetries(EraserDlg& dlg, const std::string& path, int attempts,
                               std::uint32_t pauseMilliseconds);

// The Mozilla profile folder: the first directory other than "." and ".." that the
// listing of <Application Data>\Mozilla\Profiles\default\ returns. Later directories are
// never looked at. False when there is none, or when its path does not fit kMaxPath.
bool FindMozillaProfileFolder(EraserDlg& dlg, std::string* folder);

// The URL-bar history of the profile's localstore.rdf as Clear would cut it out, without
// touching the file: one item of the bytes between the sequence's markers, or nothing.
CategoryResult UrlBarHistoryFound(EraserDlg& dlg);

// The Application Data folder shared by all users, made from the current user's: the
// path component before "\Application Data" becomes "\All Users"; on Windows 98
// (osVersion 3) "\All Users" is put in front of "\Application Data" instead. A path
// without "\Application Data", or without a backslash before it after its first byte,
// comes back as it is.
std::string MakeCommonAppData(const std::string& path, int osVersion);
