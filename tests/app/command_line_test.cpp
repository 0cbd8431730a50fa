#include "app/command_line.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "settings/settings_store.h"

namespace {

class StringOutput : public TextOutput {
public:
    void Write(const std::string& bytes) override { text += bytes; }
    std::string text;
};

class CommandLine : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) { return RunCommandLine(args, mem.platform, out, err); }
    void SwitchEverythingOff() {
        EraserSettings settings;
        SetAllSwitches(settings, 0);
        SaveSettings(registry, settings);
    }

    MemoryPlatform mem;
    MemoryRegistry& registry = mem.registry;
    MemorySystem& system = mem.system;
    StringOutput out;
    StringOutput err;
};

const std::string kDots(44, '.');

TEST_F(CommandLine, TestWithEverythingOffPrintsTheFrameInUtf8) {
    SwitchEverythingOff();
    EXPECT_EQ(0, Run({"/test", "/utf8"}));
    EXPECT_EQ(u8"操作系统: Windows XP\r\n" + kDots + "\r\n" +
                  u8"正在分析系统... Please wait. This may take some time\r\n"
                  u8"正在分析系统 <OK>\r\n" +
                  kDots + "\r\n" + u8"完成!\r\n",
              out.text);
    EXPECT_EQ("", err.text);
}

TEST_F(CommandLine, WithoutUtf8TheLinesStayGbk) {
    SwitchEverythingOff();
    EXPECT_EQ(0, Run({"-CLEAR"}));
    EXPECT_EQ(0u, out.text.find("操作系统: Windows XP\r\n"));
    EXPECT_NE(std::string::npos, out.text.find("完成!\r\n"));
}

TEST_F(CommandLine, UnknownVersionHasNoOperatingSystemLine) {
    SwitchEverythingOff();
    system.version = OsVersionInfo{6, 1, 7601, osplatform::kNt};
    EXPECT_EQ(0, Run({"/clear", "/utf8"}));
    EXPECT_EQ(0u, out.text.find(kDots + "\r\n"));
}

TEST_F(CommandLine, UnreadableSettingsLeaveTheDefaultsAndTheRunGoesOn) {
    registry.faults.Fail("Registry.OpenKey", winerr::kAccessDenied);
    EXPECT_EQ(0, Run({"/test", "/utf8"}));
    EXPECT_NE(std::string::npos, out.text.find(u8"测试: 正在清空回收站...\r\n"));
    EXPECT_NE(std::string::npos, out.text.find(u8"测试: 正在删除自动完成内容...\r\n"));
}

TEST_F(CommandLine, DoesNotWriteSettings) {
    EXPECT_EQ(0, Run({"/test"}));
    RegKey key(registry);
    EXPECT_EQ(winerr::kFileNotFound,
              key.Open(regroot::kCurrentUser, kSettingsKey, regaccess::kRead));
}

TEST_F(CommandLine, RefusesWithUsage) {
    const std::vector<std::string> refused[] = {{},        {"/utf8"},           {"/tset"},
                                                {"test"},  {"/test", "/clear"}, {"/test", "/bogus"},
                                                {"/save"}, {"/restore"},        {"/"}};
    for (const auto& args : refused) {
        out.text.clear();
        err.text.clear();
        EXPECT_EQ(2, Run(args)) << (args.empty() ? "(none)" : args[0]);
        EXPECT_EQ("", out.text);
        EXPECT_EQ(0u, err.text.find("Usage: corvane.exe"));
    }
}

TEST(ParseCommandLine, SwitchesAreCaseInsensitive) {
    CliOptions options = ParseCommandLine({"/UTF8", "/Test"});
    EXPECT_TRUE(options.valid);
    EXPECT_TRUE(options.utf8);
    EXPECT_EQ(CliCommand::kTest, options.command);
    EXPECT_EQ(CliCommand::kRestore, ParseCommandLine({"-restore"}).command);
}

}  // namespace
