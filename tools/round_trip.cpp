// corvane_round_trip --count N [--seed S]: the round-trip property of
// tests/snapshot/round_trip_test.cpp over N generated profiles from seed S (a random
// seed when none is given), for runs longer than the test command's.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

extern unsigned gSeed;
extern int gProfiles;

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    gSeed = std::random_device()();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--count") {
            gProfiles = std::atoi(argv[i + 1]);
        } else if (std::string(argv[i]) == "--seed") {
            gSeed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        }
    }
    std::printf("profiles from seed %u: %d\n", gSeed, gProfiles);
    return RUN_ALL_TESTS();
}
