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

class EraserDlg;

// Save state. Each Save* that returns a Boolean tells whether it listed something.
bool SaveHistory(EraserDlg& dlg, StreamWriter& stream);
void SaveTypedUrls(EraserDlg& dlg, StreamWriter& stream);
bool SaveTemporaryInternetFiles(EraserDlg& dlg, StreamWriter& stream);
bool SaveCookies(EraserDlg& dlg, StreamWriter& stream);
void SaveRecentDocuments(EraserDlg& dlg, StreamWriter& stream);

// Restore.
bool RestoreHistory(EraserDlg& dlg, StorageStream& stream);
bool RestoreTemporaryInternetFiles(EraserDlg& dlg, StorageStream& stream, FileTime saveTime);
// Whether the typed URLs read from the stream are back in the registry.
enum class UrlsRestored { kNone, kAll, kSome };
UrlsRestored RestoreTypedUrls(EraserDlg& dlg, StorageStream& stream);
bool RestoreCookies(EraserDlg& dlg, StorageStream& stream);
bool RestoreRecentDocuments(EraserDlg& dlg, StorageStream& stream);
bool ApplyStartPage(EraserDlg& dlg, const std::string& text);
