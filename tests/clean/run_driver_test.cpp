// The frame of a Clear or Test run: which steps run, with what and in which order, and
// every line the driver writes around them. The steps are replaced by recorders that
// write their call into the log: "EraseCookies 1" is EraseCookies in Test.
#include <gtest/gtest.h>

#include "clean/eraser_rows.h"

namespace {

const std::string kSep(44, '.');

template <typename... Args>
std::function<void(EraserDlg&, Args...)> Recorder(const char* name) {
    return [name](EraserDlg& dlg, Args... args) {
        std::string call = name;
        ((call += " " + std::to_string(args)), ...);
        dlg.log.AddLogLine(call, emphasis::kPlain);
    };
}

class RunDriver : public Machine {
protected:
    RunDriver() {
        SetAllSwitches(dlg.settings, 0);
        RunSteps& s = dlg.steps;
        // clang-format off
        for (auto [step, name] : {std::pair{&RunSteps::HandleOpenIEWindows, "HandleOpenIEWindows"},
                 {&RunSteps::CloseMozillaWindows, "CloseMozillaWindows"},
                 {&RunSteps::CloseAolWindows, "CloseAolWindows"},
                 {&RunSteps::EraseMozillaCookies, "EraseMozillaCookies"},
                 {&RunSteps::EraseMozillaHistory, "EraseMozillaHistory"},
                 {&RunSteps::EraseMozillaUrlBarHistory, "MozillaUrlBar"}}) {
            s.*step = Recorder<>(name);
        }
        for (auto [step, name] : {std::pair{&RunSteps::EraseCookies, "EraseCookies"},
                 {&RunSteps::EraseHistory, "EraseHistory"},
                 {&RunSteps::EraseTypedUrls, "TypedUrls"},
                 {&RunSteps::EraseAolTraces, "AolTraces"},
                 {&RunSteps::EraseWindowsTemp, "WindowsTemp"},
                 {&RunSteps::EraseTemporaryInternetFiles, "TemporaryFiles"},
                 {&RunSteps::ResetStartPage, "ResetStartPage"},
                 {&RunSteps::EraseRecycleBin, "EraseRecycleBin"},
                 {&RunSteps::EraseRecentDocuments, "RecentDocuments"},
                 {&RunSteps::EraseSearchHistory, "SearchHistory"}}) {
            s.*step = Recorder<bool>(name);
        }
        // clang-format on
        s.FillIndexDat = Recorder<bool, CsidlFolder, bool>("FillIndexDat");
        s.FillListedIndexDat = [this](EraserDlg& d, bool test, bool logIt) {
            Recorder<bool, bool>("FillListedIndexDat")(d, test, logIt);
            d.indexDatFound = d.indexDatFound || indexDatFound;
        };
        s.EraseAutoComplete = [this](EraserDlg& d, bool test, ActivityLog& log) {
            EXPECT_EQ(&d.log, &log);
            Recorder<bool>("EraseAutoComplete")(d, test);
            return autoCompleteFound;
        };
        s.PrepareProgress = [this](EraserDlg&) { ++counts; };  // a line here would go
    }
    // The run's lines around the groups' lines, in Clear and in Test.
    static Lines Frame(bool test, const Lines& groups) {
        const Lines head[] = {
            {"HandleOpenIEWindows", "操作系统: Windows XP", kSep, "**正在分析系统 <OK>",
             "CloseMozillaWindows", "CloseAolWindows", kSep},
            {"操作系统: Windows XP", kSep, "**正在分析系统 <OK>", kSep}};
        return Join({head[test], groups, {"完成!"}});
    }

