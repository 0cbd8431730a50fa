// Running a command without the main window: corvane.exe /test, /clear, /save or
// /restore, with /utf8 to have the activity log written in UTF-8 rather than in the
// ANSI code page, and /report FILE to have what the command did written into FILE as
// JSON once it has ended. Every log line goes to standard output as it is added; /?
// prints the usage.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// Where the command line writes; Windows standard handles in the program.
class TextOutput {
public:
    virtual ~TextOutput() = default;
    virtual void Write(const std::string& bytes) = 0;
};

class EraserDlg;

// What the program around a command gives it besides the platform: the window that
// stands for the main window and the way to ask the user. Attach is called once the
// command's EraserDlg exists, Detach before it goes.
class CommandHost {
public:
    virtual ~CommandHost() = default;
    virtual void Attach(EraserDlg& dlg) = 0;
    virtual void Detach(EraserDlg& dlg) = 0;
};

enum class CliCommand { kNone, kTest, kClear, kSave, kRestore };

struct CliOptions {
    CliCommand command = CliCommand::kNone;
    bool utf8 = false;
    bool help = false;       // /? anywhere: the usage, nothing else
    std::string reportFile;  // GBK, as the ANSI command line gave it; empty for no report
    bool valid = false;      // exactly one command, /report with its file, no unknown switch
};

// Switches start with '/' or '-' and are case-insensitive. /report takes the argument
// after it as its file.
CliOptions ParseCommandLine(const std::vector<std::string>& args);

// Runs the command that args name (args excludes the program name). Exit status: 0 when
// the command ran, 1 when Save state or Restore could not do its job (no snapshot could
// be written, or there was none to restore) or the report could not be written (err
// says so; the command's work stands), 2 for a missing or unknown command (the usage
// text then goes to err). /? writes the usage to out and gives 0. Without a host there is no main
// window and nobody to ask: open Internet Explorer windows are then left alone.
int RunCommandLine(const std::vector<std::string>& args, Platform& platform, TextOutput& out,
                   TextOutput& err, CommandHost* host = nullptr);
