// The run of every table of the erasers (clean/eraser_rows.h): each row is seeded, run in
// Test and then in Clear, and its logs and what Clear changes compared with the row's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "clean/eraser_rows.h"

TEST_P(EraserRows, TestChangesNothingAndClearChangesWhatItSays) {
    const Row& row = GetParam();
    Lines seeded, gone = Expand(row.gone), added;
    for (const std::string& line : Expand(row.seed)) {
        std::string bare = line.substr(line[0] == '-' || line[0] == '+');
        (line[0] == '+' ? added : seeded).push_back(bare);
        gone.insert(gone.end(), line[0] == '-', bare);
    }
    Seed(mem, seeded);
    if (row.arrange != nullptr) {
        row.arrange(mem, dlg);
    }
    Lines before = Observed();
    for (bool testMode : {true, false}) {
        SCOPED_TRACE(testMode ? "Test" : "Clear");
        dlg.indexDatFound = false;
        CategoryResult result;
        Lines log = LogOf([&] { result = row.step(dlg, testMode); });
        log.insert(log.end(), dlg.indexDatFound, "(index.dat found)");
        log.insert(log.end(), result.kept != 0, "(kept " + std::to_string(result.kept) + ")");
        EXPECT_EQ(Expand(row.logs[!testMode]), log);
        Lines after = testMode ? before : Join({Without(before, gone), added}), now = Observed();
        EXPECT_THAT(now, testing::UnorderedElementsAreArray(after));
    }
}
