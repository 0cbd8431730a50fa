#include "app/command_line.h"

#include <gtest/gtest.h>

#include "machine.h"
#include "settings/settings_store.h"

namespace {

class Text : public TextOutput {
public:
    void Write(const std::string& bytes) override { text += bytes; }
    std::string text;
};

class CommandLine : public Machine {
protected:
    int Run(std::vector<std::string> args) {
        out.text.clear();
        err.text.clear();
        return RunCommandLine(args, mem.platform, out, err);
    }
    Text out, err;
};

// With every category off, a run writes its frame, the analysis line that it takes back
// included; in UTF-8 or in GBK as asked. An unknown version has no line of its own.
TEST_F(CommandLine, RunsTestOrClearAndRefusesAnythingElse) {
    EraserSettings settings;
    SetAllSwitches(settings, 0);
    SaveSettings(mem.registry, settings);
    const std::string dots(44, '.'),
        analysis = "正在分析系统... Please wait. This may take some time";
    EXPECT_EQ(0, Run({"/UTF8", "/Test"}));
    EXPECT_EQ(u8"操作系统: Windows XP\r\n" + dots +
                  u8"\r\n正在分析系统... Please wait. This may "
                  u8"take some time\r\n正在分析系统 <OK>\r\n" +
                  dots + u8"\r\n完成!\r\n",
              out.text);
    EXPECT_EQ(0, Run({"-CLEAR"}));
    EXPECT_EQ("操作系统: Windows XP\r\n" + dots + "\r\n" + analysis + "\r\n正在分析系统 <OK>\r\n" +
                  dots + "\r\n完成!\r\n",
              out.text);
    mem.system.version = OsVersionInfo{6, 1, 7601, osplatform::kNt};
    EXPECT_EQ(0, Run({"/clear"}));
    EXPECT_EQ(dots + "\r\n" + analysis + "\r\n正在分析系统 <OK>\r\n" + dots + "\r\n完成!\r\n",
              out.text);
    EXPECT_EQ("", err.text);
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{{},
                                                                               {"/utf8"},
                                                                               {"/tset"},
                                                                               {"test"},
                                                                               {"/test", "/clear"},
                                                                               {"/test", "/bogus"},
                                                                               {"/save"},
                                                                               {"-restore"},
                                                                               {"/"}}) {
        EXPECT_EQ(2, Run(args)) << (args.empty() ? "" : args[0]);
        EXPECT_EQ("", out.text);
        EXPECT_EQ(0u, err.text.find("Usage: corvane.exe /test | /clear [/utf8]\r\n"));
    }
    EXPECT_EQ(CliCommand::kRestore, ParseCommandLine({"-Restore"}).command);
}

// Settings that cannot be read leave every category on; a command line run saves none.
TEST_F(CommandLine, UnreadableSettingsLeaveTheDefaults) {
    mem.registry.faults.Fail("Registry.OpenKey", winerr::kAccessDenied);
    EXPECT_EQ(0, Run({"/test", "/utf8"}));
    EXPECT_NE(std::string::npos, out.text.find(u8"测试: 正在清空回收站...\r\n"));
    EXPECT_NE(std::string::npos, out.text.find(u8"测试: 正在删除自动完成内容...\r\n"));
    mem.registry.faults.Clear();
    RegKey key(mem.registry);
    EXPECT_EQ(winerr::kFileNotFound,
              key.Open(regroot::kCurrentUser, kSettingsKey, regaccess::kRead));
}

}  // namespace
