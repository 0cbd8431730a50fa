// Helpers shared by the tests that run under Wine.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/command_state.h"

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

// Holds a file open from another process (the helper program), for reading and writing
// without sharing, from construction to destruction.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    // Whether the helper reported that it holds the file.
    bool Holding() const { return holding_; }

private:
    void* process_ = nullptr;
    void* input_ = nullptr;
    bool holding_ = false;
};

// Runs the helper program with args and returns what it printed.
ProcessResult RunHelper(const std::string& args);

// Runs corvane.exe (beside the tests) with args.
ProcessResult RunCorvane(const std::string& args);

// Writes a file with content (false when it cannot be created).
bool WriteFileBytes(const std::string& path, const std::string& content);
// The content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool PathExists(const std::string& path);
// Removes a folder with everything in it, read-only files included, or a file.
void RemoveTreeForTest(const std::string& folder);

// Removes the paths it is given when it goes out of scope, so that a test that fails
// half-way still leaves the prefix as it found it.
class RemoveAtEnd {
public:
    RemoveAtEnd() = default;
    RemoveAtEnd(const RemoveAtEnd&) = delete;
    RemoveAtEnd& operator=(const RemoveAtEnd&) = delete;
    ~RemoveAtEnd() {
        for (const std::string& path : paths) {
            RemoveTreeForTest(path);
        }
    }
    std::vector<std::string> paths;
};

// The recycle bin's total size in bytes and number of items (-1, -1 when the query
// fails).
std::pair<long long, long long> RecycleBinContent();

// Creates path with content and moves it to the recycle bin; false when either fails.
bool RecycleNewFile(const std::string& path, const std::string& content);

// Writes the settings key: the given record, or every category off (or on) with the
// given policy.
void StoreSettings(const EraserSettings& settings);
void StoreAllSwitches(bool on, int policy);
void DeleteSettingsKey();
