// Whole processes of Clear and Test of the temporary folder and of the temporary Internet
// files, and of their baselines, for tools/bench.sh, which seeds the folder and the cache
// before each run and prints the table. Prints figures; asserts nothing.
//
//   corvane_bench.exe time WORK     starts WORK in a process of its own and prints
//                                   "seconds S" (start to exit), then the child's lines
//   corvane_bench.exe run WORK      does WORK in this process; prints "peak_mb P", the
//                                   peak working set at its end
//   corvane_bench.exe profile WORK  as run, through the counting platform: one row per call
//   corvane_bench.exe seed-cache N [FIRST]  commits N pages (from number FIRST on) to
//                                   WinINet's cache, each with its file
//
// WORK: temp-clear, temp-test (corvane /clear and /test with only the temporary folder
// chosen), tif-clear, tif-test (only the temporary Internet files), del (cmd /c del /q of
// the folder's files), temp-probe (a bare listing that opens each file for writing, as a
// Test must), tif-walks (a bare counting walk of the cache, then a bare walk that deletes
// each entry: what a Clear needs), tif-walks-test (the same, looking each entry up instead).
// Run under Wine: tools/wine-run.sh PREFIX build/bench/corvane_bench.exe ...
#include <windows.h>
// windows.h first: WinINet and PSAPI build on it.
#include <psapi.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "counting_platform.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"
#include "state/command_state.h"

namespace {

constexpr char kFolder[] = "C:\\corvane-bench\\Temp";

double PeakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / double(1 << 20);
}

// The log as /clear writes it, to a handle that keeps nothing.
class NulOutput : public TextOutput {
public:
    NulOutput()
        : handle_(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr)) {}
    ~NulOutput() override { CloseHandle(handle_); }
    void Write(const std::string& bytes) override {
        DWORD written = 0;
        WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

private:
    HANDLE handle_;
};

// The settings the command line reads: the one category and nothing else.
void ChooseOnly(Registry& registry, std::int32_t EraserSettings::*category) {
    EraserSettings settings;
    for (auto field : kSwitchFields) {
        settings.*field = 0;
    }
    settings.*category = 1;
    settings.closeBrowserPolicy = 1;  // never close: there is no browser to ask about
    SaveSettings(registry, settings);
}

// The log's lines as they leave for the output, on the profile's clock.
class TimedOutput : public TextOutput {
public:
    TimedOutput(TextOutput& out, CallProfile* profile) : out_(out), profile_(profile) {}
    void Write(const std::string& bytes) override {
        if (profile_ == nullptr) {
            out_.Write(bytes);
        } else {
            profile_->Time("WriteFile (log line)", [&] { out_.Write(bytes); });
        }
    }

private:
    TextOutput& out_;
    CallProfile* profile_;
};

int RunCorvane(Platform& platform, CallProfile* profile, std::int32_t EraserSettings::*category,
               const char* command) {
    ChooseOnly(platform.registry, category);
    NulOutput nul;
    TimedOutput out(nul, profile);
    return RunCommandLine({command}, platform, out, out);
}

// The bare walks: a 4096-byte block, grown once when the cache asks for more.
class BareWalk {
public:
    BareWalk() : block_(4096) {}
    ~BareWalk() {
        if (find_ != nullptr) {
            FindCloseUrlCache(find_);
        }
    }
    bool First() {
        return Call([&] {
            find_ = FindFirstUrlCacheEntryA(nullptr, Entry(), &size_);
            return find_ != nullptr;
        });
    }
    bool Next() {
        return Call([&] { return FindNextUrlCacheEntryA(find_, Entry(), &size_); });
    }
    INTERNET_CACHE_ENTRY_INFOA* Entry() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block_.data());
    }
    bool Look(const char* url) {
        return Call([&] { return GetUrlCacheEntryInfoA(url, Entry(), &size_) != FALSE; });
    }

