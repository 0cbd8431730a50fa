// Internet Explorer's cookies: the entries of the URL cache that carry the cookie bit,
// then, in Clear, the files left in the cookies folder and in its second copy.

#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "clean/log_text.h"
#include "clean/url_cache_walk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr ModeText kHeading{"正在删除 Cookies...", "测试: 正在删除 Cookies..."};
constexpr ModeText kDeleted{"已删除 <OK>", "测试: Cookies 已删除 <OK>"};
constexpr ModeText kNothing{"没有要删除的 Cookies! <OK>", "测试: 没有要删除的 Cookies! <OK>"};

// One line per cookie deleted (or found, in Test). The walk goes to its end whatever
// busy says, dispatching pending messages between entries. True when a line was written.
bool TakeCookieEntries(EraserDlg& dlg, bool testMode) {
    UrlCacheWalk walk(dlg.platform.urlCache);
    bool done = false;
    bool more = walk.First();
    while (more) {
        if (walk.EntryType() & cacheentry::kCookie) {
            std::string url = walk.SourceUrl();
            if (!url.empty() && walk.Take(url, testMode)) {
                dlg.log.AddLogLine(url, emphasis::kPlain);
                done = true;
                dlg.StepProgress();
            }
        }
        more = walk.Next();
        dlg.PumpMessages();
    }
    return done;
}

}  // namespace

void EraseCookies(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    bool done = TakeCookieEntries(dlg, testMode);
    if (!testMode) {
        // The cookie files WinINet may have left behind; silently, whatever comes of it.
        for (const std::string& folder : CacheFolderAndCopy(dlg, csidl::kCookies, kCookiesWord)) {
            WipeFolderFiles(dlg, folder, /*doDelete=*/true, nullptr);
        }
    }
    if (done) {
        dlg.log.AddLogLine("", emphasis::kPlain);
        dlg.log.AddLogLine(kDeleted.For(testMode), emphasis::kStrong);
    } else {
        dlg.log.AddLogLine(kNothing.For(testMode), emphasis::kStrong);
    }
}
