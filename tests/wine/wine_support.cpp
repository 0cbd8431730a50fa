#include "wine/wine_support.h"

#include <shlwapi.h>
#include <windows.h>

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
    Win32Registry registry;
    SaveSettings(registry, settings);
}

void DeleteSettingsKey() {
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvix\\Corvane");
}
