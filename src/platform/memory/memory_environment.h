// In-memory environment: variables a test sets, names without regard to case, and the
// temporary folder, which TMP names. Starts with the TMP of a Windows XP profile.
#pragma once

#include <map>
#include <string>

#include "platform/environment.h"

class MemoryEnvironment : public Environment {
public:
    MemoryEnvironment();

    std::uint32_t GetVariable(const std::string& name, char* buffer, std::uint32_t size) override;
    std::uint32_t TempPath(char* buffer, std::uint32_t size) override;

    // Sets a variable; an empty value removes it.
    void Set(const std::string& name, const std::string& value);

private:
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::map<std::string, std::string, NameLess> variables_;
};
