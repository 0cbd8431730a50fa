// Behaviour that every Environment implementation shares with the Win32 calls. Each
// instantiation defines EnvironmentTraits<T>::Set (an empty value removes the variable)
// and ::Get (empty when unset), which the suite uses to arrange and restore variables.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "platform/environment.h"

template <typename EnvironmentType>
struct EnvironmentTraits;

template <typename EnvironmentType>
class EnvironmentContract : public ::testing::Test {
protected:
    using Traits = EnvironmentTraits<EnvironmentType>;

    void SetUp() override {
        for (const char* name : {"TMP", "TEMP", "CORVANE_X"}) {
            saved_[name] = Traits::Get(environment, name);
        }
    }
    void TearDown() override {
        for (const auto& variable : saved_) {
            Traits::Set(environment, variable.first, variable.second);
        }
    }
    std::string TempPath() {
        char buffer[260];
        std::uint32_t length = environment.TempPath(buffer, sizeof buffer);
        return length > 0 && length < sizeof buffer ? std::string(buffer, length) : "";
    }

    EnvironmentType environment;

private:
    std::map<std::string, std::string> saved_;
};

TYPED_TEST_SUITE_P(EnvironmentContract);

TYPED_TEST_P(EnvironmentContract, VariableFitsOrAnswersTheSizeItNeeds) {
    using Traits = EnvironmentTraits<TypeParam>;
    Traits::Set(this->environment, "CORVANE_X", "abcdef");
    char buffer[16];
    EXPECT_EQ(6u, this->environment.GetVariable("corvane_x", buffer, 7));
    EXPECT_STREQ("abcdef", buffer);
    EXPECT_EQ(7u, this->environment.GetVariable("CORVANE_X", buffer, 6));
    Traits::Set(this->environment, "CORVANE_X", "");
    EXPECT_EQ(0u, this->environment.GetVariable("CORVANE_X", buffer, sizeof buffer));
}

TYPED_TEST_P(EnvironmentContract, TempPathFollowsTmpThenTempAndEndsInABackslash) {
    using Traits = EnvironmentTraits<TypeParam>;
    Traits::Set(this->environment, "TMP", "C:\\corvane-tmp");
    Traits::Set(this->environment, "TEMP", "C:\\corvane-temp\\");
    EXPECT_EQ("C:\\corvane-tmp\\", this->TempPath());
    char small[10];
    EXPECT_EQ(16u, this->environment.TempPath(small, sizeof small));
    Traits::Set(this->environment, "TMP", "");
    EXPECT_EQ("C:\\corvane-temp\\", this->TempPath());
}

REGISTER_TYPED_TEST_SUITE_P(EnvironmentContract, VariableFitsOrAnswersTheSizeItNeeds,
                            TempPathFollowsTmpThenTempAndEndsInABackslash);
