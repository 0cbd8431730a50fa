#include "app/command_state.h"

#include <gtest/gtest.h>

namespace {

struct VersionRow {
    std::uint32_t platform, major, minor;
    int code;
};

TEST(OsVersionCode, EveryRowOfTheTable) {
    const VersionRow rows[] = {
        {osplatform::kWin32s, 3, 10, osver::kWin31},
        {osplatform::kWindows, 4, 0, osver::kWin95},
        {osplatform::kWindows, 4, 10, osver::kWin98},
        {osplatform::kWindows, 4, 90, osver::kWinMe},
        {osplatform::kNt, 3, 51, osver::kWinNt},
        {osplatform::kNt, 4, 0, osver::kWinNt},
        {osplatform::kNt, 5, 0, osver::kWin2000},
        {osplatform::kNt, 5, 1, osver::kWinXp},
        {osplatform::kNt, 5, 2, osver::kWin2003},
        // Outside the table.
        {osplatform::kWindows, 4, 5, osver::kUnknown},
        {osplatform::kNt, 5, 3, osver::kUnknown},
        {osplatform::kNt, 6, 0, osver::kUnknown},
        {osplatform::kNt, 6, 1, osver::kUnknown},
        {osplatform::kNt, 10, 0, osver::kUnknown},
        {3, 5, 1, osver::kUnknown},
    };
    for (const VersionRow& row : rows) {
        OsVersionInfo info{row.major, row.minor, 0, row.platform};
        EXPECT_EQ(row.code, OsVersionCode(info))
            << "platform " << row.platform << " version " << row.major << "." << row.minor;
    }
}

TEST(OsVersionCode, NtFamily) {
    for (int code = -1; code <= 9; ++code) {
        bool nt = code == 4 || code == 5 || code == 6 || code == 8;
        EXPECT_EQ(nt, IsNtFamily(code)) << code;
    }
}

TEST(EraserSettings, DefaultsAreEverythingOnAndAsk) {
    EraserSettings settings;
    for (std::int32_t EraserSettings::*field : kSwitchFields) {
        EXPECT_EQ(1, settings.*field);
    }
    EXPECT_EQ(2, settings.closeBrowserPolicy);
    SetAllSwitches(settings, 0);
    EXPECT_EQ(0, settings.clearHistory);
    EXPECT_EQ(0, settings.clearSearchHistory);
    EXPECT_EQ(2, settings.closeBrowserPolicy);
}

TEST(ProgressModel, StartsAtZeroOfZeroToHundred) {
    ProgressModel progress;
    int lower = -1, upper = -1;
    progress.GetRange(&lower, &upper);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(100, upper);
    EXPECT_EQ(0, progress.GetPos());
}

TEST(ProgressModel, SetPosClampsAndReturnsTheOldPosition) {
    ProgressModel progress;
    progress.SetRange(10, 20);
    EXPECT_EQ(0, progress.SetPos(25));
    EXPECT_EQ(20, progress.GetPos());
    EXPECT_EQ(20, progress.SetPos(5));
    EXPECT_EQ(10, progress.GetPos());
}

TEST(ProgressModel, OffsetStopsAtTheUpperBound) {
    ProgressModel progress;
    progress.SetRange(0, 100);
    for (int i = 0; i < 110; ++i) {
        progress.OffsetPos(1);
    }
    EXPECT_EQ(100, progress.GetPos());
}

TEST(ProgressModel, BoundsAreSignExtendedSixteenBitValues) {
    ProgressModel progress;
    progress.SetRange(0, static_cast<std::int16_t>(40000));
    int lower = 0, upper = 0;
    progress.GetRange(&lower, &upper);
    EXPECT_EQ(-25536, upper);
    // The upper bound now lies below the lower one, and the lower one wins.
    progress.SetPos(500);
    EXPECT_EQ(0, progress.GetPos());
    progress.SetPos(-500);
    EXPECT_EQ(0, progress.GetPos());
}

TEST(ProgressModel, SetRangeLeavesThePositionAndDoesNotRedraw) {
    ProgressModel progress;
    int redraws = 0;
    progress.onRedraw = [&](int) { ++redraws; };
    progress.SetPos(50);
    progress.SetRange(0, 10);
    EXPECT_EQ(50, progress.GetPos());
    EXPECT_EQ(1, redraws);
    progress.OffsetPos(0);
    EXPECT_EQ(10, progress.GetPos());
}

}  // namespace
