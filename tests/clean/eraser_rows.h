// The erasers' tables: each row seeds the machine, runs the eraser in Test, which must
// change nothing, then in Clear, and gives both logs whole and what Clear changed. In
// every text of a row, $Recent, $Cookies, $Cache, $History, $Temp and $Profile stand for
// the profile's folders, $Typed, $RunMru, $AcMru, $Main, $Ext5 and $Ext4 for registry keys.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "clean/erasers.h"
#include "machine.h"

struct Row {
    const char* name;
    void (*step)(EraserDlg& dlg, bool testMode);
    Lines seed;  // seed.h lines, and "bin SIZE" for an item in the recycle bin
    void (*arrange)(MemoryPlatform& mem, EraserDlg& dlg);  // faults and the like, or null
    Lines test, clear;            // a mode that set indexDatFound ends in "(index.dat found)"
    Lines gone = {}, added = {};  // what Clear changed in Observed(); gone {"the seed"}: all of it
};
inline void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}
inline std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// "#" in pattern replaced by each number from first to last.
inline Lines Numbered(const std::string& pattern, int first, int last) {
    Lines out;
    for (int i = first; i <= last; ++i) {
        std::string line = pattern;
        for (size_t at; (at = line.find('#')) != std::string::npos;) {
            line.replace(at, 1, std::to_string(i));
        }
        out.push_back(line);
    }
    return out;
}

// The texts of an eraser that lists what it removes, in one mode: its heading, the text
// before and after each entry, the closing line and the line that says nothing was found.
struct Texts {
    std::string head, before, after, done, none;
};
// Its log: heading, blank, the entries, blank and closing; without entries the line that
// says so.
inline Lines Listing(const Texts& texts, const Lines& entries) {
    Lines out = {texts.head, ""};
    for (const std::string& entry : entries) {
        out.push_back(texts.before + entry + texts.after);
    }
    Lines end = entries.empty() ? Lines{texts.none} : Lines{"", texts.done};
    out.insert(out.end(), end.begin(), end.end());
    return out;
}

inline Lines Join(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

class EraserRows : public Machine, public ::testing::WithParamInterface<Row> {
public:
    static std::string Expand(std::string text) {
        const std::string ie = "Software\\Microsoft\\Internet Explorer\\";
        const std::string windows = "Software\\Microsoft\\Windows\\CurrentVersion\\";
        // clang-format off
        const std::pair<const char*, std::string> kTokens[] = {
            {"$Recent", kRecent}, {"$Cookies", kCookies}, {"$Cache", kCache}, {"$Temp", kTemp},
            {"$History", kHistory}, {"$Profile", kProfile}, {"$Typed", ie + "TypedURLs"},
            {"$Main", ie + "Main"}, {"$RunMru", windows + "Explorer\\RunMRU"},
            {"$AcMru", "Software\\Microsoft\\Search Assistant\\ACMru"},
            {"$Ext5", windows + "Internet Settings\\5.0\\Cache\\Extensible Cache"},
            {"$Ext4", windows + "Internet Settings\\Cache\\Extensible Cache"}};
        // clang-format on
        for (const auto& [token, value] : kTokens) {
            for (size_t at; (at = text.find(token)) != std::string::npos;) {
                text.replace(at, std::string(token).size(), value);
            }
        }
        return text;
    }
    static Lines Expand(Lines lines) {
        for (std::string& line : lines) {
            line = Expand(line);
        }
        return lines;
    }

protected:
    EraserRows() {
        dlg.busy = true;  // as during a run
        dlg.window = mem.windows.Add("#32770", false);
        ie = mem.windows.Add("IEFrame", true);
    }

    // State() read with the faults set aside, then the recycle bin, the shell's emptying,
    // the texts sent to the browser window and the handles left open.
    Lines Observed() {
        FaultPlan* plans[] = {&mem.files.faults, &mem.registry.faults, &mem.urlCache.faults};
        std::vector<FaultPlan> saved;
        for (FaultPlan* plan : plans) {
            saved.push_back(std::exchange(*plan, FaultPlan{}));
        }
        Lines out = State(mem);
        for (size_t i = 0; i < saved.size(); ++i) {
            *plans[i] = saved[i];
        }
        for (std::int64_t size : mem.shell.recycleBin) {
            out.push_back("bin " + std::to_string(size));
        }
        if (mem.shell.emptyCalls != 0) {
            out.push_back("emptied " + std::to_string(mem.shell.emptyCalls) + "x, flags " +
                          std::to_string(mem.shell.lastEmptyFlags));
        }
        for (const SentMessage& message : mem.windows.Received(ie)) {
            out.push_back("IEFrame <- " + message.text);
        }
        out.push_back("handles " +
                      std::to_string(mem.files.OpenHandleCount() + mem.registry.OpenHandleCount() +
                                     mem.urlCache.OpenFindCount()) +
                      " " + std::to_string(mem.urlHistory.LiveObjects()));
        return out;
    }
    Lines Mode(const Row& row, bool testMode) {
        dlg.indexDatFound = false;
        Lines lines = LogOf([&] { row.step(dlg, testMode); });
        if (dlg.indexDatFound) {
            lines.push_back("(index.dat found)");
        }
        return lines;
    }

    HWnd ie;
};