    int counts = 0;
    bool autoCompleteFound = false;
    bool indexDatFound = false;
};

// Clear resets the bar before counting, Test does not; the analysis line stays while the
// entries are counted; the system line is appended raw (never scrolled to).
TEST_F(RunDriver, FrameOfClearAndTest) {
    struct : LogObserver {
        void LineAdded(const LogLine& line, bool raw) override {
            rawLines.insert(rawLines.end(), raw, line.text);
        }
        Lines rawLines;
    } observer;
    dlg.log.SetObserver(&observer);
    Lines seen;
    dlg.steps.PrepareProgress = [&](EraserDlg&) {
        seen = Log();
        seen.push_back(std::to_string(dlg.progress.GetPos()) + (dlg.busy ? " busy " : " ") +
                       std::to_string(dlg.indexDatPaths.size()));
    };
    for (bool test : {false, true}) {
        dlg.indexDatPaths.insert("C:\\old");
        dlg.progress.SetPos(40);
        test ? dlg.OnTest() : dlg.OnClear();
        EXPECT_EQ(Frame(test, {}), Log());
        Lines during = {"操作系统: Windows XP", kSep,
                        "**正在分析系统... Please wait. This may take some time",
                        test ? "40 busy 0" : "0 busy 0"};
        during.insert(during.begin(), !test, "HandleOpenIEWindows");
        EXPECT_EQ(during, seen);
        EXPECT_EQ((std::pair{100, false}), (std::pair{dlg.progress.GetPos(), dlg.busy}));
    }
    dlg.log.SetObserver(nullptr);
    EXPECT_EQ((Lines{"操作系统: Windows XP", "操作系统: Windows XP"}), observer.rawLines);
}

TEST_F(RunDriver, OperatingSystemLineForEveryCode) {
    const char* const names[] = {
        "", "3.1", "95", "98", "NT", "2000", "XP", "ME", "Server 2003 家族", ""};
    for (int code = -1; code <= 9; ++code) {
        dlg.osVersion = code;
        dlg.OnTest();
        const std::string name = code < 0 ? "" : names[code];
        EXPECT_EQ(name.empty() ? kSep : "操作系统: Windows " + name, Log().front()) << code;
        EXPECT_EQ(name.empty() ? 4u : 5u, Log().size()) << code;
    }
}

// The index.dat step's calls in Clear and in Test: the cookies, cache and history folders.
const Lines kFills[] = {
    {"FillIndexDat 0 33 1", "FillIndexDat 0 32 1", "FillIndexDat 0 34 1", "FillListedIndexDat 0 1"},
    {"FillIndexDat 1 33 1", "FillIndexDat 1 32 1", "FillIndexDat 1 34 1",
     "FillListedIndexDat 1 1"}};

using S = EraserSettings;
struct Group {
    std::int32_t S::*setting;
    bool found;         // what the auto-complete eraser and the index.dat fill report
    Lines clear, test;  // between the frame's second separator and "完成!"
};

// clang-format off
const Group kGroups[] = {
    {&S::clearCookies, false, {"EraseCookies 0", "EraseMozillaCookies", kSep},
     {"EraseCookies 1", kSep}},
    {&S::clearHistory, false,
     {"EraseHistory 0", "TypedUrls 0", "EraseMozillaHistory", "MozillaUrlBar", "AolTraces 0", kSep},
     {"EraseHistory 1", "TypedUrls 1", "AolTraces 1", kSep}},
    {&S::clearAutoComplete, false,
     {"**删除自动填表数据...", "", "EraseAutoComplete 0", "**没有要删除的自动填表数据 <OK>", kSep},
     {"**测试: 正在删除自动完成内容...", "", "EraseAutoComplete 1",
      "**测试: 没有可以删除的自动完成内容 <OK>", kSep}},
    {&S::clearTempInternetFiles, false, {"TemporaryFiles 0", kSep}, {"TemporaryFiles 1", kSep}},
    {&S::clearWindowsTemp, false, {"WindowsTemp 0", kSep}, {"WindowsTemp 1", kSep}},
    {&S::resetStartPage, false, {"ResetStartPage 0", kSep}, {"ResetStartPage 1", kSep}},
    {&S::emptyRecycleBin, false, {"**正在清空回收站...", "", "EraseRecycleBin 0", kSep},
     {"**测试: 正在清空回收站...", "", "EraseRecycleBin 1", kSep}},
    {&S::clearRecentDocs, false, {"RecentDocuments 0", kSep}, {"RecentDocuments 1", kSep}},
    {&S::clearSearchHistory, false, {"SearchHistory 0", kSep}, {"SearchHistory 1", kSep}},
    {&S::clearIndexDat, false,
     Join({{"**正在填充 index.dat 文件...", ""}, kFills[0],
           {"**Index.dat 文件已经被填充 <OK>", kSep}}),
     Join({{"**测试: 正在清空 index.dat 文件...", ""}, kFills[1],
           {"**测试: Index.dat 文件已经被清空 <OK>", kSep}})},
    // Found: a blank line, then their own closing texts.
    {&S::clearAutoComplete, true,
     {"**删除自动填表数据...", "", "EraseAutoComplete 0", "", "**自动填表数据已删除 <OK>", kSep},
     {"**测试: 正在删除自动完成内容...", "", "EraseAutoComplete 1", "",
      "**测试: 自动完成的内容已删除 <OK>", kSep}},
    {&S::clearIndexDat, true,
     Join({{"**正在填充 index.dat 文件...", ""}, kFills[0],
           {"", "**Index.dat 文件已填充 <OK>", kSep}}),
     Join({{"**测试: 正在清空 index.dat 文件...", ""}, kFills[1],
           {"", "**测试: Index.dat 文件已被清空 <OK>", kSep}})},
};
// clang-format on

// Any value but 0 switches a group on; indexDatFound is reset before its group.
TEST_F(RunDriver, EachGroupAloneInClearAndTest) {
    for (const Group& group : kGroups) {
        SetAllSwitches(dlg.settings, 0);
        dlg.settings.*group.setting = -7;
        autoCompleteFound = indexDatFound = group.found;
        for (bool test : {false, true}) {
            dlg.indexDatFound = true;
            test ? dlg.OnTest() : dlg.OnClear();
            EXPECT_EQ(Frame(test, test ? group.test : group.clear), Log());
        }
    }
}

// Groups run in their fixed order. A click inside a run is ignored, and after a close
// request (busy cleared) the remaining groups still run.
TEST_F(RunDriver, AllGroupsInTheirOrderWhateverHappensMeanwhile) {
    SetAllSwitches(dlg.settings, 1);
    dlg.steps.EraseCookies = [](EraserDlg& d, bool) {
        d.OnClear();
        d.OnTest();
        d.log.AddLogLine("EraseCookies 0", emphasis::kPlain);
        d.busy = false;
    };
    dlg.OnClear();
    Lines groups;
    for (const Group& group : kGroups) {
        if (!group.found) {
            groups.insert(groups.end(), group.clear.begin(), group.clear.end());
        }
    }
    EXPECT_EQ(Frame(false, groups), Log());
    EXPECT_EQ(1, counts);
    EXPECT_FALSE(dlg.busy);
}

TEST_F(RunDriver, ProgressEndsAtTheUpperBoundEvenWhenItWrapped) {
    dlg.progress.SetRange(0, 30000);
    dlg.OnTest();
    EXPECT_EQ(30000, dlg.progress.GetPos());
    dlg.progress.SetRange(0, static_cast<std::int16_t>(40000));
    dlg.OnTest();
    EXPECT_EQ(0, dlg.progress.GetPos());
}

// A run of 6, 16 and 17 lines; raw lines are never scrolled on their own.
TEST_F(RunDriver, FinalScrollShowsTheLastSixteenLines) {
    dlg.settings.clearWindowsTemp = 1;
    for (auto [extra, top] : {std::pair{0, 0}, {10, 0}, {11, 1}}) {
        dlg.steps.EraseWindowsTemp = [extra = extra](EraserDlg& d, bool) {
            for (int i = 0; i < extra; ++i) {
                d.log.AppendRawLine("entry");
            }
        };
        dlg.OnTest();
        EXPECT_EQ(top, dlg.log.TopIndex()) << extra;
    }
}

}  // namespace
