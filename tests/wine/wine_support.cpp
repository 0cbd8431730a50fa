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
    for (std::int32_t* field :
         {&settings.clearHistory, &settings.clearCookies, &settings.clearTempInternetFiles,
          &settings.clearIndexDat, &settings.resetStartPage, &settings.emptyRecycleBin,
          &settings.clearRecentDocs, &settings.clearAutoComplete, &settings.clearWindowsTemp,
          &settings.clearSearchHistory}) {
        *field = on ? 1 : 0;
    }
    settings.closeBrowserPolicy = policy;
    Win32Registry registry;
    SaveSettings(registry, settings);
}

void DeleteSettingsKey() {
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix\\Corvane");
}

bool RecycleNewFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    std::string from = path + '\0';  // a list of names, ended by an empty one
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}
