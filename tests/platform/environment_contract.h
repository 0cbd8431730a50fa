// What the erasers rely on of the environment, checked on the in-memory double and on the
// Win32 calls. EnvironmentTraits<T>::Set sets a variable (an empty value removes it), ::Get
// reads one (empty when unset); the test puts back what it changed.
#pragma once

#include <map>
#include <string>

#include "platform/environment.h"
#include "platform/gbk.h"
#include "platform/rows.h"

template <typename EnvironmentType>
struct EnvironmentTraits;

template <typename EnvironmentType>
class EnvironmentContract : public ::testing::Test {
protected:
    using Traits = EnvironmentTraits<EnvironmentType>;
    void SetUp() override {
        for (const char* name : {"TMP", "TEMP", "USERPROFILE"}) {
            saved[name] = Traits::Get(environment, name);
        }
    }
    void TearDown() override {
        for (const auto& variable : saved) {
            Traits::Set(environment, variable.first, variable.second);
        }
    }
    // Sets a variable, then reads CORVANE_X (when that was set) or the temporary folder into
    // `size` bytes: what the call answered and, when it fitted, what it wrote (in lower case:
    // Windows spells its own folder as it likes).
    std::string Read(const std::string& name, const char* value, std::uint32_t size) {
        char buffer[64] = "";
        Traits::Set(environment, name, value);
        std::uint32_t length = name == "CORVANE_X"
                                   ? environment.GetVariable("corvane_x", buffer, size)
                                   : environment.TempPath(buffer, size);
        return std::to_string(length) + " " + GbkAsciiLower(length < size ? buffer : "");
    }

    EnvironmentType environment;
    std::map<std::string, std::string> saved;
};

TYPED_TEST_SUITE_P(EnvironmentContract);

TYPED_TEST_P(EnvironmentContract, VariablesAndTempPath) {
    ExpectRows({
        {this->Read("CORVANE_X", "abcdef", 7), "6 abcdef"},
        {this->Read("CORVANE_X", "abcdef", 6), "7 "},
        {this->Read("CORVANE_X", "", 64), "0 "},
        {this->Read("TMP", "C:\\corvane-tmp", 64), "15 c:\\corvane-tmp\\"},
        {this->Read("TMP", "C:\\corvane-tmp", 10), "16 "},
        {this->Read("TEMP", "C:\\corvane-temp\\", 64), "15 c:\\corvane-tmp\\"},
        {this->Read("TMP", "", 64), "16 c:\\corvane-temp\\"},
        {(this->Read("TEMP", "", 0), this->Read("USERPROFILE", "C:\\corvane-profile", 64)),
         "19 c:\\corvane-profile\\"},
        {this->Read("USERPROFILE", "", 64), "11 c:\\windows\\"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(EnvironmentContract, VariablesAndTempPath);
