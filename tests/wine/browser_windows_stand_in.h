// Runs browser_windows_app.exe for a test: open browser windows of every class in
// another process, and what each of them was sent.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class BrowserWindowsStandIn {
public:
    BrowserWindowsStandIn();   // starts the program and waits until its windows exist
    ~BrowserWindowsStandIn();  // ends it

    bool Started() const { return process_ != nullptr; }

    // The record lines of each window tag, in the order received, without the tag.
    std::map<std::string, std::vector<std::string>> Received() const;

private:
    std::string recordPath_;
    HANDLE process_ = nullptr;
};
