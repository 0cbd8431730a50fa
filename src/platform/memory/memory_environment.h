// In-memory environment: variables a test sets, names without regard to case, and the
// temporary folder, which TMP names. Starts with the TMP of a Windows XP profile.
#pragma once

#include <map>
#include <string>

#include "platform/environment.h"
#include "platform/memory/fault_plan.h"

class MemoryEnvironment : public Environment {
public:
    MemoryEnvironment();

    std::uint32_t GetVariable(const std::string& name, char* buffer, std::uint32_t size) override;
    std::uint32_t TempPath(char* buffer, std::uint32_t size) override;

    // Sets a variable; an empty value removes it.
    void Set(const std::string& name, const std::string& value);

    // "Environment.GetVariable" (the argument is the variable's name) and
    // "Environment.TempPath" (empty) make the call answer 0, as a failed call does.
    FaultPlan faults;

private:
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::map<std::string, std::string, NameLess> variables_;
};
