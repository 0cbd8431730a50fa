#include "clean/history_urls.h"

#include <memory>

#include "clean/ie_names.h"
#include "clean/progress_counts.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

// The history object's records from the first: the object created for IUrlHistoryStg,
// its enumeration opened and reset. False when any of these fails; whatever was obtained
// is released by the caller's owners, the enumeration first.
bool OpenHistory(EraserDlg& dlg, std::unique_ptr<UrlHistoryStore>* store,
                 std::unique_ptr<UrlHistoryEnum>* items) {
    return dlg.platform.urlHistory.Create(UrlHistoryInterface::kStg, store) == hresult::kOk &&
           (*store)->EnumUrls(items) == hresult::kOk && (*items)->Reset() == hresult::kOk;
}

}  // namespace

bool ListHistoryUrls(EraserDlg& dlg, std::vector<std::string>* urls) {
    std::unique_ptr<UrlHistoryStore> store;
    std::unique_ptr<UrlHistoryEnum> items;
    if (!OpenHistory(dlg, &store, &items)) {
        return false;
    }
    bool listed = false;
    HistoryUrl record;
    while (dlg.busy && items->Next(&record) == hresult::kOk) {
        if (!record.url.empty() && !GbkEqualNoCase(record.url, iename::kBlankPage)) {
            dlg.log.AddLogLine(record.url, emphasis::kPlain);
            listed = true;
            if (urls != nullptr) {
                urls->push_back(record.url);
            }
        }
        dlg.StepProgress();
        dlg.PumpMessagesWhileBusy();
    }
    return listed;
}

int CountHistoryUrls(EraserDlg& dlg) {
    std::unique_ptr<UrlHistoryStore> store;
    std::unique_ptr<UrlHistoryEnum> items;
    if (!OpenHistory(dlg, &store, &items)) {
        return 0;
    }
    CountingPace pace;
    HistoryUrl record;
    while (items->Next(&record) == hresult::kOk) {
        pace.Count(dlg);
        dlg.PumpMessages();
    }
    return static_cast<int>(pace.count());
}
