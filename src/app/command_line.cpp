#include "app/command_line.h"

#include "app/command_report.h"
#include "platform/gbk.h"
#include "settings/settings_store.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kUsage[] =
    "Usage: corvane.exe /test | /clear | /save | /restore [/utf8] [/report FILE]\r\n"
    "  /test         list the traces that Clear would remove, removing nothing\r\n"
    "  /clear        remove the traces of the categories chosen in the settings\r\n"
    "  /save         save the current traces into state.spp beside the program\r\n"
    "  /restore      put back the traces saved in state.spp\r\n"
    "  /utf8         write the activity log in UTF-8 instead of the ANSI code page\r\n"
    "  /report FILE  write what the command did into FILE, as UTF-8 JSON\r\n"
    "  /?            show this text\r\n";
constexpr char kReportFailed[] = "corvane.exe: the report could not be written to ";

struct SwitchName {
    const char* name;
    CliCommand command;
    const char* reportName;
};

constexpr SwitchName kCommands[] = {
    {"test", CliCommand::kTest, "test"},
    {"clear", CliCommand::kClear, "clear"},
    {"save", CliCommand::kSave, "save"},
    {"restore", CliCommand::kRestore, "restore"},
};

// Bool return: false for an unknown switch.
bool ApplySwitch(const std::string& arg, CliOptions* options, int* commandCount) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) {
        return false;
    }
    std::string name = GbkAsciiLower(arg.substr(1));
    if (name == "utf8") {
        options->utf8 = true;
        return true;
    }
    if (name == "?") {
        options->help = true;
        return true;
    }
    for (const SwitchName& command : kCommands) {
        if (name == command.name) {
            options->command = command.command;
            ++*commandCount;
            return true;
        }
    }
    return false;
}

// Writes each log line as it is added, the analysis line that a run takes back
// included.
class LogPrinter : public LogObserver {
public:
    LogPrinter(TextOutput& out, System& system, bool utf8)
        : out_(out), system_(system), utf8_(utf8) {}
    void LineAdded(const LogLine& line, bool) override {
        out_.Write((utf8_ ? system_.AnsiToUtf8(line.text) : line.text) + "\r\n");
    }
    // Printed is done with: the log holds nothing per line.
    bool NeedsLinesKept() override { return false; }

private:
    TextOutput& out_;
    System& system_;
    bool utf8_;
};

}  // namespace

CliOptions ParseCommandLine(const std::vector<std::string>& args) {
    CliOptions options;
    int commandCount = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        bool report = args[i].size() > 1 && (args[i][0] == '/' || args[i][0] == '-') &&
                      GbkAsciiLower(args[i].substr(1)) == "report";
        if (report) {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                return CliOptions{};
            }
            options.reportFile = args[++i];
        } else if (!ApplySwitch(args[i], &options, &commandCount)) {
            return CliOptions{};
        }
    }
    options.valid = commandCount == 1;
    return options;
}

int RunCommandLine(const std::vector<std::string>& args, Platform& platform, TextOutput& out,
                   TextOutput& err, CommandHost* host) {
    CliOptions options = ParseCommandLine(args);
    if (options.help) {
        out.Write(kUsage);
        return 0;
    }
    if (!options.valid) {
        err.Write(kUsage);
        return 2;
    }
    EraserDlg dlg(platform);
    LoadSettings(platform.registry, dlg.settings);
    dlg.DetectOsVersion();
    LogPrinter printer(out, platform.system, options.utf8);
    dlg.log.SetObserver(&printer);
    if (host != nullptr) {
        host->Attach(dlg);
    }
    CommandRecord record;
    record.started = platform.system.SystemTimeAsFileTime();
    int status = 0;
    switch (options.command) {
        case CliCommand::kTest:
            dlg.OnTest();
            break;
        case CliCommand::kClear:
            dlg.OnClear();
            break;
        case CliCommand::kSave:
            status = dlg.SaveState() ? 0 : 1;
            break;
        case CliCommand::kRestore:
            status = dlg.RestoreState() ? 0 : 1;
            break;
        case CliCommand::kNone:
            break;
    }
    record.ended = platform.system.SystemTimeAsFileTime();
    if (host != nullptr) {
        host->Detach(dlg);
    }
    dlg.log.SetObserver(nullptr);
    if (options.reportFile.empty()) {
        return status;
    }
    for (const SwitchName& command : kCommands) {
        if (command.command == options.command) {
            record.command = command.reportName;
        }
    }
    const char* osLine = OsVersionLine(dlg.osVersion);
    record.osLine = osLine != nullptr ? osLine : "";
    record.exitStatus = status;
    record.categories = std::move(dlg.report);
    WinError error = WriteFileWhole(platform.files, options.reportFile,
                                    CommandReportJson(record, platform.system));
    if (error != winerr::kSuccess) {
        std::string file =
            options.utf8 ? platform.system.AnsiToUtf8(options.reportFile) : options.reportFile;
        err.Write(kReportFailed + file + " (error " + std::to_string(error) + ")\r\n");
        return 1;
    }
    return status;
}
