// A Mozilla profile's history and cookies: the files are deleted, waiting a moment and
// trying again while the browser, just asked to close, may still hold them. Only the
// first profile folder is treated. With a keep list, cookies.txt is rewritten instead:
// a new file beside it gets the lines to keep and takes its place once it is complete.

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

// cookies.txt is read in pieces of this size.
constexpr std::uint32_t kChunk = 10000;
// A cookie line that Mozilla marks as hidden from scripts; the domain follows.
constexpr char kHttpOnly[] = "#HttpOnly_";

bool IsDots(const std::string& name) {
    return name == "." || name == "..";
}

// The profile's file of that name, when the first profile holds it.
bool FindProfileFile(EraserDlg& dlg, const char* name, std::string* file) {
    std::string folder;
    if (!FindMozillaProfileFolder(dlg, &folder)) {
        return false;
    }
    *file = JoinPath(folder, name);
    return FindEntry(dlg.platform.files, *file);
}

// The domain of a line of cookies.txt (the first of its tab-separated fields); empty for
// the header's comments and blank lines, which belong to no host.
std::string CookieLineHost(const std::string& line) {
    size_t start = line.rfind(kHttpOnly, 0) == 0 ? sizeof kHttpOnly - 1 : 0;
    size_t tab = line.find('\t', start);
    if ((start == 0 && !line.empty() && line[0] == '#') || tab == std::string::npos) {
        return {};
    }
    return line.substr(start, tab - start);
}

bool OpenToRead(FileScope* file, const std::string& path) {
    return file->Open(path, fileaccess::kRead, fileshare::kRead | fileshare::kWrite,
                      filecreate::kOpenExisting) == winerr::kSuccess;
}

// Calls take(line) for each line of the open file, its line end included, while take says
// yes. True when the whole file was read and every line taken.
template <typename Take>
bool ForEachLine(Files& files, FileHandle file, Take take) {
    std::string pending;
    char chunk[kChunk];
    for (std::uint32_t got = kChunk; got > 0;) {
        if (files.Read(file, chunk, kChunk, &got) != winerr::kSuccess) {
            return false;
        }
        pending.append(chunk, got);
        size_t at = 0;
        for (size_t end = 0; (end = pending.find('\n', at)) != std::string::npos; at = end + 1) {
            if (!take(pending.substr(at, end + 1 - at))) {
                return false;
            }
        }
        pending.erase(0, at);
    }
    return pending.empty() || take(pending);
}

// One try at putting cookies.txt without the lines of hosts not kept, byte for byte
// otherwise, in place of the file. The new file is written beside it first and swapped in
// only when it is complete; whatever fails, path stays as it was. kTargetHeld when the
// file could not be read or stepped aside: the closing browser may still hold it.
SwapResult RewriteOnce(EraserDlg& dlg, const std::string& path) {
    Files& files = dlg.platform.files;
    FileScope staged(files);
    const std::string stagedPath = CreateBeside(path, &staged);
    if (stagedPath.empty()) {
        return SwapResult::kFailed;
    }
    SwapResult result = SwapResult::kTargetHeld;
    FileScope source(files);
    if (OpenToRead(&source, path)) {
        const bool written = ForEachLine(files, source.Get(), [&](const std::string& line) {
            std::string host = CookieLineHost(line);
            return (!host.empty() && !IsKeptHost(dlg.settings.keepCookies, host)) ||
                   WriteWhole(files, staged.Get(), line.data(),
                              static_cast<std::uint32_t>(line.size()));
        });
        staged.Close();
        source.Close();
        FindData current;
        result = written ? SwapInStaged(files, stagedPath, path, &current) : SwapResult::kFailed;
    }
    staged.Close();
    if (result != SwapResult::kSwapped) {
        (void)files.RemoveFile(stagedPath);
    }
    return result;
}

// Tries as often, and pauses as long, as a deletion of the file would; whether the
// rewritten file took the old one's place.
bool RewriteCookies(EraserDlg& dlg, const std::string& path) {
    for (int attempt = 1;; ++attempt) {
        SwapResult result = RewriteOnce(dlg, path);
        if (result != SwapResult::kTargetHeld || attempt >= kDeleteAttempts) {
            return result == SwapResult::kSwapped;
        }
        dlg.platform.system.Pause(kDeletePause);
    }
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

// With a keep list, cookies.txt stays, rewritten without the lines of other hosts: it
// counts as kept, in Test as in Clear. A rewrite that could not be swapped in left the
// other hosts' cookies, and is reported as failed.
CategoryResult EraseMozillaCookies(EraserDlg& dlg) {
    if (dlg.settings.keepCookies.empty()) {
        return EraseProfileFile(dlg, kCookiesFile, /*remove=*/true);
    }
    CategoryResult result = CategoryResult::Sized();
    std::string file;
    if (FindProfileFile(dlg, kCookiesFile, &file)) {
        result.kept = 1;
        if (!RewriteCookies(dlg, file)) {
            result.Fail(file, winerr::kWriteFault);
        }
    }
    return result;
}

// Test's look at what Clear's Mozilla erasers would take, in their order: the cookie file
// with the cookies category, the history file and the URL-bar history with the history.
CategoryResult MozillaTracesFound(EraserDlg& dlg, bool cookies, bool history) {
    CategoryResult result = CategoryResult::Sized();
    std::string file;
    if (cookies && !dlg.settings.keepCookies.empty()) {
        result.kept = FindProfileFile(dlg, kCookiesFile, &file) ? 1 : 0;
    } else if (cookies) {
        result += EraseProfileFile(dlg, kCookiesFile, /*remove=*/false);
    }
    if (history) {
        result += EraseProfileFile(dlg, kHistoryFile, /*remove=*/false);
        result += UrlBarHistoryFound(dlg);
    }
    return result;
}

std::vector<std::string> MozillaCookieHosts(EraserDlg& dlg) {
    std::vector<std::string> hosts;
    std::string file;
    FileScope source(dlg.platform.files);
    if (FindProfileFile(dlg, kCookiesFile, &file) && OpenToRead(&source, file)) {
        (void)ForEachLine(dlg.platform.files, source.Get(), [&](const std::string& line) {
            std::string host = CookieLineHost(line);
            hosts.insert(hosts.end(), !host.empty(), host);
            return true;
        });
    }
    return hosts;
}
