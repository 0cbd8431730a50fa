// Fault injection for the in-memory platform: makes named calls fail with a chosen
// Win32 error, optionally only for arguments that contain a given text, or only the n-th
// such call, or lets calls that move bytes move only so many before they fail. It can
// also record every call it is asked about, so that a test learns which calls a run makes.
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
        rules_.push_back(Rule::Failing(call, error).Matching(match).Times(times));
    }
    // The n-th later call named `call` (counting from 1) fails with `error`, once; the
    // calls before it and after it succeed. `partway`: a call that moves bytes moves half
    // of them first, as a write cut short by a full disk does.
    void FailNth(const std::string& call, int n, WinError error, bool partway = false) {
        rules_.push_back(Rule::Failing(call, error).Times(1).After(n - 1).Partway(partway));
    }
    // Calls named `call` (for example "Files.Write") whose argument contains `match`
    // move `bytes` bytes in all; the call that would go past them moves what is left and
    // fails with `error`, and every later one moves nothing and fails.
    void FailAfterBytes(const std::string& call, WinError error, std::uint64_t bytes,
                        const std::string& match = "") {
        rules_.push_back(Rule::Failing(call, error).Matching(match).AfterBytes(bytes));
    }
    void Clear() {
        rules_.clear();
        cut_ = winerr::kSuccess;
    }

    // A call as Check saw it: its name and the argument it was matched against.
    struct Call {
        std::string name;
        std::string argument;
    };
    // While recording is on, every Check appends its call to `calls`.
    bool recording = false;
    std::vector<Call> calls;

    // The error the next call should fail with, or kSuccess. Every operation of a memory
    // double asks this first, before it reads or changes anything.
    WinError Check(const std::string& call, const std::string& argument) {
        if (recording) {
            calls.push_back({call, argument});
        }
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
    // Made by Failing and shaped by the named setters after it, so that a rule reads as
    // what it does rather than as a row of bare values.
    struct Rule {
        std::string call;
        std::string match;  // a text the argument contains; empty matches every argument
        WinError error = winerr::kSuccess;
        int times = -1;  // calls left to fail; forever when negative
        bool byBytes = false;
        std::uint64_t bytesLeft = 0;
        int skip = 0;  // matching calls to let through before the rule applies
        bool partway = false;

        static Rule Failing(const std::string& call, WinError error) {
            Rule rule;
            rule.call = call;
            rule.error = error;
            return rule;
        }
        Rule& Matching(const std::string& text) {
            match = text;
            return *this;
        }
        Rule& Times(int count) {
            times = count;
            return *this;
        }
        Rule& After(int calls) {
            skip = calls;
            return *this;
        }
        Rule& Partway(bool cut) {
            partway = cut;
            return *this;
        }
        Rule& AfterBytes(std::uint64_t bytes) {
            byBytes = true;
            bytesLeft = bytes;
            return *this;
        }
    };
    static bool Matches(const Rule& rule, const std::string& call, const std::string& argument) {
        return rule.times != 0 && rule.call == call &&
               argument.find(rule.match) != std::string::npos;
    }
    std::vector<Rule> rules_;
    WinError cut_ = winerr::kSuccess;  // the failure of a call that moves bytes partway
};
