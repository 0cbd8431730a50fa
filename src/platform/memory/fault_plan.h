// Fault injection for the in-memory platform: makes named calls fail with a chosen
// Win32 error, optionally only for arguments that contain a given text.
#pragma once

#include <string>
#include <vector>

#include "platform/win_error.h"

class FaultPlan {
public:
    // Every later call named `call` (for example "Registry.SetValue") whose argument
    // contains `match` fails with `error`, `times` times (forever when negative).
    void Fail(const std::string& call, WinError error, const std::string& match = "",
              int times = -1) {
        rules_.push_back({call, match, error, times});
    }
    void Clear() { rules_.clear(); }

    // The error the next call should fail with, or kSuccess.
    WinError Check(const std::string& call, const std::string& argument) {
        for (Rule& rule : rules_) {
            if (rule.times == 0 || rule.call != call ||
                argument.find(rule.match) == std::string::npos) {
                continue;
            }
            if (rule.times > 0) {
                --rule.times;
            }
            return rule.error;
        }
        return winerr::kSuccess;
    }

private:
    struct Rule {
        std::string call;
        std::string match;
        WinError error;
        int times;
    };
    std::vector<Rule> rules_;
};
