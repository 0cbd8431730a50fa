// Internet Explorer's temporary Internet files: the entries of the URL cache that are
// neither cookies nor visited pages, then, in Clear, the whole cache folder and its
// second copy.
//
// The cache walk lists the visited pages of the history too (they carry the history
// bit). They are left to the history eraser: a user who clears the temporary files and
// keeps the history expects to find the history still there.

#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "clean/log_text.h"
#include "clean/url_cache_walk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr ModeText kHeading{"正在删除 Internet 临时文件...", "测试: 正在删除 Internet 临时文件..."};
constexpr ModeText kDeleted{"Internet 临时文件已删除 <OK>", "测试: Internet 临时文件已删除 <OK>"};
constexpr ModeText kNothing{"没有要删除的 Internet 临时文件! <OK>",
                            "测试: 没有要删除的 Internet 临时文件! <OK>"};

bool IsTemporaryFile(std::uint32_t type) {
    return (type & (cacheentry::kCookie | cacheentry::kUrlHistory)) == 0;
}

// One line per entry deleted (or found, in Test). The bar steps once per entry of any
// kind; the walk ends early once busy is cleared (the run is being abandoned). An entry
// Clear cannot delete is reported as failed. The walk's handle is closed on return.
CategoryResult TakeTemporaryFileEntries(EraserDlg& dlg, bool testMode) {
    UrlCacheWalk walk(dlg.platform.urlCache);
    CategoryResult result = CategoryResult::Sized();
    bool more = walk.First();
    while (more) {
        if (IsTemporaryFile(walk.EntryType())) {
            std::string url = walk.SourceUrl();
            WinError error = url.empty() ? winerr::kSuccess : walk.Take(url, testMode);
            if (!url.empty() && error == winerr::kSuccess) {
                dlg.log.AddLogLine(url, emphasis::kPlain);
                result.Count(walk.EntrySize());
            } else if (!url.empty() && !testMode) {
                result.Fail(url, error);
            }
        }
        more = walk.Next();
        dlg.StepProgress();
        dlg.PumpMessagesWhileBusy();
        more = more && dlg.busy;
    }
    return result;
}

}  // namespace

CategoryResult EraseTemporaryInternetFiles(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    CategoryResult result = TakeTemporaryFileEntries(dlg, testMode);
    if (!testMode) {
        for (const std::string& folder :
             CacheFolderAndCopy(dlg, csidl::kInternetCache, kTempInternetFilesWord)) {
            RemoveFolderTree(dlg, folder);
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
