// What the erasers rely on of the environment, checked on the in-memory double and on the
// Win32 calls. EnvironmentTraits<T>::Set sets a variable (an empty value removes it), ::Get
// reads one (empty when unset); the test puts back the TMP it changed.
#pragma once

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
    void SetUp() override { saved = Traits::Get(environment, "TMP"); }
    void TearDown() override { Traits::Set(environment, "TMP", saved); }
    // Sets a variable, then reads CORVANE_X (when that was set) or the temporary folder into
    // `size` bytes: what the call answered and, when it fitted, what it wrote (in lower
    // case, which paths ignore).
    std::string Read(const std::string& name, const char* value, std::uint32_t size) {
        char buffer[64] = "";
        Traits::Set(environment, name, value);
        std::uint32_t length = name == "CORVANE_X"
                                   ? environment.GetVariable("corvane_x", buffer, size)
                                   : environment.TempPath(buffer, size);
        return std::to_string(length) + " " + GbkAsciiLower(length < size ? buffer : "");
    }

    EnvironmentType environment;
    std::string saved;
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
