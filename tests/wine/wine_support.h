// What the tests under Wine share: other processes (corvane.exe itself and the helper
// program beside it), files, the recycle bin, the settings key, and one fixture that
// gives each test a scratch folder as its TMP and leaves the prefix as it found it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the shell headers build on it.
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/win32_registry.h"
#include "settings/settings_store.h"
#include "state/command_state.h"

using Lines = std::vector<std::string>;

inline Lines operator+(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// The Windows version the test runs under, as the wrapper set it ("winxp" by default).
inline const std::string kWinver =
    std::getenv("CORVANE_WINVER") != nullptr ? std::getenv("CORVANE_WINVER") : "winxp";

// A program of the tests' folder run through the command interpreter, its standard
// output and error read through one pipe.
class Child {
public:
    explicit Child(const std::string& programAndArgs) {
        char path[MAX_PATH];
        std::string line(path, GetModuleFileNameA(nullptr, path, sizeof path));
        pipe_ =
            _popen((line.substr(0, line.rfind('\\') + 1) + programAndArgs + " 2>&1").c_str(), "rb");
    }
    ~Child() { Finish(true); }
    // The first line it printed, without its end.
    std::string FirstLine() {
        char line[100] = "";
        return std::string(line,
                           pipe_ && std::fgets(line, 100, pipe_) ? std::strcspn(line, "\r\n") : 0);
    }
    // Once it has ended, its exit code, then the rest of its output line by line (each
    // ended by "\r\n" or "\n"); a helper showing windows is told to end first.
    Lines Finish(bool endHelper = false) {
        if (pipe_ != nullptr && endHelper) {
            PostMessageA(FindWindowA(nullptr, "corvane_wine_helper"), WM_QUIT, 0, 0);
        }
        std::string out;
        char buffer[4096];
        for (size_t read = 0; pipe_ && (read = std::fread(buffer, 1, sizeof buffer, pipe_));) {
            out.append(buffer, read);
        }
        Lines lines = {std::to_string(pipe_ != nullptr ? _pclose(pipe_) : -1)};
        pipe_ = nullptr;
        for (size_t at = 0, end; (end = out.find('\n', at)) != std::string::npos; at = end + 1) {
            lines.push_back(out.substr(at, end - at - (end > at && out[end - 1] == '\r')));
        }
        return lines;
    }

private:
    FILE* pipe_ = nullptr;
};

// corvane.exe run with args; with /utf8 its output is turned back into GBK.
inline Lines RunCorvane(const std::string& args) {
    Lines lines = Child("corvane.exe " + args).Finish();
    for (std::string& line : lines) {
        int size = static_cast<int>(line.size());
        std::wstring wide(size, L'\0');
        wide.resize(MultiByteToWideChar(CP_UTF8, 0, line.data(), size, &wide[0], size));
        line.resize(args.find("/utf8") == std::string::npos
                        ? size
                        : WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()),
                                              &line[0], size, nullptr, nullptr));
    }
    return lines;
}

// An entry of WinINet's cache, without a file, from this process.
inline bool Commit(const std::string& url) {
    return CommitUrlCacheEntryA(url.c_str(), nullptr, {}, {}, NORMAL_CACHE_ENTRY, nullptr, 0,
                                nullptr, nullptr) != FALSE;
}

inline bool WriteFileBytes(const std::string& path, const std::string& content) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary) << content);
}
inline bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a file or a folder tree, read-only files included, or moves it to the bin.
inline bool ShellDelete(const std::string& path, bool recycle) {
    std::string from = path + '\0';  // a list of names, ended by an empty one
    FILEOP_FLAGS flags =
        (recycle ? FOF_ALLOWUNDO : 0) | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFILEOPSTRUCTA operation = {nullptr, FO_DELETE, from.c_str(), nullptr,
                                 flags,   FALSE,     nullptr,      nullptr};
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}
// Each test gets the empty folder C:\corvane-wine and, as TMP, its subfolder Temp, and the
// shell's cache folders point into it: the programs started meanwhile keep WinINet's
// containers and their index.dat files there. The settings key starts and ends empty, and
// so does whatever else Clean takes away.
class WineTest : public ::testing::Test {
protected:
    static constexpr char kScratch[] = "C:\\corvane-wine";
    static constexpr char kTemp[] = "C:\\corvane-wine\\Temp";
    // Off for a test whose own process puts entries into WinINet's cache: the process
    // keeps the containers it found first.
    bool redirectCacheFolders = true;
    static constexpr char kShellFolders[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

    void SetUp() override {
        Clean();
        SetEnvironmentVariableA("TMP", kTemp);
        SHCreateDirectoryExA(nullptr, kTemp, nullptr);
        for (auto& [name, folder, old] : folders_) {
            if (!redirectCacheFolders) {
                break;
            }
            DWORD size = sizeof old;
            RegGetValueA(HKEY_CURRENT_USER, kShellFolders, name, RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                         old, &size);
            SetFolder(name, std::string(kScratch) + "\\" + folder);
        }
    }
    void TearDown() override {
        // The C runtime's copy of the environment, not changed by SetEnvironmentVariableA,
        // still holds the TMP the process started with.
        SetEnvironmentVariableA("TMP", std::getenv("TMP"));
        for (const auto& [name, folder, old] : folders_) {
            redirectCacheFolders ? SetFolder(name, old) : void();
        }
        Clean();
    }
    virtual void Clean() {
        ShellDelete(kScratch, false);
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix\\Corvane");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix");  // when nothing else is in it
    }
    static void StoreSettings(const EraserSettings& settings) {
        Win32Registry registry;
        SaveSettings(registry, settings);
    }
    // What a run of corvane.exe whose groups print these lines shows: exit code 0, then its
    // output, each group followed by the separator; no version line for a version it does
    // not know.
    static Lines Printed(std::initializer_list<Lines> groups) {
        const std::string dots(44, '.');
        // clang-format off
        const std::map<std::string, std::string> names = {{"win95", "95"}, {"win98", "98"},
            {"winme", "ME"}, {"nt40", "NT"}, {"win2k", "2000"}, {"winxp", "XP"},
            {"win2003", "Server 2003 家族"}};
        // clang-format on
        const auto name = names.find(kWinver);
        Lines lines =
            name == names.end() ? Lines{"0"} : Lines{"0", "操作系统: Windows " + name->second};
        lines = lines + Lines{dots, "正在分析系统... Please wait. This may take some time",
                              "正在分析系统 <OK>", dots};
        for (const Lines& group : groups) {
            lines = lines + group + Lines{dots};
        }
        return lines + Lines{"完成!"};
    }

private:
    static void SetFolder(const char* name, const std::string& path) {
        SHSetValueA(HKEY_CURRENT_USER, kShellFolders, name, REG_EXPAND_SZ, path.c_str(),
                    static_cast<DWORD>(path.size() + 1));
    }
    // clang-format off
    struct { const char *name, *folder; char old[MAX_PATH]; } folders_[3] = {
        {"Cookies", "Cookies", ""}, {"Cache", "Internet 临时文件夹", ""}, {"History", "历史", ""}};
    // clang-format on
};
