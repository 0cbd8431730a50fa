// The items of Save state and Restore, each moving one kind of trace into or out of its
// stream of state.spp and reporting in the activity log. EraserDlg::SaveState and
// EraserDlg::RestoreState call them in a fixed order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_time.h"
#include "platform/registry.h"
#include "platform/storage.h"
#include "snapshot/snapshot_file.h"
#include "snapshot/snapshot_sources.h"
#include "state/run_report.h"

class EraserDlg;

// Save state. Each Save* counts what it lists (history URLs, typed URLs, cache entries,
// cookie entries, Recent files) as its items; a stream cut short is the caller's to report.
CategoryResult SaveHistory(EraserDlg& dlg, StreamWriter& stream);
CategoryResult SaveTypedUrls(EraserDlg& dlg, StreamWriter& stream);
CategoryResult SaveTemporaryInternetFiles(EraserDlg& dlg, StreamWriter& stream);
CategoryResult SaveCookies(EraserDlg& dlg, StreamWriter& stream);
CategoryResult SaveRecentDocuments(EraserDlg& dlg, StreamWriter& stream);

// Restore. Each counts what it lists once it is back: history URLs, cache entries, typed
// URLs written (those the registry refused are failed in *result), cookie entries, Recent
// files put back.
int RestoreHistory(EraserDlg& dlg, StorageStream& stream);
int RestoreTemporaryInternetFiles(EraserDlg& dlg, StorageStream& stream, FileTime saveTime);
// Whether the typed URLs read from the stream are back in the registry.
enum class UrlsRestored { kNone, kAll, kSome };
UrlsRestored RestoreTypedUrls(EraserDlg& dlg, StorageStream& stream, CategoryResult* result);
int RestoreCookies(EraserDlg& dlg, StorageStream& stream);
CategoryResult RestoreRecentDocuments(EraserDlg& dlg, StorageStream& stream);
// kSuccess when the registry holds text as the start page, else the registry's answer.
WinError ApplyStartPage(EraserDlg& dlg, const std::string& text);
