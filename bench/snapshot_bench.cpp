// Times Save state and Restore of 2,000 cookie files and a cache index under the real
// platform, beside CopyFileA of the same files in the same run, and prints the bytes per
// second of each, their ratio and the process's peak working set. Asserts nothing.
// Without an argument it runs itself once for each index size (1, 50 and 100 MB), each in
// a process of its own, so that each peak is its own; with one, the index's size in MB.
// Run under Wine: tools/wine-run.sh PREFIX build/win32/corvane_snapshot_bench.exe
#include <windows.h>
// windows.h first: the shell folders build on it.
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

void Report(const char* what, double seconds, double bytes, double copySeconds) {
    std::printf("%-14s %8.3f s  %8.1f MB/s  %5.2f x CopyFileA\n", what, seconds,
                bytes / seconds / 1e6, copySeconds / seconds);
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
    CoInitialize(nullptr);  // as the program does: ole32's storage needs it
    Win32Platform win32;
    EraserDlg dlg(win32.platform);
    dlg.DetectOsVersion();
    double bytes = 0;
    std::vector<std::string> paths = Seed(indexBytes, &bytes);
    std::printf("%d cookie files of %lu bytes and a cache index of %s MB\n", kCookies,
                static_cast<unsigned long>(kCookieBytes), argv[1]);

    double copy = Seconds([&] { CopyAll(paths); });
    Report("CopyFileA", copy, bytes, copy);
    bool saved = false;
    double save = Seconds([&] { saved = dlg.SaveState(); });
    Report(saved ? "Save state" : "Save (failed)", save, bytes, copy);
    bool restored = false;
    double restore = Seconds([&] { restored = dlg.RestoreState(); });
    Report(restored ? "Restore" : "Restore (failed)", restore, bytes, copy);
    std::printf("%-14s %8.1f MB\n", "peak memory", PeakWorkingSetMb());
    std::fflush(stdout);

    RemoveCopies(paths.size());
    for (const std::string& path : paths) {
        DeleteFileA(path.c_str());
    }
    DeleteFileA(SnapshotPath(win32.platform.system).c_str());
    return saved && restored ? 0 : 1;
}
