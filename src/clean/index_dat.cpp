#include "clean/index_dat.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "clean/log_text.h"
#include "clean/shell_calls.h"
#include "state/eraser_dlg.h"

// No read-me is written beside a filled index.dat. A file of ours in these folders
// would not stay ours: the cookie eraser deletes every file in the cookies folder, so
// each run would delete and write it again, and a saved state would take it for a
// cookie. Nothing is created, in a test or otherwise.

namespace {

constexpr std::uint32_t kFillChunk = 20000;

constexpr ModeText kLocation{"清空 Index.dat，位置 ", "测试: 清空 Index.dat，位置"};
constexpr ModeText kFilled{"Index.dat 已清空——共填充 %d 字节! <OK>",
                           "测试: Index.dat 已清空——共填充 %d 字节! <OK>"};
// The cookies' index lists the kept cookies too: zeroed, it would take them all.
constexpr ModeText kSpared{"未清空 Index.dat，位置 ", "测试: 未清空 Index.dat，位置 "};
constexpr char kSparedWhy[] = ": 其中有保留的 Cookie";

// A cache folder of the shell: its CSIDL number, the subfolder that holds its index.dat
// when the folder itself does not, and the word that finds its second copy.
struct CacheFolder {
    CsidlFolder csidl;
    const char* indexSubfolder;
    const char* word;
};

constexpr CacheFolder kCacheFolders[] = {
    {csidl::kCookies, nullptr, kCookiesWord},
    {csidl::kInternetCache, "Content.IE5", kTempInternetFilesWord},
    {csidl::kHistory, "History.IE5", kHistoryWord},
};

const CacheFolder* CacheFolderOf(CsidlFolder csidl) {
    for (const CacheFolder& folder : kCacheFolders) {
        if (folder.csidl == csidl) {
            return &folder;
        }
    }
    return nullptr;
}

// Reads up to size bytes from the start of path, opened as the fill opens it; the count
// read, 0 when the file cannot be opened or read.
std::uint32_t ReadHead(Files& files, const std::string& path, void* head, std::uint32_t size) {
    FileScope file(files);
    std::uint32_t done = 0;
    if (file.Open(path, fileaccess::kRead | fileaccess::kWrite,
                  fileshare::kRead | fileshare::kWrite,
                  filecreate::kOpenExisting) != winerr::kSuccess ||
        files.Read(file.Get(), head, size, &done) != winerr::kSuccess) {
        return 0;
    }
    return done;
}

void AddLine(ActivityLog* log, const std::string& text) {
    if (log != nullptr) {
        log->AddLogLine(text, emphasis::kPlain);
    }
}

// One location of a special folder's index.dat: found to need filling, logged, and in
// Clear filled, unless it is spared. Only a fill that covered the whole file is reported
// as done, and counted in *result with its length; one that did not is failed.
void FillLocation(EraserDlg& dlg, const std::string& location, const std::string& name,
                  bool testMode, bool spared, ActivityLog* log, CategoryResult* result) {
    Files& files = dlg.platform.files;
    std::string file = JoinPath(location, name);
    FindData listed;
    if (!FindEntry(files, file, &listed) || !IndexDatNeedsFill(files, file)) {
        return;
    }
    if (spared) {
        AddLine(log, kSpared.For(testMode) + location + kSparedWhy);
        return;
    }
    dlg.indexDatFound = true;
    AddLine(log, kLocation.For(testMode) + location + "...");
    if (testMode) {
        AddLine(log, FormatCount(kFilled.test, static_cast<std::int64_t>(listed.size)));
        result->Count(listed.size);
        return;
    }
    std::uint64_t length = 0;
    WinError failure = winerr::kSuccess;
    std::int64_t written = ZeroFillFile(files, file, &length, &failure);
    if (written > 0 && static_cast<std::uint64_t>(written) == length) {
        AddLine(log, FormatCount(kFilled.clear, written));
        result->Count(length);
    } else {
        result->Fail(file, failure);
    }
}

// One subfolder of a container parent, counted in *result with its listed length.
void FillContainer(EraserDlg& dlg, const std::string& folder, bool testMode, ActivityLog* log,
                   CategoryResult* result) {
    Files& files = dlg.platform.files;
    std::string file = JoinPath(folder, "index.dat");
    FindData listed;
    if (!FindEntry(files, file, &listed) || !IndexDatNeedsFill(files, file) ||
        !IsUrlCacheIndex(files, file)) {
        return;  // no container, one already filled, or no cache at all: left alone
    }
    dlg.indexDatFound = true;
    AddLine(log, kLocation.For(testMode) + folder + "...");
    bool gone = true;
    WinError failure = winerr::kSuccess;
    if (!testMode) {
        std::uint64_t length = 0;
        bool filled =
            ZeroFillFile(files, file, &length, &failure) == static_cast<std::int64_t>(length);
        WinError removed = files.RemoveFile(file);
        gone = filled || removed == winerr::kSuccess;
        failure = failure != winerr::kSuccess ? failure : removed;
    }
    if (gone) {
        AddLine(log, FormatCount(kFilled.For(testMode), static_cast<std::int64_t>(listed.size)));
        result->Count(listed.size);
    } else {
        result->Fail(file, failure);
    }
    if (!testMode) {
        RemoveFolderTree(dlg, folder);
    }
}

}  // namespace

