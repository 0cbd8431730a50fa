// Where Internet Explorer keeps its caches besides the shell's special folders: the
// cache containers recorded in the registry, and second copies of a cache folder.
#pragma once

#include <string>
#include <vector>

#include "platform/csidl.h"
#include "platform/environment.h"
#include "platform/registry.h"

class EraserDlg;

// The folder words that name the cache folders in the localised paths.
constexpr char kHistoryWord[] = "历史";
constexpr char kTempInternetFilesWord[] = "Internet 临时文件夹";
constexpr char kCookiesWord[] = "Cookies";

// The first Extensible Cache key that opens with all access, tried in this order: HKCU
// then HKLM with the "5.0" path, then both with the older path. Its root and path go to
// *root and *path. False when none opens.
bool OpenExtensibleCache(RegKey* key, HKey* root, std::string* path);

// Replaces the first %NAME% pair of a cache path, and only that, with the variable's
// value. False when the variable is not set or empty, or its value does not fit its
// 100-byte buffer: the path then names no folder to touch.
bool ExpandPathVariable(Environment& environment, std::string* path);

// Fills dlg.indexDatPaths afresh with the folders that hold cache containers: the parent
// of every container folder named by a "CachePath" under the first Extensible Cache key
// that opens, then the history folder (or its History.IE5) and that folder's second copy.
// Without an Extensible Cache key nothing is gathered.
void GatherCacheFolders(EraserDlg& dlg);

// A second copy of the cache folder path, which word (a folder word above) names: on
// Windows 98 and ME beside the temporary Internet files under "Local Settings", elsewhere
// in the temporary folder. True, with *out set, when that folder exists and is not path
// itself; *out is untouched otherwise.
bool FindAlternateCacheFolder(EraserDlg& dlg, const std::string& path, const std::string& word,
                              std::string* out);

// The shell's folder csidl, when its path holds word (case as written), then its second
// copy when there is one: the folders whose files a Clear of that cache removes. Empty
// when the shell knows no such folder or its path does not hold word: then nothing of
// it may be touched.
std::vector<std::string> CacheFolderAndCopy(EraserDlg& dlg, CsidlFolder csidl,
                                            const std::string& word);
