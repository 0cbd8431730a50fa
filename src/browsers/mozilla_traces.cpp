// A Mozilla profile's history and cookies: the files are deleted, waiting a moment and
// trying again while the browser, just asked to close, may still hold them. Only the
// first profile folder is treated.

#include "browsers/browser_traces.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kProfilesRoot[] = "Mozilla\\Profiles\\default\\";
constexpr char kHistoryFile[] = "history.dat";
constexpr char kCookiesFile[] = "cookies.txt";

// Up to 11 tries over 5 seconds.
constexpr int kDeleteAttempts = 11;
constexpr std::uint32_t kDeletePause = 500;

bool IsDots(const std::string& name) {
    return name == "." || name == "..";
}

// True when the profile holds the file, whether or not it could finally be deleted; a
// file that stays locked is left in place. Another profile is never tried.
bool EraseProfileFile(EraserDlg& dlg, const char* name) {
    std::string folder;
    if (!FindMozillaProfileFolder(dlg, &folder)) {
        return false;
    }
    std::string file = JoinPath(folder, name);
    if (!FindEntry(dlg.platform.files, file)) {
        return false;
    }
    RemoveFileWithRetries(dlg, file, kDeleteAttempts, kDeletePause);
    return true;
}

}  // namespace

bool FindMozillaProfileFolder(EraserDlg& dlg, std::string* folder) {
    std::string appData;
    if (!LookUpAppData(dlg, &appData)) {
        return false;
    }
    std::string root = JoinPath(appData, kProfilesRoot);
    FindScope listing(dlg.platform.files);
    FindData entry;
    if (!FitsMaxPath(root + "*.*") || !listing.First(root + "*.*", &entry)) {
        return false;
    }
    do {
        if ((entry.attributes & fileattr::kDirectory) != 0 && !IsDots(entry.name)) {
            std::string path = root + entry.name;
            if (!FitsMaxPath(path)) {
                return false;  // the first profile decides, even one out of reach
            }
            *folder = path;
            return true;
        }
    } while (listing.Next(&entry));
    return false;
}

bool EraseMozillaHistory(EraserDlg& dlg) {
    return EraseProfileFile(dlg, kHistoryFile);
}

bool EraseMozillaCookies(EraserDlg& dlg) {
    return EraseProfileFile(dlg, kCookiesFile);
}
