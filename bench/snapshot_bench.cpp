// Times Save state and Restore of 2,000 cookie files and a cache index under the real
// platform, beside CopyFileA of the same files in the same run, and prints the bytes per
// second of each, their ratio and the process's peak working set. Asserts nothing.
// Without an argument it runs itself once for each index size (1, 50 and 100 MB), each in
// a process of its own, so that each peak is its own; with one, the index's size in MB,
// and with a second, the turns to take (the medians are printed as table rows); a third,
// "profile", runs them through the counting platform and prints where Save's and
// Restore's time went, call by call.
// Run under Wine: tools/wine-run.sh PREFIX build/win32/corvane_snapshot_bench.exe
#include <windows.h>
// windows.h first: the shell folders build on it.
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "counting_platform.h"
#include "platform/win32/win32_platform.h"
#include "snapshot/snapshot_file.h"
#include "state/eraser_dlg.h"

namespace {

constexpr int kCookies = 2000;
constexpr DWORD kCookieBytes = 200;
constexpr int kIndexSizesMb[] = {1, 50, 100};
constexpr char kCopyFolder[] = "C:\\corvane-bench-copy";

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

// In chunks, so that seeding adds nothing to the peak measured.
void WriteBytes(const std::string& path, DWORD size, char fill) {
    std::vector<char> chunk(1 << 16, fill);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    for (DWORD left = size, written = 0; left > 0; left -= written) {
        DWORD part = left < chunk.size() ? left : static_cast<DWORD>(chunk.size());
        if (!WriteFile(file, chunk.data(), part, &written, nullptr) || written == 0) {
            break;
        }
    }
    CloseHandle(file);
}

double PeakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / double(1 << 20);
}

// Runs this program again with the index size as its argument; its exit status.
DWORD RunChild(int indexMb) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" " + std::to_string(indexMb);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &child)) {
        return 1;
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return status;
}

// The cookie files and the cache index, each path once; the bytes they hold in all.
std::vector<std::string> Seed(DWORD indexBytes, double* bytes) {
    std::vector<std::string> paths;
    std::string cookies = Folder(CSIDL_COOKIES);
    for (int i = 0; i < kCookies; ++i) {
        paths.push_back(cookies + "\\user@bench" + std::to_string(i) + ".txt");
        WriteBytes(paths.back(), kCookieBytes, 'c');
    }
    std::string index = Folder(CSIDL_INTERNET_CACHE) + "\\Content.IE5";
    CreateDirectoryA(index.c_str(), nullptr);
    paths.push_back(index + "\\index.dat");
    WriteBytes(paths.back(), indexBytes, 'i');
    *bytes = double(kCookies) * kCookieBytes + indexBytes;
    return paths;
}

void CopyAll(const std::vector<std::string>& paths) {
    CreateDirectoryA(kCopyFolder, nullptr);
    for (size_t i = 0; i < paths.size(); ++i) {
        std::string copy = std::string(kCopyFolder) + "\\" + std::to_string(i);
        CopyFileA(paths[i].c_str(), copy.c_str(), FALSE);
    }
}

void RemoveCopies(size_t count) {
    for (size_t i = 0; i < count; ++i) {
        DeleteFileA((std::string(kCopyFolder) + "\\" + std::to_string(i)).c_str());
    }
    RemoveDirectoryA(kCopyFolder);
}

template <typename Work>
double Seconds(Work work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One row of tools/bench.sh's table: the ratio is Corvane's time over CopyFileA's.
void Row(const char* what, const char* size, const std::vector<double>& corvane,
         const std::vector<double>& copy, double peakMb) {
    std::vector<double> ratios;
    for (size_t i = 0; i < corvane.size(); ++i) {
        ratios.push_back(corvane[i] / copy[i]);
    }
    std::printf("| %s | %s | %.3f s | %.3f s | %.2f | %.1f MB |\n", what, size, Median(corvane),
                Median(copy), Median(ratios), peakMb);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        DWORD failed = 0;
        for (int indexMb : kIndexSizesMb) {
            failed |= RunChild(indexMb);
        }
        return failed != 0;
    }
    const auto indexBytes = static_cast<DWORD>(std::atoi(argv[1])) << 20;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    CoInitialize(nullptr);  // as the program does: ole32's storage needs it
    Win32Platform win32;
    CountingPlatform saving(win32), restoring(win32);
    const bool profile = argc > 3 && std::string(argv[3]) == "profile";
    EraserDlg saver(profile ? saving.platform : win32.platform);
    EraserDlg restorer(profile ? restoring.platform : win32.platform);
    saver.DetectOsVersion();
    restorer.DetectOsVersion();
    double bytes = 0;
    std::vector<std::string> paths = Seed(indexBytes, &bytes);
    std::printf("%d cookie files of %lu bytes and a cache index of %s MB, %d turns\n", kCookies,
                static_cast<unsigned long>(kCookieBytes), argv[1], rounds);

    // Turns of CopyFileA, Save state and Restore, so that the machine's drift touches all
    // three alike.
    std::vector<double> copies, saves, restores;
    bool ok = true;
    for (int round = 0; round < rounds; ++round) {
        copies.push_back(Seconds([&] { CopyAll(paths); }));
        RemoveCopies(paths.size());
        saves.push_back(Seconds([&] { ok = saver.SaveState() && ok; }));
        restores.push_back(Seconds([&] { ok = restorer.RestoreState() && ok; }));
    }
    double peak = PeakWorkingSetMb();
    std::string size = "2,000 cookie files and a " + std::string(argv[1]) + " MB index";
    Row(ok ? "Save state" : "Save state (failed)", size.c_str(), saves, copies, peak);
    Row(ok ? "Restore" : "Restore (failed)", size.c_str(), restores, copies, peak);
    std::printf("CopyFileA %.1f MB/s, Save %.1f MB/s, Restore %.1f MB/s; peak memory %.1f MB\n",
                bytes / Median(copies) / 1e6, bytes / Median(saves) / 1e6,
                bytes / Median(restores) / 1e6, peak);
    if (profile) {
        auto sum = [](const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); };
        saving.profile.Print("Save state", sum(saves));
        restoring.profile.Print("Restore", sum(restores));
    }
    std::fflush(stdout);

    for (const std::string& path : paths) {
        DeleteFileA(path.c_str());
    }
    DeleteFileA(SnapshotPath(win32.platform.system).c_str());
    return ok ? 0 : 1;
}
