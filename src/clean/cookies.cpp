// Internet Explorer's cookies: the entries of the URL cache that carry the cookie bit,
// then, in Clear, the files left in the cookies folder and in its second copy. The
// entries of kept hosts stay, and so do their files, in both folders.

#include <algorithm>
#include <set>

#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "clean/log_text.h"
#include "clean/url_cache_walk.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr ModeText kHeading{"正在删除 Cookies...", "测试: 正在删除 Cookies..."};
constexpr ModeText kDeleted{"已删除 <OK>", "测试: Cookies 已删除 <OK>"};
constexpr ModeText kNothing{"没有要删除的 Cookies! <OK>", "测试: 没有要删除的 Cookies! <OK>"};
constexpr char kKept[] = "保留: ";

// What the walk over the cookie entries did: the cookies deleted (or found, in Test) and
// kept, and the kept entries' file names, lower-cased.
struct CookieWalk {
    CategoryResult result = CategoryResult::Sized();
    std::set<std::string> keptFiles;
    bool whole = false;  // every entry was seen
};

// The name of path's file, lower-cased; empty when there is none.
std::string FileNameOf(const std::string& path) {
    size_t slash = GbkLastSeparator(path);
    return GbkAsciiLower(slash == std::string::npos ? path : path.substr(slash + 1));
}

// One line per cookie deleted (or found, in Test), and one per cookie kept. The walk goes
// to its end whatever busy says, dispatching pending messages between entries. A cookie
// Clear cannot delete is passed over without a line, and reported as failed.
CookieWalk TakeCookieEntries(EraserDlg& dlg, bool testMode) {
    const KeepList& keep = dlg.settings.keepCookies;
    UrlCacheWalk walk(dlg.platform.urlCache);
    CookieWalk taken;
    CategoryResult& result = taken.result;
    bool more = walk.First();
    while (more) {
        if (walk.EntryType() & cacheentry::kCookie) {
            std::string url = walk.SourceUrl();
            WinError error = winerr::kSuccess;
            if (!keep.empty() && !url.empty() && IsKeptHost(keep, CookieEntryHost(url))) {
                dlg.log.AddLogLine(kKept + url, emphasis::kPlain);
                ++result.kept;
                taken.keptFiles.insert(FileNameOf(walk.LocalFileName()));
            } else if (!url.empty() && (error = walk.Take(url, testMode)) == winerr::kSuccess) {
                dlg.log.AddLogLine(url, emphasis::kPlain);
                result.Count(walk.EntrySize());
                dlg.StepProgress();
            } else if (!url.empty() && !testMode) {
                result.Fail(url, error);
            }
        }
        more = walk.Next();
        dlg.PumpMessages();
    }
    taken.whole = walk.AtEnd();
    return taken;
}

}  // namespace

std::string CookieEntryHost(const std::string& url) {
    size_t at = url.find('@');
    if (at == std::string::npos) {
        return {};
    }
    return url.substr(at + 1, url.find('/', at) - at - 1);
}

std::vector<std::string> CacheCookieHosts(EraserDlg& dlg, bool* whole) {
    std::vector<std::string> hosts;
    UrlCacheWalk walk(dlg.platform.urlCache);
    for (bool more = walk.First(); more; more = walk.Next()) {
        std::string host = CookieEntryHost(walk.SourceUrl());
        if ((walk.EntryType() & cacheentry::kCookie) && !host.empty()) {
            hosts.push_back(host);
        }
    }
    if (whole != nullptr) {
        *whole = walk.AtEnd();
    }
    return hosts;
}

bool CacheMayHoldKeptCookie(EraserDlg& dlg) {
    const KeepList& keep = dlg.settings.keepCookies;
    if (keep.empty()) {
        return false;
    }
    bool whole = false;
    std::vector<std::string> hosts = CacheCookieHosts(dlg, &whole);
    return !whole || std::any_of(hosts.begin(), hosts.end(),
                                 [&](const std::string& host) { return IsKeptHost(keep, host); });
}

CategoryResult EraseCookies(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    CookieWalk walk = TakeCookieEntries(dlg, testMode);
    CategoryResult& result = walk.result;
    // The cookie files WinINet may have left behind; silently, whatever comes of it. A
    // walk cut short may have missed a kept entry, whose file would go with the others.
    if (!testMode && (dlg.settings.keepCookies.empty() || walk.whole)) {
        for (const std::string& folder : CacheFolderAndCopy(dlg, csidl::kCookies, kCookiesWord)) {
            WipeFolderFiles(dlg, folder, /*doDelete=*/true, nullptr, &walk.keptFiles);
        }
    }
    if (result.items > 0) {
        dlg.log.AddLogLine("", emphasis::kPlain);
        dlg.log.AddLogLine(kDeleted.For(testMode), emphasis::kStrong);
    } else {
        dlg.log.AddLogLine(kNothing.For(testMode), emphasis::kStrong);
    }
    return result;
}
