// The report of a command run from the command line (/report FILE): what the command did,
// category by category, as UTF-8 JSON that an administrator's tools read instead of the
// activity log. Written whole, through a new file beside FILE renamed into its place, so
// that a reader never finds half a report.
#pragma once

#include <string>
#include <vector>

#include "platform/file_time.h"
#include "platform/files.h"
#include "platform/system.h"
#include "state/run_report.h"

struct CommandRecord {
    const char* command = "";  // "test", "clear", "save" or "restore"
    std::string osLine;        // GBK, as the run printed it; empty when there is none
    FileTime started;          // UTC
    FileTime ended;
    int exitStatus = 0;
    std::vector<CategoryReport> categories;
};

// The report's JSON text, GBK texts converted to UTF-8 by system. Never throws: a text
// that is no valid UTF-8 after conversion has its bad bytes replaced.
std::string CommandReportJson(const CommandRecord& record, System& system);

// A FILETIME as UTC in ISO 8601, to the second: "2026-12-07T19:15:08Z".
std::string Iso8601(FileTime time);

// Puts bytes into path whole: written into a new file beside it, which then takes path's
// place. Path is untouched until the new file is complete; kSuccess, or the error of the
// step that failed (the new file is then removed again).
WinError WriteFileWhole(Files& files, const std::string& path, const std::string& bytes);
