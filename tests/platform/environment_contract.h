// What the erasers rely on of the environment, checked on the in-memory double and on the
// Win32 calls. EnvironmentTraits<T>::Set sets a variable (an empty value removes it), ::Get
// reads one (empty when unset); the test puts back what it changed.
#pragma once

#include <string>

#include "platform/environment.h"
#include "platform/rows.h"

template <typename EnvironmentType>
struct EnvironmentTraits;

template <typename EnvironmentType>
class EnvironmentContract : public ::testing::Test {
protected:
    using Traits = EnvironmentTraits<EnvironmentType>;
    void TearDown() override {
        Traits::Set(environment, "TMP", tmp);
        Traits::Set(environment, "TEMP", temp);
        Traits::Set(environment, "CORVANE_X", "");
    }
    // Sets a variable, then says what the call answered and, when it fitted, what it wrote.
    template <typename Call>
    std::string Read(const char* name, const char* value, std::uint32_t size, Call call) {
        char buffer[64] = "";
        Traits::Set(environment, name, value);
        std::uint32_t length = call(environment, buffer, size);
        return std::to_string(length) + " " + (length < size ? buffer : "");
    }

    EnvironmentType environment;
    const std::string tmp = Traits::Get(environment, "TMP"),
                      temp = Traits::Get(environment, "TEMP");
};

TYPED_TEST_SUITE_P(EnvironmentContract);

TYPED_TEST_P(EnvironmentContract, VariablesAndTempPath) {
    auto variable = [](TypeParam& e, char* buffer, std::uint32_t size) {
        return e.GetVariable("corvane_x", buffer, size);
    };
    auto temp = [](TypeParam& e, char* buffer, std::uint32_t size) {
        return e.TempPath(buffer, size);
    };
    ExpectRows({
        {this->Read("CORVANE_X", "abcdef", 7, variable), "6 abcdef"},
        {this->Read("CORVANE_X", "abcdef", 6, variable), "7 "},
        {this->Read("CORVANE_X", "", 64, variable), "0 "},
        {this->Read("TMP", "C:\\corvane-tmp", 64, temp), "15 C:\\corvane-tmp\\"},
        {this->Read("TMP", "C:\\corvane-tmp", 10, temp), "16 "},
        {this->Read("TEMP", "C:\\corvane-temp\\", 64, temp), "15 C:\\corvane-tmp\\"},
        {this->Read("TMP", "", 64, temp), "16 C:\\corvane-temp\\"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(EnvironmentContract, VariablesAndTempPath);
