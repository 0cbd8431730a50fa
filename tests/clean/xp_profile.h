// A Chinese Windows XP profile on the in-memory platform, for the erasers' tests: the
// shell's special folders, the temporary folder, and the log as texts.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/eraser_dlg.h"
#include "log_lines.h"
#include "platform/memory/memory_platform.h"

class XpProfile : public ::testing::Test {
protected:
    static constexpr char kProfile[] = "C:\\Documents and Settings\\user";
    static constexpr char kRecent[] = "C:\\Documents and Settings\\user\\Recent";
    static constexpr char kCookies[] = "C:\\Documents and Settings\\user\\Cookies";
    static constexpr char kCache[] =
        "C:\\Documents and Settings\\user\\Local Settings\\Internet 临时文件夹";
    static constexpr char kHistory[] = "C:\\Documents and Settings\\user\\Local Settings\\历史";
    static constexpr char kTemp[] = "C:\\Documents and Settings\\user\\Local Settings\\Temp";

    XpProfile() {
        dlg.osVersion = osver::kWinXp;
        mem.shell.specialFolders = {{csidl::kRecent, kRecent},
                                    {csidl::kCookies, kCookies},
                                    {csidl::kInternetCache, kCache},
                                    {csidl::kHistory, kHistory}};
        mem.environment.Set("TMP", kTemp);
        for (const char* folder : {kRecent, kCookies, kCache, kHistory, kTemp}) {
            mem.files.AddFolder(folder);
        }
    }

    static std::string In(const std::string& folder, const std::string& name) {
        return folder + "\\" + name;
    }

    // The log as texts; emphasised lines start with "**".
    Lines Log() const { return LogLines(dlg.log); }
    // The log of one call of step, then the log is emptied again.
    template <typename Step>
    Lines LogOf(Step step) {
        dlg.log.ClearLog();
        step();
        Lines lines = Log();
        dlg.log.ClearLog();
        return lines;
    }

    // Every path below C:\ with its content (folders end in "\" and hold nothing),
    // read through the Files interface.
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> all;
        SnapshotFolder("C:", &all);
        return all;
    }

    MemoryPlatform mem;
    EraserDlg dlg{mem.platform};

private:
    void SnapshotFolder(const std::string& folder, std::map<std::string, std::string>* all) {
        FindHandle handle;
        FindData entry;
        if (mem.files.FindFirst(folder + "\\*.*", &handle, &entry) != winerr::kSuccess) {
            return;
        }
        do {
            std::string path = folder + "\\" + entry.name;
            if (entry.name == "." || entry.name == "..") {
                continue;
            }
            if (entry.attributes & fileattr::kDirectory) {
                (*all)[path + "\\"] = "";
                SnapshotFolder(path, all);
            } else {
                (*all)[path] = mem.files.Content(path) + "|" + std::to_string(entry.attributes);
            }
        } while (mem.files.FindNext(handle, &entry) == winerr::kSuccess);
        mem.files.EndFind(handle);
    }
};
