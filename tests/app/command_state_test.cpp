#include "app/command_state.h"

#include <gtest/gtest.h>

#include "app/eraser_dlg.h"
#include "platform/memory/memory_platform.h"

namespace {

// Each answer's code, with "nt" for the NT family.
TEST(OsVersionCode, OfEachVersionAnswer) {
    // clang-format off
    const OsVersionInfo answers[] = {{3, 10, 0, 0}, {4, 0, 0, 1}, {4, 10, 0, 1}, {4, 90, 0, 1}, {3, 51, 0, 2},
        {4, 0, 0, 2}, {5, 0, 0, 2}, {5, 1, 0, 2}, {5, 2, 0, 2}, {4, 5, 0, 1}, {5, 3, 0, 2}, {6, 0, 0, 2}, {5, 1, 0, 3}};
    // clang-format on
    std::string codes;
    for (const OsVersionInfo& info : answers) {
        codes +=
            std::to_string(OsVersionCode(info)) + (IsNtFamily(OsVersionCode(info)) ? "nt " : " ");
    }
    EXPECT_EQ("1 2 3 7 4nt 4nt 5nt 6nt 8nt 0 0 0 0 ", codes);
}

// Bounds are 16-bit values, sign-extended; the position is limited to the upper bound,
// then to the lower one. Every change of position redraws, a change of range does not.
// The run's bar moves one unit every `stride` steps, counted afresh from a new stride.
TEST(ProgressModel, ClampsToItsRangeAndMovesEveryStrideSteps) {
    MemoryPlatform mem;
    EraserDlg dlg(mem.platform);
    ProgressModel& progress = dlg.progress;
    std::vector<int> seen;
    progress.onRedraw = [&](int pos) { seen.push_back(pos + 1000); };  // redraws as 1000 + pos
    int lower = -1, upper = -1;
    progress.GetRange(&lower, &upper);
    seen.insert(seen.end(), {lower, upper});
    dlg.SetProgressStride(2);
    dlg.StepProgress();
    dlg.SetProgressStride(3);
    for (int step = 0; step < 3; ++step) {
        dlg.StepProgress();
        seen.push_back(progress.GetPos());
    }
    seen.push_back(progress.SetPos(50));
    progress.SetRange(0, 10);
    seen.push_back(progress.OffsetPos(1));
    seen.push_back(progress.SetPos(-5));
    progress.SetRange(0, static_cast<std::int16_t>(40000));
    progress.GetRange(&lower, &upper);
    seen.push_back(upper);
    seen.push_back(progress.SetPos(500));
    EXPECT_EQ(
        (std::vector<int>{0, 100, 0, 0, 1001, 1, 1050, 1, 1010, 50, 1000, 10, -25536, 1000, 0}),
        seen);
}

}  // namespace
