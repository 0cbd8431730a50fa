// The shell as the erasers reach it: three exports of "Shell32.dll" looked up at run time
// in the main window's shell library (an old shell lacks some), and the path of a
// special folder with the item-id road as fallback.
#pragma once

#include <string>

#include "platform/shell.h"

class EraserDlg;

// SHGetSpecialFolderPathA, never asked to create the folder: its own answer (1 TRUE,
// 0 FALSE), or hresult::kFail when the library or the export is missing.
HResult CallSHGetSpecialFolderPath(EraserDlg& dlg, HWnd owner, char (&path)[kMaxPath],
                                   CsidlFolder csidl);

// SHQueryRecycleBinA: hresult::kOk whenever the export exists (the record holds what
// the shell put there; its own answer is not passed on), hresult::kFail when missing.
HResult CallSHQueryRecycleBin(EraserDlg& dlg, const char* rootPath, RecycleBinInfo* info);

// SHEmptyRecycleBinA: hresult::kOk whenever the export exists, hresult::kFail when
// missing. The shell's own answer goes to *shellAnswer when it is given, for a caller
// that knows the bin held something and so can tell a real failure from an old shell's
// complaint about an empty bin.
HResult CallSHEmptyRecycleBin(EraserDlg& dlg, HWnd owner, const char* rootPath, std::uint32_t flags,
                              HResult* shellAnswer = nullptr);

// The path of a special folder (at most kMaxPath - 1 bytes). Takes the item-id road only
// when the shell lacks the path export. A FALSE answer of the export fails the look-up:
// the shell has no such folder, and the buffer holds nothing to trust. On failure *path
// is untouched.
bool LookUpSpecialFolder(EraserDlg& dlg, CsidlFolder csidl, std::string* path);
