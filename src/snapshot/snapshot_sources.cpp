// What Save state and Restore both read of the machine and of the commands' frame: the
// start of a command, the history's index files, the start page, the cookie entries, the
// typed URLs a snapshot holds, and the folders a stream's file records belong to.
#include "snapshot/snapshot_sources.h"

#include "clean/cache_folders.h"
#include "clean/folder_ops.h"
#include "clean/registry_text.h"
#include "clean/registry_values.h"
#include "clean/run_steps.h"
#include "clean/shell_calls.h"
#include "clean/url_cache_walk.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

using namespace snapshot;

bool IsUrlName(const std::string& name) {
    return name.size() >= 3 && GbkEqualNoCase(name.substr(0, 3), "URL");
}

bool IsSavedTypedUrl(const RegistryValue& value) {
    return IsUrlName(value.name) && !value.oversized &&
           !RegistryText(value.data.data(), static_cast<std::uint32_t>(value.data.size())).empty();
}

bool StartCommand(EraserDlg& dlg, const char* heading) {
    if (dlg.busy) {
        return false;
    }
    dlg.busy = true;
    dlg.report.clear();
    dlg.progress.SetPos(0);
    dlg.log.ClearLog();
    Steps(dlg).HandleOpenIEWindows(dlg);
    Plain(dlg, heading);
    return true;
}

void HistoryIndexFiles(EraserDlg& dlg, std::string* first, std::string* second) {
    first->clear();
    second->clear();
    std::string history;
    if (!LookUpSpecialFolder(dlg, csidl::kHistory, &history)) {
        return;
    }
    std::string ie5 = JoinPath(history, "History.IE5");
    *first = JoinPath(FindEntry(dlg.platform.files, ie5) ? ie5 : history, "index.dat");
    if (!FindAlternateCacheFolder(dlg, *first, kHistoryWord, second)) {
        second->clear();
    }
}

WinError QueryStartPage(Registry& registry, HKey mainKey, std::string* page) {
    char data[kUrlBytes];
    std::uint32_t size = sizeof data;
    WinError error = registry.QueryValue(mainKey, iename::kStartPageValue, nullptr, data, &size);
    if (error == winerr::kSuccess) {
        *page = RegistryText(data, size);
    }
    return error;
}

bool ReadStartPage(EraserDlg& dlg, std::string* page, bool* tooLong) {
    RegKey key(dlg.platform.registry);
    if (key.Open(regroot::kCurrentUser, iename::kMainKey, regaccess::kAllAccess) !=
        winerr::kSuccess) {
        Plain(dlg, "找不到 IE 起始页");
        return false;
    }
    WinError error = QueryStartPage(dlg.platform.registry, key.Get(), page);
    if (error != winerr::kSuccess) {
        *page = iename::kBlankPage;
        *tooLong = error == winerr::kMoreData;
        return false;
    }
    return true;
}

int ListCookieEntries(EraserDlg& dlg) {
    int listed = 0;
    UrlCacheWalk walk(dlg.platform.urlCache);
    for (bool more = walk.First(); more; more = walk.Next()) {
        std::string url = walk.SourceUrl();
        if ((walk.EntryType() & cacheentry::kCookie) != 0 && walk.EntryExists(url)) {
            Plain(dlg, url);
            ++listed;
            dlg.StepProgress();
        }
        dlg.PumpMessages();
    }
    return listed;
}

std::vector<std::string> CookieFolders(EraserDlg& dlg) {
    std::vector<std::string> folders;
    std::string cookies;
    if (LookUpSpecialFolder(dlg, csidl::kCookies, &cookies)) {
        folders.push_back(cookies);
        std::string alternate;
        if (FindAlternateCacheFolder(dlg, cookies, kCookiesWord, &alternate)) {
            folders.push_back(alternate);
        }
    }
    return folders;
}

std::vector<std::string> CacheIndexFolders(EraserDlg& dlg) {
    std::vector<std::string> folders;
    std::string cache;
    if (LookUpSpecialFolder(dlg, csidl::kInternetCache, &cache)) {
        folders.push_back(JoinPath(cache, "Content.IE5"));
        std::string alternate;
        if (FindAlternateCacheFolder(dlg, folders[0], kTempInternetFilesWord, &alternate)) {
            folders.push_back(alternate);
        }
    }
    return folders;
}

bool IsFileInFolders(const std::string& path, const std::vector<std::string>& folders) {
    for (std::string folder : folders) {
        while (GbkEndsWithSeparator(folder)) {
            folder.pop_back();
        }
        size_t end = folder.size();
        if (folder.empty() || path.size() <= end + 1 || !IsGbkPathSeparatorAt(path, end) ||
            !GbkEqualNoCase(path.substr(0, end), folder)) {
            continue;
        }
        std::string name = path.substr(end + 1);
        std::vector<std::string> parts = SplitGbkFilePath(name);
        if (parts.size() == 1 && parts[0] == name && name != "." && name != ".." &&
            name.find(':') == std::string::npos) {
            return true;
        }
    }
    return false;
}
