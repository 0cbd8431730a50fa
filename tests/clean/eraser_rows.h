// The erasers' tables. Each row seeds the machine, runs the eraser in Test, which must
// change nothing, then in Clear, and gives both logs whole; its seed's lines are marked
// with what Clear changes: "-" a line it takes, "+" one it puts (not seeded). In every
// text of a row, $Recent, $Cookies, $Cache, $History, $Temp and $Profile stand for the
// profile's folders, $Typed, $RunMru, $AcMru, $Main and $Ext5 for registry keys.
// One test runs every table: clean/eraser_tables_test.cpp.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "clean/erasers.h"
#include "machine.h"

using M = MemoryPlatform;
using D = EraserDlg;

struct Row {
    const char* name;
    CategoryResult (*step)(EraserDlg& dlg, bool testMode);
    Lines seed;
    void (*arrange)(M& mem, D& dlg);  // faults and the like, or null
    std::array<Lines, 2> logs = {};   // Test's, Clear's; "(index.dat found)" last when it was,
                                      // "(kept N)" for cookies kept
    Lines gone = {};                  // what else Clear takes from Observed()
    friend void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }
    static std::string Name(const testing::TestParamInfo<Row>& info) { return info.param.name; }
};

inline std::string Expand(std::string text) {
    const std::string ie = "Software\\Microsoft\\Internet Explorer\\";
    const std::string windows = "Software\\Microsoft\\Windows\\CurrentVersion\\";
    // clang-format off
    const std::pair<const char*, std::string> kTokens[] = {
        {"$Recent", Machine::kRecent}, {"$Cookies", Machine::kCookies}, {"$Cache", Machine::kCache},
        {"$Temp", Machine::kTemp}, {"$History", Machine::kHistory}, {"$Profile", Machine::kProfile},
        {"$Typed", ie + "TypedURLs"}, {"$Main", ie + "Main"}, {"$RunMru", windows + "Explorer\\RunMRU"},
        {"$AcMru", "Software\\Microsoft\\Search Assistant\\ACMru"},
        {"$Ext5", windows + "Internet Settings\\5.0\\Cache\\Extensible Cache"}};
    // clang-format on
    for (const auto& [token, value] : kTokens) {
        text = seed::Replace(text, token, value);
    }
    return text;
}
inline Lines Expand(Lines lines) {
    for (std::string& line : lines) {
        line = Expand(line);
    }
    return lines;
}

// "#" in pattern replaced by each number from first to last.
inline Lines Numbered(const std::string& pattern, int first, int last) {
    Lines out;
    for (int i = first; i <= last; ++i) {
        out.push_back(seed::Replace(pattern, "#", std::to_string(i)));
    }
    return out;
}

inline Lines Join(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
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
    return Join({out, entries.empty() ? Lines{texts.none} : Lines{"", texts.done}});
}
// The listings of the same entries in Test and in Clear.
inline std::array<Lines, 2> Listings(const Texts (&texts)[2], const Lines& entries) {
    return {Listing(texts[0], entries), Listing(texts[1], entries)};
}

// A keep list of one host, as the arrangement of a row.
inline void KeepTest(M&, D& d) {
    d.settings.keepCookies = {"keep.test"};
}

// A handle on path held open as another program would hold it.
inline void Hold(M& m, const std::string& path, std::uint32_t access, std::uint32_t share) {
    FileHandle held;
    ASSERT_EQ(winerr::kSuccess,
              m.files.Open(Expand(path), access, share, filecreate::kOpenExisting, 0, &held));
}

class EraserRows : public Machine, public ::testing::WithParamInterface<Row> {
protected:
    EraserRows() {
        dlg.busy = true;  // as during a run
        dlg.window = mem.windows.Add("#32770", false);
        ie = mem.windows.Add("IEFrame", true);
    }

    // State() read with the faults set aside, then the shell's emptying, the texts sent
    // to the browser window and the handles left open; the shell library is loaded only as
    // the window keeps it.
    Lines Observed() {
        FaultPlan* plans[] = {&mem.files.faults, &mem.registry.faults, &mem.urlCache.faults};
        FaultPlan saved[3];
        for (int i = 0; i < 3; ++i) {
            std::swap(saved[i], *plans[i]);
        }
        Lines out = State(mem);
        for (int i = 0; i < 3; ++i) {
            std::swap(saved[i], *plans[i]);
        }
        out.insert(out.end(), mem.shell.emptyCalls != 0,
                   "emptied " + std::to_string(mem.shell.emptyCalls) + "x, flags " +
                       std::to_string(mem.shell.lastEmptyFlags));
        EXPECT_EQ(dlg.shell32Module.IsLoaded() ? 1 : 0, mem.shell.librariesOpen);
        for (const SentMessage& message : mem.windows.Received(ie)) {
            out.push_back("IEFrame <- " + message.text);
        }
        out.push_back("handles " +
                      std::to_string(mem.files.OpenHandleCount() + mem.registry.OpenHandleCount() +
                                     mem.urlCache.OpenFindCount()) +
                      " " + std::to_string(mem.urlHistory.LiveObjects()));
        return out;
    }

    HWnd ie;
};
