// The state every command shares: the user's choices, the Windows version code and the
// progress model behind the progress bar.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/system.h"
#include "state/keep_list.h"

// closeBrowserPolicy values.
namespace closepolicy {
constexpr int kCloseWithoutAsking = 0;
constexpr int kNeverClose = 1;
constexpr int kAsk = 2;  // and every value other than 0 and 1
}  // namespace closepolicy

// The user's choices. The ten switches hold 0 for off and any other value for on.
struct EraserSettings {
    std::int32_t clearHistory = 1;
    std::int32_t clearCookies = 1;
    std::int32_t clearTempInternetFiles = 1;
    std::int32_t clearIndexDat = 1;
    std::int32_t resetStartPage = 1;
    std::int32_t emptyRecycleBin = 1;
    std::int32_t clearRecentDocs = 1;
    std::int32_t clearAutoComplete = 1;
    std::int32_t clearWindowsTemp = 1;
    std::int32_t clearSearchHistory = 1;
    // What to do with open Internet Explorer windows, a closepolicy value.
    std::int32_t closeBrowserPolicy = closepolicy::kAsk;
    // Hosts whose cookies Clear keeps; empty, Clear takes every cookie.
    KeepList keepCookies{};
};

// The ten category switches, in the record's order.
constexpr std::int32_t EraserSettings::*kSwitchFields[] = {
    &EraserSettings::clearHistory,           &EraserSettings::clearCookies,
    &EraserSettings::clearTempInternetFiles, &EraserSettings::clearIndexDat,
    &EraserSettings::resetStartPage,         &EraserSettings::emptyRecycleBin,
    &EraserSettings::clearRecentDocs,        &EraserSettings::clearAutoComplete,
    &EraserSettings::clearWindowsTemp,       &EraserSettings::clearSearchHistory,
};

// Sets every category switch to value (1 for on, 0 for off); the policy and the keep
// list stay.
void SetAllSwitches(EraserSettings& settings, std::int32_t value);

// Windows version codes.
namespace osver {
constexpr int kUnknown = 0;
constexpr int kWin31 = 1;
constexpr int kWin95 = 2;
constexpr int kWin98 = 3;
constexpr int kWinNt = 4;
constexpr int kWin2000 = 5;
constexpr int kWinXp = 6;
constexpr int kWinMe = 7;
constexpr int kWin2003 = 8;
}  // namespace osver

// The code for a version answer; kUnknown for anything outside the known versions.
int OsVersionCode(const OsVersionInfo& info);

// NT 4, 2000, XP and Server 2003.
bool IsNtFamily(int osVersion);

// The operating-system line a cleaning run begins with; null for a code outside the
// known versions (the run then writes none).
const char* OsVersionLine(int osVersion);

// Lower bound, upper bound and position of the progress bar. The bounds arrive as
// 16-bit values and are kept sign-extended, as the progress control does.
class ProgressModel {
public:
    void SetRange(std::int16_t lower, std::int16_t upper) {
        lower_ = lower;
        upper_ = upper;
    }
    void GetRange(int* lower, int* upper) const {
        *lower = lower_;
        *upper = upper_;
    }
    int GetPos() const { return pos_; }
    // Limits to the upper bound first, then to the lower one, so that a lower bound
    // above the upper one wins. Returns the old position.
    int SetPos(int n);
    int OffsetPos(int n) { return SetPos(pos_ + n); }

    // Called after every change of the position (the bar redraws itself).
    std::function<void(int pos)> onRedraw;

private:
    int lower_ = 0;
    int upper_ = 100;
    int pos_ = 0;
};
