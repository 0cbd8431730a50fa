#include "app/command_state.h"

#include <gtest/gtest.h>

#include "app/eraser_dlg.h"
#include "platform/memory/memory_platform.h"

namespace {

TEST(OsVersionCode, OfEachVersionAnswer) {
    struct Row {
        std::uint32_t platform, major, minor;
        int code;
        bool nt;
    };
    const Row rows[] = {
        {0, 3, 10, 1, false}, {1, 4, 0, 2, false}, {1, 4, 10, 3, false}, {1, 4, 90, 7, false},
        {2, 3, 51, 4, true},  {2, 4, 0, 4, true},  {2, 5, 0, 5, true},   {2, 5, 1, 6, true},
        {2, 5, 2, 8, true},   {1, 4, 5, 0, false}, {2, 5, 3, 0, false},  {2, 6, 0, 0, false},
        {3, 5, 1, 0, false},
    };
    for (const Row& row : rows) {
        int code = OsVersionCode({row.major, row.minor, 0, row.platform});
        EXPECT_EQ(row.code, code) << row.platform << " " << row.major << "." << row.minor;
        EXPECT_EQ(row.nt, IsNtFamily(code)) << code;
    }
}

// Bounds are 16-bit values, sign-extended; the position is limited to the upper bound,
// then to the lower one. Every change of position redraws, a change of range does not.
TEST(ProgressModel, ClampsToItsRange) {
    ProgressModel progress;
    std::vector<int> seen;
    progress.onRedraw = [&](int pos) { seen.push_back(pos); };
    int lower = -1, upper = -1;
    progress.GetRange(&lower, &upper);
    seen.insert(seen.end(), {lower, upper, progress.GetPos()});
    seen.push_back(progress.SetPos(50));
    progress.SetRange(0, 10);
    seen.push_back(progress.GetPos());
    seen.push_back(progress.OffsetPos(1));
    seen.push_back(progress.SetPos(-5));
    progress.SetRange(0, static_cast<std::int16_t>(40000));
    progress.GetRange(&lower, &upper);
    seen.push_back(upper);
    seen.push_back(progress.SetPos(500));
    EXPECT_EQ((std::vector<int>{0, 100, 0, 50, 0, 50, 10, 50, 0, 10, -25536, 0, 0}), seen);
}

// The run's bar moves one unit every `stride` steps, counted afresh from a new stride.
TEST(ProgressModel, MovesOneUnitEveryStrideSteps) {
    MemoryPlatform mem;
    EraserDlg dlg(mem.platform);
    std::vector<int> seen;
    dlg.SetProgressStride(2);
    dlg.StepProgress();
    dlg.SetProgressStride(3);
    for (int step = 0; step < 3; ++step) {
        dlg.StepProgress();
        seen.push_back(dlg.progress.GetPos());
    }
    EXPECT_EQ((std::vector<int>{0, 0, 1}), seen);
}

}  // namespace
