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
// busy says, dispatching pending messages between entries. A cookie Clear cannot delete
// is passed over without a line, and reported as failed.
CategoryResult TakeCookieEntries(EraserDlg& dlg, bool testMode) {
    UrlCacheWalk walk(dlg.platform.urlCache);
    CategoryResult result = CategoryResult::Sized();
    bool more = walk.First();
    while (more) {
        if (walk.EntryType() & cacheentry::kCookie) {
            std::string url = walk.SourceUrl();
            WinError error = url.empty() ? winerr::kSuccess : walk.Take(url, testMode);
            if (!url.empty() && error == winerr::kSuccess) {
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
    return result;
}

}  // namespace

CategoryResult EraseCookies(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    CategoryResult result = TakeCookieEntries(dlg, testMode);
    if (!testMode) {
        // The cookie files WinINet may have left behind; silently, whatever comes of it.
        for (const std::string& folder : CacheFolderAndCopy(dlg, csidl::kCookies, kCookiesWord)) {
            WipeFolderFiles(dlg, folder, /*doDelete=*/true, nullptr);
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
