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

// The file of the first profile with its size, deleted when remove is set; a file that
// stays locked is left in place and reported as failed. Another profile is never tried.
CategoryResult EraseProfileFile(EraserDlg& dlg, const char* name, bool remove) {
    CategoryResult result = CategoryResult::Sized();
    std::string folder;
    FindData entry;
    if (!FindMozillaProfileFolder(dlg, &folder)) {
        return result;
    }
    std::string file = JoinPath(folder, name);
    if (!FindEntry(dlg.platform.files, file, &entry)) {
        return result;
    }
    WinError error =
        remove ? RemoveFileWithRetries(dlg, file, kDeleteAttempts, kDeletePause) : winerr::kSuccess;
    if (error == winerr::kSuccess) {
        result.Count(entry.size);
    } else {
        result.Fail(file, error);
    }
    return result;
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

CategoryResult EraseMozillaHistory(EraserDlg& dlg) {
    return EraseProfileFile(dlg, kHistoryFile, /*remove=*/true);
}

CategoryResult EraseMozillaCookies(EraserDlg& dlg) {
    return EraseProfileFile(dlg, kCookiesFile, /*remove=*/true);
}

// Test's look at what Clear's Mozilla erasers would take, in their order: the cookie file
// with the cookies category, the history file and the URL-bar history with the history.
CategoryResult MozillaTracesFound(EraserDlg& dlg, bool cookies, bool history) {
    CategoryResult result = CategoryResult::Sized();
    if (cookies) {
        result += EraseProfileFile(dlg, kCookiesFile, /*remove=*/false);
    }
    if (history) {
        result += EraseProfileFile(dlg, kHistoryFile, /*remove=*/false);
        result += UrlBarHistoryFound(dlg);
    }
    return result;
}
