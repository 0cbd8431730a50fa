// What the erasers rely on of the environment, checked on the in-memory double and on the
// Win32 calls. The type parameter's Set(name, value) sets a variable (an empty value
// removes it); the test puts back the TMP it changed.
#pragma once

#include <string>

#include "platform/environment.h"
#include "platform/gbk.h"
#include "platform/rows.h"

template <typename EnvironmentType>
class EnvironmentContract : public ::testing::Test {
protected:
    void SetUp() override { (void)environment.GetVariable("TMP", saved, sizeof saved); }
    void TearDown() override { environment.Set("TMP", saved); }
    // Sets a variable, then reads CORVANE_X (when that was set) or the temporary folder into
    // `size` bytes: what the call answered and, when it fitted, what it wrote (in lower
    // case, which paths ignore).
    std::string Read(const std::string& name, const char* value, std::uint32_t size) {
        char buffer[64] = "";
        environment.Set(name, value);
        std::uint32_t length = name == "CORVANE_X"
                                   ? environment.GetVariable("corvane_x", buffer, size)
                                   : environment.TempPath(buffer, size);
        return Num(length) + " " + GbkAsciiLower(length < size ? buffer : "");
    }

    EnvironmentType environment;
    char saved[260] = "";
};

TYPED_TEST_SUITE_P(EnvironmentContract);

// The size rule of the ANSI calls; TMP names the temporary folder, which always ends in a
// backslash.
TYPED_TEST_P(EnvironmentContract, VariablesAndTempPath) {
    ExpectRows({
        {this->Read("CORVANE_X", "abcdef", 7), "6 abcdef"},
        {this->Read("CORVANE_X", "abcdef", 6), "7 "},
        {this->Read("CORVANE_X", "", 64), "0 "},
        {this->Read("TMP", "C:\\corvane-tmp", 64), "15 c:\\corvane-tmp\\"},
        {this->Read("TMP", "C:\\corvane-tmp", 10), "16 "},
        {this->Read("TMP", "C:\\corvane-temp\\", 64), "16 c:\\corvane-temp\\"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(EnvironmentContract, VariablesAndTempPath);
