// What the erasers rely on of the environment, checked on the in-memory double and on
// the Win32 calls. EnvironmentTraits<T>::Set sets a variable (an empty value removes
// it), ::Get reads one (empty when unset); the tests put back what they changed.
#pragma once

#include <map>
#include <string>

#include "platform/environment.h"
#include "platform/rows.h"

template <typename EnvironmentType>
struct EnvironmentTraits;

template <typename EnvironmentType>
class EnvironmentContract : public ::testing::Test {
protected:
    using Traits = EnvironmentTraits<EnvironmentType>;

    void SetUp() override {
        for (const char* name : {"TMP", "TEMP"}) {
            saved[name] = Traits::Get(environment, name);
        }
    }
    void TearDown() override {
        for (const auto& variable : saved) {
            Traits::Set(environment, variable.first, variable.second);
        }
    }
    // What the call answered and what the buffer holds then.
    template <typename Call>
    std::string Read(std::uint32_t size, Call call) {
        char buffer[64] = "";
        std::uint32_t length = call(buffer, size);
        return std::to_string(length) + " " + (length < size ? buffer : "");
    }
    void Set(const std::string& name, const std::string& value) {
        Traits::Set(environment, name, value);
    }

    EnvironmentType environment;
    std::map<std::string, std::string> saved = {{"CORVANE_X", ""}};
};

TYPED_TEST_SUITE_P(EnvironmentContract);

TYPED_TEST_P(EnvironmentContract, VariablesAndTempPath) {
    auto& environment = this->environment;
    auto variable = [&](char* buffer, std::uint32_t size) {
        return environment.GetVariable("corvane_x", buffer, size);
    };
    auto temp = [&](char* buffer, std::uint32_t size) {
        return environment.TempPath(buffer, size);
    };
    ExpectRows({
        {(this->Set("CORVANE_X", "abcdef"), this->Read(7, variable)), "6 abcdef"},
        {this->Read(6, variable), "7 "},
        {(this->Set("CORVANE_X", ""), this->Read(64, variable)), "0 "},
        {(this->Set("TMP", "C:\\corvane-tmp"), this->Read(64, temp)), "15 C:\\corvane-tmp\\"},
        {this->Read(10, temp), "16 "},
        {(this->Set("TEMP", "C:\\corvane-temp\\"), this->Set("TMP", ""), this->Read(64, temp)),
         "16 C:\\corvane-temp\\"},
    });
}

REGISTER_TYPED_TEST_SUITE_P(EnvironmentContract, VariablesAndTempPath);