bool IndexDatNeedsFill(Files& files, const std::string& path) {
    unsigned char first = 0;
    return ReadHead(files, path, &first, 1) == 1 && first != 0;
}

bool IsUrlCacheIndex(Files& files, const std::string& path) {
    constexpr std::uint32_t kLength = sizeof kUrlCacheSignature - 1;
    char head[kLength];
    return ReadHead(files, path, head, kLength) == kLength &&
           std::memcmp(head, kUrlCacheSignature, kLength) == 0;
}

std::int64_t ZeroFillFile(Files& files, const std::string& path, std::uint64_t* listedLength,
                          WinError* failure) {
    WinError unused = winerr::kSuccess;
    WinError& error = failure != nullptr ? *failure : unused;
    FindData listed;
    if (!FindEntry(files, path, &listed)) {
        error = winerr::kFileNotFound;
        return -1;
    }
    FileScope file(files);
    error = file.Open(path, fileaccess::kRead | fileaccess::kWrite,
                      fileshare::kRead | fileshare::kWrite, filecreate::kOpenExisting);
    if (error != winerr::kSuccess) {
        return -1;
    }
    if (listedLength != nullptr) {
        *listedLength = listed.size;
    }
    const std::vector<char> zeros(kFillChunk, '\0');
    std::uint64_t written = 0;
    while (written < listed.size) {
        std::uint32_t chunk =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(kFillChunk, listed.size - written));
        std::uint32_t done = 0;
        error = files.Write(file.Get(), zeros.data(), chunk, &done);
        written += done;
        if (error != winerr::kSuccess || done != chunk) {
            error = error != winerr::kSuccess ? error : winerr::kDiskFull;
            break;
        }
    }
    return static_cast<std::int64_t>(written);
}

CategoryResult FillSubfolderIndexDat(EraserDlg& dlg, const std::string& parent, bool testMode,
                                     ActivityLog* log) {
    CategoryResult result = CategoryResult::Sized();
    if (parent.empty()) {
        return result;
    }
    FindScope listing(dlg.platform.files);
    FindData entry;
    std::string pattern = JoinPath(parent, "*.*");
    if (!FitsMaxPath(pattern) || !listing.First(pattern, &entry)) {
        return result;
    }
    do {
        if (entry.name[0] != '.') {
            FillContainer(dlg, JoinPath(parent, entry.name), testMode, log, &result);
        }
    } while (listing.Next(&entry));
    return result;
}

CategoryResult FillIndexDat(EraserDlg& dlg, bool testMode, CsidlFolder csidl, bool logIt) {
    const CacheFolder* kind = CacheFolderOf(csidl);
    std::string folder;
    CategoryResult result = CategoryResult::Sized();
    if (kind == nullptr || !LookUpSpecialFolder(dlg, csidl, &folder)) {
        return result;
    }
    Files& files = dlg.platform.files;
    FindData index;
    if (!FindEntry(files, JoinPath(folder, "index.dat"), &index)) {
        if (kind->indexSubfolder != nullptr) {
            folder = JoinPath(folder, kind->indexSubfolder);
        }
        if (!FindEntry(files, JoinPath(folder, "index.dat"), &index)) {
            return result;
        }
    }
    ActivityLog* log = logIt ? &dlg.log : nullptr;
    const bool spared = csidl == csidl::kCookies && CacheMayHoldKeptCookie(dlg);
    FillLocation(dlg, folder, index.name, testMode, spared, log, &result);
    std::string alternate;
    if (FindAlternateCacheFolder(dlg, folder, kind->word, &alternate)) {
        FillLocation(dlg, alternate, index.name, testMode, spared, log, &result);
    }
    return result;
}

CategoryResult FillListedIndexDat(EraserDlg& dlg, bool testMode, bool logIt) {
    if (dlg.indexDatPaths.empty()) {
        GatherCacheFolders(dlg);
    }
    CategoryResult result = CategoryResult::Sized();
    for (const std::string& parent : dlg.indexDatPaths) {
        result += FillSubfolderIndexDat(dlg, parent, testMode, logIt ? &dlg.log : nullptr);
    }
    return result;
}

void FillHistoryIndexFilesSilently(EraserDlg& dlg) {
    FillIndexDat(dlg, /*testMode=*/false, csidl::kHistory, /*logIt=*/false);
    FillListedIndexDat(dlg, /*testMode=*/false, /*logIt=*/false);
}
