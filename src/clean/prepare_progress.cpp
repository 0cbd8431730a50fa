// Sizing the progress bar before the erasers run: the entries of the URL cache and the
// records of the history are counted first, and the erasers then step the bar once per
// entry they visit.

#include <algorithm>
#include <cstdint>

#include "clean/progress_counts.h"
#include "clean/url_cache_walk.h"
#include "state/eraser_dlg.h"

namespace {

// The largest upper bound the bar takes: its bounds are 16-bit signed values.
constexpr std::int64_t kMaxUpper = 32767;

}  // namespace

void CountingPace::Count(EraserDlg& dlg) {
    if (++count_ > threshold_) {
        dlg.StepProgress();
        // Rounded to a double before it is truncated: the x87 unit of the 32-bit build
        // would keep the product in extended precision, where 1000 x 1.4 is 1399.99...
        volatile double next = static_cast<double>(threshold_) * 1.4;
        threshold_ = static_cast<std::int64_t>(next);
    }
}

int CountCacheEntries(EraserDlg& dlg) {
    UrlCacheWalk walk(dlg.platform.urlCache);
    if (!walk.First()) {
        return 0;
    }
    CountingPace pace;
    bool more = true;
    while (more) {
        more = walk.Next();
        pace.Count(dlg);  // the call that found no more counts too
        dlg.PumpMessages();
    }
    return static_cast<int>(std::min<std::int64_t>(pace.count() - 1, INT32_MAX));
}

// The bar starts at 5 of 100 and the counters may move it on. Then its range becomes the
// entries to come plus the position reached, and the position keeps its relative place.
//
// Above 32767 units the bounds would wrap. The whole scale is then divided by the
// smallest stride that brings the upper bound within 32767 (rounding up), and the bar
// moves one unit every `stride` entries: it still fills in proportion to the entries
// visited, with the same relative starting place.
void PrepareProgress(EraserDlg& dlg) {
    dlg.SetProgressStride(1);
    dlg.progress.SetRange(0, 100);
    dlg.progress.SetPos(5);
    std::int64_t total = 0;
    if (dlg.settings.clearTempInternetFiles != 0) {
        total += CountCacheEntries(dlg);
    }
    if (dlg.settings.clearHistory != 0) {
        total += CountHistoryUrls(dlg);
    }
    std::int64_t reached = dlg.progress.GetPos();
    std::int64_t units = total + reached;
    std::int64_t stride = std::max<std::int64_t>(1, (units + kMaxUpper - 1) / kMaxUpper);
    std::int64_t upper = (units + stride - 1) / stride;
    dlg.progress.SetRange(0, static_cast<std::int16_t>(upper));
    dlg.progress.SetPos(static_cast<int>(upper * reached / 100));
    dlg.SetProgressStride(static_cast<int>(stride));
}
