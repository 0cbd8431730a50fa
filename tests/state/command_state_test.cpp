#include "state/command_state.h"

#include <gtest/gtest.h>

namespace {

// Each answer's code, with "nt" for the NT family.
TEST(OsVersionCode, OfEachVersionAnswer) {
    // clang-format off
    const OsVersionInfo answers[] = {{3, 10, 0}, {4, 0, 1}, {4, 10, 1}, {4, 90, 1}, {3, 51, 2},
        {4, 0, 2}, {5, 0, 2}, {5, 1, 2}, {5, 2, 2}, {4, 5, 1}, {5, 3, 2}, {6, 0, 2}, {5, 1, 3}};
    // clang-format on
    std::string codes;
    for (const OsVersionInfo& info : answers) {
        codes +=
            std::to_string(OsVersionCode(info)) + (IsNtFamily(OsVersionCode(info)) ? "nt " : " ");
    }
    EXPECT_EQ("1 2 3 7 4nt 4nt 5nt 6nt 8nt 0 0 0 0 ", codes);
}

}  // namespace
