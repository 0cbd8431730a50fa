// The fixture of the commands' and erasers' tests: a Chinese Windows XP profile on the
// in-memory platform (the shell's special folders, the temporary folder), an EraserDlg
// on it, and the log as texts.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "log_lines.h"
#include "seed.h"
#include "state/eraser_dlg.h"

class Machine : public ::testing::Test {
public:
    static constexpr char kProfile[] = "C:\\Documents and Settings\\user";
    static constexpr char kRecent[] = "C:\\Documents and Settings\\user\\Recent";
    static constexpr char kCookies[] = "C:\\Documents and Settings\\user\\Cookies";
    static constexpr char kCache[] =
        "C:\\Documents and Settings\\user\\Local Settings\\Internet 临时文件夹";
    static constexpr char kHistory[] = "C:\\Documents and Settings\\user\\Local Settings\\历史";
    static constexpr char kTemp[] = "C:\\Documents and Settings\\user\\Local Settings\\Temp";
    static constexpr char kAppData[] = "C:\\Documents and Settings\\user\\Application Data";

protected:
    Machine() {
        dlg.osVersion = osver::kWinXp;
        // By the numbers Windows gives the folders (CSIDL_RECENT...), not the program's
        // names for them, so that a wrong number in the program shows.
        mem.shell.specialFolders = {
            {8, kRecent}, {33, kCookies}, {32, kCache}, {34, kHistory}, {26, kAppData}};
        mem.environment.Set("TMP", kTemp);
        for (const char* folder : {kRecent, kCookies, kCache, kHistory, kTemp, kAppData}) {
            mem.files.AddFolder(folder);
        }
    }

    static std::string In(const std::string& folder, const std::string& name) {
        return folder + "\\" + name;
    }
    // The log as texts; emphasised lines start with "**".
    Lines Log() const { return LogLines(dlg.log); }
    // The log of one call of step; the log is emptied before and after.
    template <typename Step>
    Lines LogOf(Step step) {
        dlg.log.ClearLog();
        step();
        Lines lines = Log();
        dlg.log.ClearLog();
        return lines;
    }

    MemoryPlatform mem;
    EraserDlg dlg{mem.platform};
};
