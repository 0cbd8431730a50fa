// In-memory System: a configurable Windows version, a message pump that runs a test's
// hook (standing in for the window messages dispatched while a command waits on them),
// and pauses that are recorded instead of slept.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/memory/fault_plan.h"
#include "platform/system.h"

class MemorySystem : public System {
public:
    bool QueryVersion(OsVersionInfo* out) override;
    void PumpMessages() override;
    // Runs the hook only while goOn is true.
    void PumpMessagesWhile(const bool& goOn) override;
    void Pause(std::uint32_t milliseconds) override { pauses.push_back(milliseconds); }
    std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) override;
    FileTime SystemTimeAsFileTime() override { return now; }
    std::string AnsiToUtf8(const std::string& ansi) override;

    // Windows XP Service Pack 2 unless a test says otherwise.
    OsVersionInfo version{5, 1, osplatform::kNt};
    bool versionQueryFails = false;
    std::function<void()> onPump;
    std::vector<std::uint32_t> pauses;
    // The program's executable, and the clock.
    std::string moduleFileName = "C:\\Program Files\\Corvane\\corvane.exe";
    FileTime now{0x5A2B3C4Du, 0x01C8F000u};
    // "System.QueryVersion" fails the query with the record untouched, as Windows does;
    // "System.ModuleFileName" makes it answer 0. The argument is empty.
    FaultPlan faults;
};
