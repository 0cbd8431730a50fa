#include "wine/wine_support.h"

#include <windows.h>
// windows.h first: the shell headers build on it.
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>

#include "app/command_state.h"
#include "platform/win32/win32_registry.h"
#include "settings/settings_store.h"

std::string CurrentWinver() {
    const char* winver = std::getenv("CORVANE_WINVER");
    return winver != nullptr && *winver != '\0' ? winver : "winxp";
}

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

namespace {

std::string ReadAll(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

}  // namespace

ProcessResult RunProcess(const std::string& commandLine) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process = {};
    std::string mutableLine = commandLine;
    ProcessResult result;
    BOOL started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        // Small outputs: reading one pipe to its end before the other cannot block.
        result.out = ReadAll(outRead);
        result.err = ReadAll(errRead);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

void StoreAllSwitches(bool on, int policy) {
    EraserSettings settings;
    SetAllSwitches(settings, on ? 1 : 0);
    settings.closeBrowserPolicy = policy;
    StoreSettings(settings);
}

void StoreSettings(const EraserSettings& settings) {
    Win32Registry registry;
    SaveSettings(registry, settings);
}

void DeleteSettingsKey() {
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix\\Corvane");
    // The maker's key goes too when nothing else is left in it, as before the test.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix");
}

HeldFile::HeldFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite;
    CreatePipe(&inRead, &inWrite, &inherit, 0);
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string line = "\"" + ProgramFolder() + "corvane_wine_helper.exe\" hold \"" + path + "\"";
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(inRead);
    CloseHandle(outWrite);
    input_ = inWrite;
    if (started) {
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        std::string answer;  // "held" or "failed", up to the end of its line
        char c = 0;
        DWORD read = 0;
        while (ReadFile(outRead, &c, 1, &read, nullptr) && read == 1 && c != '\n') {
            answer += c;
        }
        holding_ = answer == "held" || answer == "held\r";
    }
    CloseHandle(outRead);
}

HeldFile::~HeldFile() {
    CloseHandle(input_);  // the helper's input ends: it lets go and exits
    if (process_ != nullptr) {
        WaitForSingleObject(process_, INFINITE);
        CloseHandle(process_);
    }
}

ProcessResult RunHelper(const std::string& args) {
    return RunProcess("\"" + ProgramFolder() + "corvane_wine_helper.exe\" " + args);
}

ProcessResult RunCorvane(const std::string& args) {
    return RunProcess("\"" + ProgramFolder() + "corvane.exe\" " + args);
}

bool WriteFileBytes(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "";
    }
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTreeForTest(const std::string& folder) {
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(folder.c_str());
        return;
    }
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            std::string path = folder + "\\" + name;
            if (name == "." || name == "..") {
                continue;
            }
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTreeForTest(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::pair<long long, long long> RecycleBinContent() {
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinA(nullptr, &info))) {
        return {-1, -1};
    }
    return {info.i64Size, info.i64NumItems};
}

bool RecycleNewFile(const std::string& path, const std::string& content) {
    if (!WriteFileBytes(path, content)) {
        return false;
    }
    std::string from = path + '\0';  // a list of names, ended by an empty one
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}
