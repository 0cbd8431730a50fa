// Fault injection for the in-memory platform: makes named calls fail with a chosen
// Win32 error, optionally only for arguments that contain a given text, or only the n-th
// such call, or lets calls that move bytes move only so many before they fail.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/win_error.h"

class FaultPlan {
public:
    // Every later call named `call` (for example "Registry.SetValue") whose argument
    // contains `match` fails with `error`, `times` times (forever when negative).
    void Fail(const std::string& call, WinError error, const std::string& match = "",
              int times = -1) {
        rules_.push_back({call, match, error, times, false, 0, 0, false});
    }
    // The n-th later call named `call` (counting from 1) fails with `error`, once; the
    // calls before it and after it succeed. `partway`: a call that moves bytes moves half
    // of them first, as a write cut short by a full disk does.
    void FailNth(const std::string& call, int n, WinError error, bool partway = false) {
        rules_.push_back({call, "", error, 1, false, 0, n - 1, partway});
    }
    // Calls named `call` (for example "Files.Write") whose argument contains `match`
    // move `bytes` bytes in all; the call that would go past them moves what is left and
    // fails with `error`, and every later one moves nothing and fails.
    void FailAfterBytes(const std::string& call, WinError error, std::uint64_t bytes,
                        const std::string& match = "") {
        rules_.push_back({call, match, error, -1, true, bytes, 0, false});
    }
    void Clear() {
        rules_.clear();
        cut_ = winerr::kSuccess;
    }

    // The error the next call should fail with, or kSuccess.
    WinError Check(const std::string& call, const std::string& argument) {
        for (Rule& rule : rules_) {
            if (rule.byBytes || !Matches(rule, call, argument)) {
                continue;
            }
            if (rule.skip > 0) {
                --rule.skip;
                continue;
            }
            if (rule.times > 0) {
                --rule.times;
            }
            if (rule.partway) {
                cut_ = rule.error;  // Allow, asked next for this call, fails it
                return winerr::kSuccess;
            }
            return rule.error;
        }
        return winerr::kSuccess;
    }

    // For a call that wants to move `wanted` bytes: how many it may move. *error is the
    // failure of a call cut short, kSuccess otherwise.
    std::uint64_t Allow(const std::string& call, const std::string& argument, std::uint64_t wanted,
                        WinError* error) {
        *error = std::exchange(cut_, winerr::kSuccess);
        if (*error != winerr::kSuccess) {
            return wanted / 2;
        }
        for (Rule& rule : rules_) {
            if (!rule.byBytes || !Matches(rule, call, argument)) {
                continue;
            }
            std::uint64_t allowed = std::min(wanted, rule.bytesLeft);
            rule.bytesLeft -= allowed;
            if (allowed < wanted) {
                *error = rule.error;
            }
            return allowed;
        }
        return wanted;
    }

private:
    struct Rule {
        std::string call;
        std::string match;
        WinError error;
        int times;
        bool byBytes;
        std::uint64_t bytesLeft;
        int skip;  // matching calls to let through before the rule applies
        bool partway;
    };
    static bool Matches(const Rule& rule, const std::string& call, const std::string& argument) {
        return rule.times != 0 && rule.call == call &&
               argument.find(rule.match) != std::string::npos;
    }
    std::vector<Rule> rules_;
    WinError cut_ = winerr::kSuccess;  // the failure of a call that moves bytes partway
};
