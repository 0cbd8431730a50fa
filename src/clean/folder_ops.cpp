#include "clean/folder_ops.h"

#include "clean/log_text.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

// Names WipeFolderFiles leaves in place, compared without regard to case.
const char* const kKeptNames[] = {".", "..", "index.dat", "desktop.ini", "3? Floppy (A).lnk"};

constexpr char kNoFiles[] = "找不到文件。";
constexpr ModeText kDeleting{"正在删除", "测试: 正在删除 "};
constexpr char kDone[] = " <OK>";

// Names tried for a staged file beside its target; one that exists is never touched.
constexpr int kStagingNames = 10;

bool IsKept(const FindData& entry) {
    for (const char* name : kKeptNames) {
        if (GbkEqualNoCase(entry.name, name)) {
            return true;
        }
    }
    return (entry.attributes & fileattr::kDirectory) != 0;
}

// The probe of a test: what a deletion needs, without changing the file. Windows
// refuses a read-only file to the open as it refuses its deletion; the attribute is
// checked as well for file systems that let the open through (Wine running as root).
bool CanDelete(Files& files, const std::string& path, const FindData& entry) {
    FileScope file(files);
    return (entry.attributes & fileattr::kReadOnly) == 0 &&
           file.Open(path, fileaccess::kWrite, fileshare::kDelete, filecreate::kOpenExisting) ==
               winerr::kSuccess;
}

bool IsDots(const std::string& name) {
    return name == "." || name == "..";
}

void ClearReadOnly(Files& files, const std::string& path, std::uint32_t attributes) {
    if (attributes & fileattr::kReadOnly) {
        (void)files.SetAttributes(path, attributes & ~fileattr::kReadOnly);
    }
}

void RemoveTree(Files& files, const std::string& folder);

void RemoveContents(Files& files, const std::string& folder) {
    FindScope listing(files);
    FindData entry;
    std::string pattern = JoinPath(folder, "*.*");
    if (!FitsMaxPath(pattern) || !listing.First(pattern, &entry)) {
        return;
    }
    do {
        std::string path = JoinPath(folder, entry.name);
        if (IsDots(entry.name) || !FitsMaxPath(path)) {
            continue;
        }
        if (entry.attributes & fileattr::kDirectory) {
            RemoveTree(files, path);
        } else {
            ClearReadOnly(files, path, entry.attributes);
            (void)files.RemoveFile(path);
        }
    } while (listing.Next(&entry));
}

// The folder and everything in it; a junction is removed without entering it.
void RemoveTree(Files& files, const std::string& folder) {
    std::uint32_t attributes = 0;
    if (files.GetAttributes(folder, &attributes) != winerr::kSuccess ||
        !(attributes & fileattr::kDirectory)) {
        return;
    }
    if (!(attributes & fileattr::kReparsePoint)) {
        RemoveContents(files, folder);
    }
    ClearReadOnly(files, folder, attributes);
    (void)files.RemoveFolder(folder);
}

// An empty path, a drive root ("C:\") or a share's root ("\\server\share").
bool IsRoot(const std::string& folder) {
    bool unc =
        folder.size() >= 2 && IsGbkPathSeparatorAt(folder, 0) && IsGbkPathSeparatorAt(folder, 1);
    return SplitGbkFilePath(folder).size() < (unc ? 3u : 2u);
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    return GbkEndsWithSeparator(folder) ? folder + name : folder + "\\" + name;
}

bool FitsMaxPath(const std::string& path) {
    return path.size() < kMaxPath;
}

bool FindEntry(Files& files, const std::string& path, FindData* entry) {
    FindScope listing(files);
    FindData found;
    if (!FitsMaxPath(path) || !listing.First(path, &found)) {
        return false;
    }
    if (entry != nullptr) {
        *entry = found;
    }
    return true;
}

