// The frame of a Clear or Test run: which steps run, with what and in which order, and
// every line the driver writes around them. The steps are replaced by recorders that
// write their call into the log: "EraseCookies 1" is EraseCookies in Test.
#include <gtest/gtest.h>

#include <map>

#include "clean/eraser_rows.h"
#include "clean/run_steps.h"

namespace {

const std::string kSep(44, '.');

// The log of a run with every group switched on, in Clear and in Test, but its closing
// line: the frame's head, then each group's block ending in a separator.
// clang-format off
const Lines kAll[] = {
    {"HandleOpenIEWindows", "操作系统: Windows XP", kSep, "**正在分析系统 <OK>", "CloseMozillaWindows",
     "CloseAolWindows", kSep, "EraseCookies 0", "EraseMozillaCookies", kSep, "EraseHistory 0",
     "EraseTypedUrls 0", "EraseMozillaHistory", "EraseMozillaUrlBarHistory", "EraseAolTraces 0", kSep,
     "**删除自动填表数据...", "", "EraseAutoComplete 0", "**没有要删除的自动填表数据 <OK>", kSep,
     "EraseTemporaryInternetFiles 0", kSep, "EraseWindowsTemp 0", kSep, "ResetStartPage 0", kSep,
     "**正在清空回收站...", "", "EraseRecycleBin 0", kSep, "EraseRecentDocuments 0", kSep,
     "EraseSearchHistory 0", kSep, "**正在填充 index.dat 文件...", "", "FillIndexDat 0 33 1",
     "FillIndexDat 0 32 1", "FillIndexDat 0 34 1", "FillListedIndexDat 0 1",
     "**Index.dat 文件已经被填充 <OK>", kSep},
    {"操作系统: Windows XP", kSep, "**正在分析系统 <OK>", kSep, "EraseCookies 1", kSep, "EraseHistory 1",
     "EraseTypedUrls 1", "EraseAolTraces 1", kSep, "**测试: 正在删除自动完成内容...", "",
     "EraseAutoComplete 1", "**测试: 没有可以删除的自动完成内容 <OK>", kSep, "EraseTemporaryInternetFiles 1",
     kSep, "EraseWindowsTemp 1", kSep, "ResetStartPage 1", kSep, "**测试: 正在清空回收站...", "",
     "EraseRecycleBin 1", kSep, "EraseRecentDocuments 1", kSep, "EraseSearchHistory 1", kSep,
     "**测试: 正在清空 index.dat 文件...", "", "FillIndexDat 1 33 1", "FillIndexDat 1 32 1",
     "FillIndexDat 1 34 1", "FillListedIndexDat 1 1", "**测试: Index.dat 文件已经被清空 <OK>", kSep}};
// When the auto-complete eraser or the index.dat fill found something, a blank line and
// their own closing texts.
const std::map<std::string, std::string> kFound = {
    {"**没有要删除的自动填表数据 <OK>", "**自动填表数据已删除 <OK>"}, {"**Index.dat 文件已经被填充 <OK>", "**Index.dat 文件已填充 <OK>"},
    {"**测试: 没有可以删除的自动完成内容 <OK>", "**测试: 自动完成的内容已删除 <OK>"},
    {"**测试: Index.dat 文件已经被清空 <OK>", "**测试: Index.dat 文件已被清空 <OK>"}};
using S = EraserSettings;
std::int32_t S::*const kSwitches[] = {
    &S::clearCookies, &S::clearHistory, &S::clearAutoComplete, &S::clearTempInternetFiles,
    &S::clearWindowsTemp, &S::resetStartPage, &S::emptyRecycleBin, &S::clearRecentDocs,
    &S::clearSearchHistory, &S::clearIndexDat};
// clang-format on

// What a recorder hands back, whatever its step returns: nothing found.
struct Nothing {
    operator int() const { return 0; }
    operator CategoryResult() const { return {}; }
};

auto Record(std::string name) {
    return [name](EraserDlg& dlg, auto... args) {
        std::string call = name;
        ((call += " " + std::to_string(args)), ...);
        dlg.log.AddLogLine(call, emphasis::kPlain);
        return Nothing{};
    };
}

using RunDriver = Machine;

// Any value but 0 switches a group on: switched on one after the other, the groups
// join the run in their order, each with its block of the whole run's log; indexDatFound
// is reset before its group. Clear resets the bar before counting, Test does not; the
// analysis line stays while the entries are counted. A click inside a run is ignored, and
// after a close request (busy cleared) the remaining groups still run.
TEST_F(RunDriver, GroupsJoinTheRunInTheirOrder) {
    bool found = false;  // what the auto-complete eraser and the index.dat fill report
    RunSteps s;
    dlg.steps = &s;
#define RECORD(step) s.step = Record(#step)
    // clang-format off
    RECORD(HandleOpenIEWindows); RECORD(CloseMozillaWindows); RECORD(CloseAolWindows); RECORD(EraseMozillaCookies);
    RECORD(EraseHistory); RECORD(EraseTypedUrls); RECORD(EraseMozillaHistory); RECORD(EraseMozillaUrlBarHistory);
    RECORD(EraseAolTraces); RECORD(EraseTemporaryInternetFiles); RECORD(EraseWindowsTemp); RECORD(ResetStartPage);
    RECORD(EraseRecycleBin); RECORD(EraseRecentDocuments); RECORD(EraseSearchHistory); RECORD(FillIndexDat);
    // clang-format on
#undef RECORD
    s.FillListedIndexDat = [&](EraserDlg& d, bool test, bool logIt) {
        d.indexDatFound = d.indexDatFound || found;
        return Record("FillListedIndexDat")(d, test, logIt);
    };
    s.EraseAutoComplete = [&](EraserDlg& d, bool test, ActivityLog& log) {
        EXPECT_EQ(&d.log, &log);
        Record("EraseAutoComplete")(d, test);
        CategoryResult result;
        result.items = found;
        return result;
    };
    s.EraseCookies = [](EraserDlg& d, bool test) {
        d.OnClear();
        d.OnTest();
        d.busy = false;
        return Record("EraseCookies")(d, test);
    };
    Lines seen;
    s.PrepareProgress = [&](EraserDlg&) {
        seen = Log();
        seen.push_back(std::to_string(dlg.progress.GetPos()) + (dlg.busy ? " busy " : " ") +
                       std::to_string(dlg.indexDatPaths.size()));
        dlg.progress.SetRange(0, 300);
    };
    for (bool test : {false, true}) {
        // clang-format off
        Lines during = {"操作系统: Windows XP", kSep, "**正在分析系统... Please wait. This may take some time",
                        test ? "40 busy 0" : "0 busy 0"};
        // clang-format on
        during.insert(during.begin(), !test, "HandleOpenIEWindows");
        for (bool anything : {false, true}) {
            Lines all;
            for (const std::string& line : kAll[test]) {
                bool closing = anything && kFound.count(line) != 0;
                all = Join({all, closing ? Lines{"", kFound.at(line)} : Lines{line}});
            }
            auto end = all.begin() + (test ? 4 : 7);
            SetAllSwitches(dlg.settings, 0);
            for (auto setting : kSwitches) {
                dlg.settings.*setting = -7;
                found = anything;
                dlg.indexDatFound = true;
                dlg.indexDatPaths.insert("C:\\old");
                dlg.progress.SetPos(40);
                test ? dlg.OnTest() : dlg.OnClear();
                end = std::find(end, all.end(), kSep) + 1;
                EXPECT_EQ(Join({Lines(all.begin(), end), {"完成!"}}), Log());
                EXPECT_EQ(during, seen);
                EXPECT_EQ((std::pair{300, false}), (std::pair{dlg.progress.GetPos(), dlg.busy}));
            }
        }
    }
}

}  // namespace
