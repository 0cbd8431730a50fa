// Helpers shared by the tests that run under Wine.
#pragma once

#include <string>
#include <vector>

// The Windows version the test runs under, as the wrapper set it ("winxp" by default).
std::string CurrentWinver();

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs commandLine and collects its standard output and error.
ProcessResult RunProcess(const std::string& commandLine);

// Creates path with content and moves it to the recycle bin; false when either fails.
bool RecycleNewFile(const std::string& path, const std::string& content);

// Writes the settings key with every category off (or on) and the given policy.
void StoreAllSwitches(bool on, int policy);
void DeleteSettingsKey();