private:
    template <typename F>
    bool Call(F call) {
        size_ = static_cast<DWORD>(block_.size());
        if (call()) {
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            return false;
        }
        block_.resize(size_);
        return call();
    }

    std::vector<char> block_;
    DWORD size_ = 0;
    HANDLE find_ = nullptr;
};

void CountingWalk() {
    BareWalk walk;
    for (bool more = walk.First(); more; more = walk.Next()) {
    }
}

void TakingWalk(bool testMode) {
    BareWalk walk;
    for (bool more = walk.First(); more; more = walk.Next()) {
        std::string url = walk.Entry()->lpszSourceUrlName;
        if (testMode) {
            walk.Look(url.c_str());
        } else {
            DeleteUrlCacheEntryA(url.c_str());
        }
    }
}

void ProbeFiles() {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((std::string(kFolder) + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            std::string path = std::string(kFolder) + "\\" + data.cFileName;
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
            }
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// The work named, in this process; false for an unknown name.
bool DoWork(const std::string& work, Platform& platform, CallProfile* profile) {
    if (work == "temp-clear" || work == "temp-test") {
        SetEnvironmentVariableA("TMP", kFolder);
        RunCorvane(platform, profile, &EraserSettings::clearWindowsTemp,
                   work == "temp-clear" ? "/clear" : "/test");
    } else if (work == "tif-clear" || work == "tif-test") {
        RunCorvane(platform, profile, &EraserSettings::clearTempInternetFiles,
                   work == "tif-clear" ? "/clear" : "/test");
    } else if (work == "tif-walks" || work == "tif-walks-test") {
        CountingWalk();
        TakingWalk(work == "tif-walks-test");
    } else if (work == "temp-probe") {
        ProbeFiles();
    } else {
        return false;
    }
    return true;
}

// Pages as a browser caches them: the entry's file first (empty), then the entry. The
// first failure is told on standard error.
// Stops at the first entry the cache refuses (Wine's index has room for about 60,000
// pages), taking back the file made for it.
int SeedCache(int count, int first) {
    int committed = 0;
    FILETIME never = {};
    for (int i = first; i < first + count; ++i, ++committed) {
        std::string url = "http://bench.corvane.test/page" + std::to_string(i) + ".htm";
        char path[MAX_PATH];
        if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", path, 0)) {
            break;
        }
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!CommitUrlCacheEntryA(url.c_str(), path, never, never, NORMAL_CACHE_ENTRY, nullptr,
                                  0, "htm", nullptr)) {
            std::fprintf(stderr, "entry %d not committed: error %lu\n", i, GetLastError());
            DeleteFileA(path);
            break;
        }
    }
    return committed;
}

// Starts `command` and waits for it; the seconds from its start to its exit.
double TimeProcess(std::string command) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: corvane_bench.exe time|run|profile WORK | seed-cache N\n");
        return 2;
    }
    std::string mode = argv[1];
    std::string work = argv[2];
    if (mode == "seed-cache") {
        std::printf("%d URL-cache entries seeded\n",
                    SeedCache(std::atoi(argv[2]), argc > 3 ? std::atoi(argv[3]) : 0));
        return 0;
    }
    if (mode == "time") {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command = work == "del" ? "cmd /c del /q \"" + std::string(kFolder) + "\\*\""
                                            : "\"" + std::string(self) + "\" run " + work;
        std::fflush(stdout);
        double seconds = TimeProcess(command);
        std::printf("seconds %.3f\n", seconds);
        return seconds < 0;
    }
    Win32Platform win32;
    std::unique_ptr<CountingPlatform> counting;
    if (mode == "profile") {
        counting = std::make_unique<CountingPlatform>(win32);
    }
    auto start = std::chrono::steady_clock::now();
    if (!DoWork(work, counting ? counting->platform : win32.platform,
                counting ? &counting->profile : nullptr)) {
        std::fprintf(stderr, "unknown work %s\n", work.c_str());
        return 2;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (counting) {
        counting->profile.Print(work.c_str(), seconds);
    }
    std::printf("peak_mb %.2f\n", PeakWorkingSetMb());
    return 0;
}
