// What the tests under Wine share: other processes (corvane.exe itself and the helper
// program beside it), files, the recycle bin, the settings key, and one fixture that
// gives each test a scratch folder as its TMP and leaves the prefix as it found it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the shell headers build on it.
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/command_state.h"
#include "platform/win32/win32_registry.h"
#include "settings/settings_store.h"

using Lines = std::vector<std::string>;

inline Lines operator+(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// The Windows version the test runs under, as the wrapper set it ("winxp" by default).
inline std::string CurrentWinver() {
    return std::getenv("CORVANE_WINVER") != nullptr ? std::getenv("CORVANE_WINVER") : "winxp";
}

struct ProcessResult {
    int exitCode = -1;
    std::string out;  // standard output and error, as they came
};

// A program of the tests' folder run through the command interpreter, its standard
// output and error read through one pipe.
class Child {
public:
    explicit Child(const std::string& programAndArgs) {
        char path[MAX_PATH];
        std::string line(path, GetModuleFileNameA(nullptr, path, sizeof path));
        line = line.substr(0, line.rfind('\\') + 1) + programAndArgs + " 2>&1";
        pipe_ = _popen(line.c_str(), "rb");
    }
    ~Child() { Finish(true); }
    // The first line it printed, without its end.
    std::string FirstLine() {
        char line[100] = "";
        if (pipe_ != nullptr) {
            std::fgets(line, sizeof line, pipe_);
        }
        return std::string(line, std::strcspn(line, "\r\n"));
    }
    // Its exit code and the rest of its output once it has ended; a helper holding a file
    // or showing windows is told to end first.
    ProcessResult Finish(bool endHelper = false) {
        if (endHelper && pipe_ != nullptr) {
            PostMessageA(FindWindowA(nullptr, "corvane_wine_helper"), WM_QUIT, 0, 0);
        }
        ProcessResult result;
        char buffer[4096];
        for (size_t read = 0; pipe_ && (read = std::fread(buffer, 1, sizeof buffer, pipe_));) {
            result.out.append(buffer, read);
        }
        result.exitCode = pipe_ != nullptr ? _pclose(pipe_) : -1;
        pipe_ = nullptr;
        return result;
    }

private:
    FILE* pipe_ = nullptr;
};

// corvane.exe run with args; with /utf8 its output is turned back into GBK.
inline ProcessResult RunCorvane(const std::string& args) {
    ProcessResult result = Child("corvane.exe " + args).Finish();
    if (args.find("/utf8") != std::string::npos) {
        std::wstring wide(result.out.size(), L'\0');
        wide.resize(MultiByteToWideChar(CP_UTF8, 0, result.out.data(),
                                        static_cast<int>(result.out.size()), wide.data(),
                                        static_cast<int>(wide.size())));
        result.out.resize(wide.size() * 2);
        result.out.resize(WideCharToMultiByte(
            936, 0, wide.data(), static_cast<int>(wide.size()), result.out.data(),
            static_cast<int>(result.out.size()), nullptr, nullptr));
    }
    return result;
}

// The lines of a text, each ended by "\r\n" or "\n".
inline Lines Split(const std::string& text) {
    Lines lines;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        lines.push_back(text.substr(at, end - at - (end > at && text[end - 1] == '\r')));
    }
    return lines;
}

inline bool WriteFileBytes(const std::string& path, const std::string& content) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary) << content);
}
inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
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
inline bool RecycleNewFile(const std::string& path, const std::string& content) {
    return WriteFileBytes(path, content) && ShellDelete(path, true) && !PathExists(path);
}
// The recycle bin's total size in bytes and number of items.
inline std::pair<long long, long long> RecycleBinContent() {
    SHQUERYRBINFO info = {sizeof info, -1, -1};
    SHQueryRecycleBinA(nullptr, &info);
    return {info.i64Size, info.i64NumItems};
}

inline void StoreSettings(const EraserSettings& settings) {
    Win32Registry registry;
    SaveSettings(registry, settings);
}

// Each test gets the empty folder C:\corvane-wine and, as TMP, its subfolder Temp; the
// settings key and the recycle bin start and end empty.
class WineTest : public ::testing::Test {
protected:
    static constexpr char kScratch[] = "C:\\corvane-wine";
    static constexpr char kTemp[] = "C:\\corvane-wine\\Temp";
    inline static const std::string kDots = std::string(44, '.');

    void SetUp() override {
        char tmp[MAX_PATH] = "";
        GetEnvironmentVariableA("TMP", tmp, sizeof tmp);
        savedTmp_ = tmp;
        TearDown();
        SetEnvironmentVariableA("TMP", kTemp);
        CreateDirectoryA(kScratch, nullptr);
        CreateDirectoryA(kTemp, nullptr);
    }
    void TearDown() override {
        SetEnvironmentVariableA("TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
        ShellDelete(kScratch, false);
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix\\Corvane");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix");  // when nothing else is in it
        SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI);
    }
    // What corvane.exe prints for a run whose groups print these lines, each group
    // followed by the separator.
    static Lines Printed(std::initializer_list<Lines> groups) {
        // No line for a version it does not know.
        const std::map<std::string, std::string> kVersions = {{"win95", "95"},
                                                              {"win98", "98"},
                                                              {"winme", "ME"},
                                                              {"nt40", "NT"},
                                                              {"win2k", "2000"},
                                                              {"winxp", "XP"},
                                                              {"win2003", "Server 2003 家族"}};
        auto version = kVersions.find(CurrentWinver());
        Lines lines;
        if (version != kVersions.end()) {
            lines.push_back("操作系统: Windows " + version->second);
        }
        lines = lines + Lines{kDots, "正在分析系统... Please wait. This may take some time",
                              "正在分析系统 <OK>", kDots};
        for (const Lines& group : groups) {
            lines = lines + group + Lines{kDots};
        }
        return lines + Lines{"完成!"};
    }

private:
    std::string savedTmp_;
};
