#include "app/command_line.h"

#include <gtest/gtest.h>

#include "machine.h"
#include "settings/settings_store.h"

namespace {

struct Text : TextOutput {
    void Write(const std::string& bytes) override { text += bytes; }
    std::string text;
};

struct CommandLine : Machine {
    int Run(const Lines& args) {
        out = usage = Text();
        return RunCommandLine(args, mem.platform, out, usage);
    }
    Text out, usage;
};

// A command line run loads the settings and saves none. With every category off, it
// writes its frame, the analysis line that it takes back included, in UTF-8 or else in
// GBK. Anything but one command is refused.
TEST_F(CommandLine, RunsOneCommandAndRefusesAnythingElse) {
    const Lines before = State(mem);
    EXPECT_EQ(0, Run({"/test"}));  // with every category on, and nothing saved
    EXPECT_NE(std::string::npos, out.text.find("测试: 正在删除自动完成内容...\r\n"));
    EXPECT_EQ(before, State(mem));
    EraserSettings settings;
    SetAllSwitches(settings, 0);
    SaveSettings(mem.registry, settings);
    // clang-format off
    const std::string dots(44, '.'), frame = u8"操作系统: Windows XP\r\n" + dots +
        u8"\r\n正在分析系统... Please wait. This may take some time\r\n正在分析系统 <OK>\r\n" + dots + u8"\r\n完成!\r\n";
    // clang-format on
    EXPECT_EQ(0, Run({"/UTF8", "/Test"}));
    EXPECT_EQ(frame, out.text);
    mem.system.faults.Fail("System.QueryVersion", 1, "", 1);  // a Windows unknown: no line names it
    EXPECT_EQ(0, Run({"-CLEAR"}));
    EXPECT_EQ(frame.substr(frame.find(dots)), mem.system.AnsiToUtf8(out.text));
    EXPECT_EQ("", usage.text);
    // clang-format off
    const Lines refused[] = {{}, {"/utf8"}, {"/tset"}, {"test"}, {"/test", "/clear"}, {"/test", "/bogus"},
                             {"/save", "-restore"}, {"/"}, {"/test", "/report"}, {"/REPORT", "r.json"}};
    // clang-format on
    for (const Lines& args : refused) {
        EXPECT_EQ(2, Run(args)) << args.size();
        EXPECT_EQ("", out.text);
        EXPECT_EQ(0u,
                  usage.text.find("Usage: corvane.exe /test | /clear | /save | /restore [/utf8] "
                                  "[/report FILE]\r\n"));
    }
    EXPECT_EQ(0, Run({"/test", "/?"}));
    EXPECT_EQ(0u, out.text.find("Usage: corvane.exe"));
    EXPECT_EQ("", usage.text);
    // Restore without a snapshot cannot do its job: its two lines, no box, status 1.
    EXPECT_EQ(1, Run({"/restore"}));
    EXPECT_EQ("正在还原状态...\r\n" + std::string(32, '.') +
                  "\r\n状态未被保存!\r\n如果您想要还原状态，您应该事先保存!\r\n",
              out.text);
    EXPECT_EQ(0, Run({"/save"}));
    EXPECT_EQ(0, Run({"/restore"}));
    mem.storage.faults.Fail("Storage.CreateDocfile", stgerr::kAccessDenied);
    EXPECT_EQ(1, Run({"/save"}));
    // The report: written whole under a GBK name, in UTF-8; one that cannot be written
    // fails the command line, and nothing else.
    const std::string report = "C:\\报告.json";
    EXPECT_EQ(1, Run({"/Save", "/Report", "C:\\none\\r.json"}));
    EXPECT_EQ("corvane.exe: the report could not be written to C:\\none\\r.json (error 3)\r\n",
              usage.text);
    EXPECT_EQ(0, Run({"/TEST", "/report", report}));
    const std::string json = mem.files.Content(report);
    for (const char* key : {"{\n  \"version\": \"4.4.0.0\",\n  \"os\": \"操作系统: Windows XP\",",
                            "\"command\": \"test\",", "\"started\": \"2008-07-27T15:49:28Z\",",
                            "\"exit\": 0,", "\"name\": \"index_dat\","}) {
        EXPECT_NE(std::string::npos, json.find(mem.system.AnsiToUtf8(key))) << key;
    }
}

}  // namespace