CategoryResult WipeFolderFiles(EraserDlg& dlg, const std::string& folder, bool doDelete,
                               ActivityLog* log, const std::set<std::string>* spared) {
    Files& files = dlg.platform.files;
    FindScope listing(files);
    FindData entry;
    CategoryResult result = CategoryResult::Sized();
    std::string pattern = JoinPath(folder, "*.*");
    if (!FitsMaxPath(pattern) || !listing.First(pattern, &entry)) {
        if (log != nullptr) {
            log->AddLogLine(kNoFiles, emphasis::kPlain);
        }
        return result;
    }
    do {
        std::string path = JoinPath(folder, entry.name);
        if (IsKept(entry) || !FitsMaxPath(path) ||
            (spared != nullptr && spared->count(GbkAsciiLower(entry.name)) != 0)) {
            continue;
        }
        WinError error = doDelete ? files.RemoveFile(path) : winerr::kSuccess;
        if (error != winerr::kSuccess || (!doDelete && !CanDelete(files, path, entry))) {
            // read-only, in use or denied: passed over without a line
            if (error != winerr::kSuccess && !(entry.attributes & fileattr::kReadOnly)) {
                result.Fail(path, error);
            }
            continue;
        }
        result.Count(entry.size);
        if (log != nullptr) {
            log->AddLogLine(kDeleting.For(!doDelete) + path + kDone, emphasis::kPlain);
        }
    } while (listing.Next(&entry));
    return result;
}

void RemoveFolderTree(EraserDlg& dlg, const std::string& folder) {
    if (!IsNtFamily(dlg.osVersion)) {
        WipeFolderFiles(dlg, folder, /*doDelete=*/true, nullptr);
        return;
    }
    if (IsRoot(folder)) {
        return;  // never a cache folder
    }
    RemoveTree(dlg.platform.files, folder);
}

bool WriteWhole(Files& files, FileHandle file, const char* data, std::uint32_t size) {
    std::uint32_t written = 0;
    return files.Write(file, data, size, &written) == winerr::kSuccess && written == size;
}

std::string TakeNameBeside(const std::string& target,
                           const std::function<WinError(const std::string& path)>& take) {
    size_t slash = GbkLastSeparator(target);
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    for (int i = -1; i < kStagingNames; ++i) {
        std::string path = i < 0 ? target + "~" : folder + "~cv" + std::to_string(i) + ".tmp";
        if (!FitsMaxPath(path) || GbkEqualNoCase(path, target)) {
            continue;  // the target itself may have been saved under such a name
        }
        WinError error = take(path);
        if (error == winerr::kSuccess) {
            return path;
        }
        if (error != winerr::kFileExists && error != winerr::kAlreadyExists) {
            break;
        }
    }
    return {};
}

std::string CreateBeside(const std::string& target, FileScope* file) {
    return TakeNameBeside(target, [&](const std::string& path) {
        return file->Open(path, fileaccess::kRead | fileaccess::kWrite, fileshare::kRead,
                          filecreate::kCreateNew);
    });
}

SwapResult SwapInStaged(Files& files, const std::string& staged, const std::string& target,
                        FindData* current) {
    if (!FindEntry(files, target, current)) {
        return files.RenameFile(staged, target) == winerr::kSuccess ? SwapResult::kSwapped
                                                                    : SwapResult::kFailed;
    }
    // The staged file holds one of the names beside target already: no call need find it
    // taken.
    const std::string aside = TakeNameBeside(target, [&](const std::string& path) {
        return GbkEqualNoCase(path, staged) ? winerr::kAlreadyExists
                                            : files.RenameFile(target, path);
    });
    if (aside.empty()) {
        return SwapResult::kTargetHeld;
    }
    if (files.RenameFile(staged, target) != winerr::kSuccess) {
        (void)files.RenameFile(aside, target);
        return SwapResult::kFailed;
    }
    (void)files.RemoveFile(aside);
    return SwapResult::kSwapped;
}
