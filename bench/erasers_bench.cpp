// Times the temporary folder eraser on 10,000 files under the real platform, Test and
// Clear, beside "cmd /c del /q" on the same files, and the temporary Internet files
// eraser on 10,000 entries of WinINet's cache, each with its file. Prints the figures;
// asserts nothing.
// Run under Wine: tools/wine-run.sh PREFIX build/win32/corvane_bench.exe
#include <windows.h>
// windows.h first: WinINet builds on it.
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "clean/erasers.h"
#include "platform/win32/win32_platform.h"
#include "state/eraser_dlg.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kEntries = 10000;
constexpr char kFolder[] = "C:\\corvane-bench\\Temp";

void Seed() {
    CreateDirectoryA("C:\\corvane-bench", nullptr);
    CreateDirectoryA(kFolder, nullptr);
    for (int i = 0; i < kFiles; ++i) {
        std::string path = std::string(kFolder) + "\\~bench" + std::to_string(i) + ".tmp";
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, "scratch", 7, &written, nullptr);
        CloseHandle(file);
    }
}

int CountFiles() {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((std::string(kFolder) + "\\*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        ++count;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

template <typename Work>
double Seconds(Work work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* what, double seconds, int removed) {
    std::printf("%-34s %8.3f s  %8.1f us/file  (%d files removed)\n", what, seconds,
                seconds * 1e6 / kFiles, removed);
}

std::string EntryUrl(int i) {
    return "http://bench.corvane.test/page" + std::to_string(i) + ".htm";
}

// Pages as a browser caches them: a file in the cache folder, then the entry. The count
// of entries committed.
int SeedUrlCache() {
    int committed = 0;
    FILETIME never = {};
    for (int i = 0; i < kEntries; ++i) {
        std::string url = EntryUrl(i);
        char path[MAX_PATH];
        if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", path, 0)) {
            continue;
        }
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "<html></html>", 13, &written, nullptr);
        CloseHandle(file);
        committed += CommitUrlCacheEntryA(url.c_str(), path, never, never, NORMAL_CACHE_ENTRY,
                                          nullptr, 0, "htm", nullptr)
                         ? 1
                         : 0;
    }
    return committed;
}

int CountEntries() {
    int count = 0;
    for (int i = 0; i < kEntries; ++i) {
        DWORD size = 0;
        if (GetUrlCacheEntryInfoA(EntryUrl(i).c_str(), nullptr, &size) ||
            GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            ++count;
        }
    }
    return count;
}

void ReportEntries(const char* what, double seconds, int removed) {
    std::printf("%-34s %8.3f s  %8.1f us/entry (%d entries removed)\n", what, seconds,
                seconds * 1e6 / kEntries, removed);
}

void BenchUrlCache(EraserDlg& dlg) {
    int seeded = SeedUrlCache();
    std::printf("%d URL-cache entries seeded\n", seeded);
    dlg.busy = true;  // as during a run: the walk ends once it is cleared
    double test = Seconds([&] { EraseTemporaryInternetFiles(dlg, true); });
    ReportEntries("Test of the temporary Internet files", test, seeded - CountEntries());
    double clear = Seconds([&] { EraseTemporaryInternetFiles(dlg, false); });
    ReportEntries("Clear of the temporary Internet files", clear, seeded - CountEntries());
    dlg.busy = false;
}

void RunDel() {
    std::string line = "cmd /c del /q \"" + std::string(kFolder) + "\\*.tmp\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

}  // namespace

int main() {
    SetEnvironmentVariableA("TMP", kFolder);
    Win32Platform win32;
    EraserDlg dlg(win32.platform);
    dlg.DetectOsVersion();

    // del first and Clear last, so that neither runs on a colder file system.
    Seed();
    double del = Seconds(RunDel);
    Report("cmd /c del /q", del, kFiles - CountFiles());
    Seed();
    double test = Seconds([&] { EraseWindowsTemp(dlg, true); });
    Report("Test of the temporary folder", test, kFiles - CountFiles());
    double clear = Seconds([&] { EraseWindowsTemp(dlg, false); });
    Report("Clear of the temporary folder", clear, kFiles - CountFiles());
    std::printf("Clear / del: %.2f\n", clear / del);
    BenchUrlCache(dlg);

    RemoveDirectoryA(kFolder);
    RemoveDirectoryA("C:\\corvane-bench");
    return 0;
}
