#include "wine/browser_windows_stand_in.h"

#include <fstream>
#include <sstream>

#include "wine/wine_support.h"

namespace {

constexpr char kReadyEvent[] = "CorvaneBrowserWindowsReady";

}  // namespace

BrowserWindowsStandIn::BrowserWindowsStandIn()
    : recordPath_(ProgramFolder() + "browser_windows.log") {
    DeleteFileA(recordPath_.c_str());
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, kReadyEvent);
    std::string commandLine =
        "\"" + ProgramFolder() + "browser_windows_app.exe\" \"" + recordPath_ + "\" " + kReadyEvent;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        if (WaitForSingleObject(ready, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            CloseHandle(process_);
            process_ = nullptr;
        }
    }
    CloseHandle(ready);
}

BrowserWindowsStandIn::~BrowserWindowsStandIn() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 0);
        WaitForSingleObject(process_, 10000);
        CloseHandle(process_);
    }
    DeleteFileA(recordPath_.c_str());
}

std::map<std::string, std::vector<std::string>> BrowserWindowsStandIn::Received() const {
    std::map<std::string, std::vector<std::string>> received;
    std::ifstream record(recordPath_);
    std::string line;
    while (std::getline(record, line)) {
        size_t space = line.find(' ');
        received[line.substr(0, space)].push_back(line.substr(space + 1));
    }
    return received;
}
