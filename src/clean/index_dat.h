// The index.dat files of Internet Explorer's caches: system files that cannot be deleted
// while in use, so their content is overwritten with zeros in place, keeping their
// length. FillIndexDat and FillListedIndexDat (clean/erasers.h) are the run's steps.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "state/run_report.h"

class ActivityLog;
class EraserDlg;

// The first bytes of a URL-cache index written by Windows.
constexpr char kUrlCacheSignature[] = "Client UrlCache MMF Ver";

// Whether the file can be opened for reading and writing (without creating it, sharing
// reading and writing) and begins with a byte other than zero. A filled file begins with
// zero, so a second run passes it over.
bool IndexDatNeedsFill(Files& files, const std::string& path);

// Whether the file, opened in the same way, begins with kUrlCacheSignature.
bool IsUrlCacheIndex(Files& files, const std::string& path);

// Overwrites the whole file, as long as its listing says it is, with zeros, 20000 bytes
// at a time, from its start, until done or a write fails. The number of bytes written;
// -1 when the file is absent or cannot be opened. *listedLength, when given, receives the
// length the listing reported; *failure, when given, the error that stopped the fill.
std::int64_t ZeroFillFile(Files& files, const std::string& path,
                          std::uint64_t* listedLength = nullptr, WinError* failure = nullptr);

// For each subfolder of parent that is a cache container (its index.dat a URL-cache index
// that is not filled yet): logs it, and in Clear fills and deletes that index.dat and
// removes the container folder. log is null for silence. Counts each container's index.dat
// with its listed length.
CategoryResult FillSubfolderIndexDat(EraserDlg& dlg, const std::string& parent, bool testMode,
                                     ActivityLog* log);

// Clear's filling of the history's index.dat files without lines: the history folder's own
// (FillIndexDat) and those of the containers gathered (FillListedIndexDat). What the history
// eraser and Restore do when the run's index.dat step will not do it with its lines.
void FillHistoryIndexFilesSilently(EraserDlg& dlg);
