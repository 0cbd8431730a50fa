// Internet Explorer's history: its URLs are listed through the URL history object, and
// Clear then has the object clear the whole history, and fills the history's index.dat
// files unless the index.dat step of the run will do it with its own lines.

#include <memory>

#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/history_urls.h"
#include "clean/index_dat.h"
#include "clean/log_text.h"
#include "state/eraser_dlg.h"

namespace {

constexpr ModeText kHeading{"正在清除历史记录...", "测试: 正在清除历史记录..."};
constexpr ModeText kCleared{"历史记录已清除 <OK>", "测试: 历史记录已清除 <OK>"};
constexpr ModeText kNothing{"没有要清除的历史记录 <OK>", "测试: 没有要清除的历史记录 <OK>"};
// The URLs listed are still there: the object could not be created or did not clear.
constexpr char kNotCleared[] = "历史记录已清除 <失败>";

// Clear's work after the listing. The history containers are gathered first: clearing
// the history takes their registry records away. True when the object cleared it.
bool ClearAllHistory(EraserDlg& dlg) {
    std::unique_ptr<UrlHistoryStore> store;
    bool created =
        dlg.platform.urlHistory.Create(UrlHistoryInterface::kStg2, &store) == hresult::kOk;
    GatherCacheFolders(dlg);
    bool cleared = created && store->ClearHistory() == hresult::kOk;
    store.reset();
    if (dlg.settings.clearIndexDat == 0) {
        FillHistoryIndexFilesSilently(dlg);
    }
    return cleared;
}

}  // namespace

void EraseHistory(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    bool listed = ListHistoryUrls(dlg);
    // Cleared whatever the listing found: an object that cannot list may still clear.
    bool cleared = testMode || ClearAllHistory(dlg);
    if (!listed) {
        dlg.log.AddLogLine(kNothing.For(testMode), emphasis::kStrong);
        return;
    }
    dlg.log.AddLogLine("", emphasis::kPlain);
    dlg.log.AddLogLine(cleared ? kCleared.For(testMode) : kNotCleared, emphasis::kStrong);
}
