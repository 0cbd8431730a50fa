// The counting pass before a run: how many cache entries and history records the erasers
// will visit, so that the progress bar can be sized for them. Counting takes a while on a
// big cache, so the bar moves meanwhile, at growing intervals.
#pragma once

#include <cstdint>

class EraserDlg;

// One step of the bar each time the count passes the threshold, which starts at 1000 and
// is then multiplied by 1.4 in double precision, truncated: 1000, 1400, 1959, 2742,
// 3838, 5373, ...
class CountingPace {
public:
    void Count(EraserDlg& dlg);
    std::int64_t count() const { return count_; }

private:
    std::int64_t count_ = 0;
    std::int64_t threshold_ = 1000;
};

// The entries of the whole URL cache, of every kind, less one (0 for an empty cache).
// Pending window messages are dispatched after every entry, whatever busy says.
int CountCacheEntries(EraserDlg& dlg);

// Every record of the URL history, "about:blank" included; 0 when the history object
// cannot be created or cannot list. Pending messages are dispatched after every record.
int CountHistoryUrls(EraserDlg& dlg);
