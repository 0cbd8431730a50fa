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
// the history takes their registry records away. kOk when the object cleared it, else
// the answer of the creation or of the clearing.
HResult ClearAllHistory(EraserDlg& dlg) {
    std::unique_ptr<UrlHistoryStore> store;
    HResult answer = dlg.platform.urlHistory.Create(UrlHistoryInterface::kStg2, &store);
    GatherCacheFolders(dlg);
    if (answer == hresult::kOk) {
        answer = store->ClearHistory();
    }
    store.reset();
    if (dlg.settings.clearIndexDat == 0) {
        FillHistoryIndexFilesSilently(dlg);
    }
    return answer;
}

}  // namespace

// The history object tells no sizes: the URLs are counted without bytes.
CategoryResult EraseHistory(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    std::vector<std::string> urls;
    bool listed = ListHistoryUrls(dlg, &urls);
    // Cleared whatever the listing found: an object that cannot list may still clear.
    HResult answer = testMode ? hresult::kOk : ClearAllHistory(dlg);
    CategoryResult result;
    for (const std::string& url : urls) {
        if (answer == hresult::kOk) {
            ++result.items;
        } else {
            result.Fail(url, static_cast<std::uint32_t>(answer));
        }
    }
    if (!listed) {
        dlg.log.AddLogLine(kNothing.For(testMode), emphasis::kStrong);
        return result;
    }
    dlg.log.AddLogLine("", emphasis::kPlain);
    dlg.log.AddLogLine(answer == hresult::kOk ? kCleared.For(testMode) : kNotCleared,
                       emphasis::kStrong);
    return result;
}
