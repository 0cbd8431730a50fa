// The frame of a Clear or Test run: which steps run, with what and in which order, and
// every line the driver writes around them. The erasers are replaced by recorders.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/eraser_dlg.h"
#include "log_lines.h"
#include "platform/memory/memory_platform.h"

namespace {

const std::string kSep(44, '.');
const std::string kOsXp = "操作系统: Windows XP";
const std::string kAnalysisDone = "**正在分析系统 <OK>";
const std::string kDone = "完成!";

class RunDriver : public ::testing::Test {
protected:
    RunDriver() {
        dlg.osVersion = osver::kWinXp;
        SwitchAll(0);
        Record();
    }

    void SwitchAll(std::int32_t on) { SetAllSwitches(dlg.settings, on); }

    // Puts a recorder in every slot; `hook` runs inside each step.
    void Record() {
        RunSteps& s = dlg.steps;
        auto plain = [this](const char* name) { return [this, name](EraserDlg&) { Note(name); }; };
        auto mode = [this](const char* name) {
            return [this, name](EraserDlg&, bool test) {
                Note(std::string(name) + (test ? "(test)" : "(clear)"));
            };
        };
        s.HandleOpenIEWindows = plain("HandleOpenIEWindows");
        s.PrepareProgress = plain("PrepareProgress");
        s.CloseMozillaWindows = plain("CloseMozillaWindows");
        s.CloseAolWindows = plain("CloseAolWindows");
        s.EraseCookies = mode("EraseCookies");
        s.EraseMozillaCookies = plain("EraseMozillaCookies");
        s.EraseHistory = mode("EraseHistory");
        s.EraseTypedUrls = mode("EraseTypedUrls");
        s.EraseMozillaHistory = plain("EraseMozillaHistory");
        s.EraseMozillaUrlBarHistory = plain("EraseMozillaUrlBarHistory");
        s.EraseAolTraces = mode("EraseAolTraces");
        s.EraseAutoComplete = [this](EraserDlg&, bool test, ActivityLog& log) {
            Note(std::string("EraseAutoComplete") + (test ? "(test)" : "(clear)"));
            EXPECT_EQ(&dlg.log, &log);
            return autoCompleteFound;
        };
        s.EraseTemporaryInternetFiles = mode("EraseTemporaryInternetFiles");
        s.EraseWindowsTemp = mode("EraseWindowsTemp");
        s.ResetStartPage = mode("ResetStartPage");
        s.EraseRecycleBin = mode("EraseRecycleBin");
        s.EraseRecentDocuments = mode("EraseRecentDocuments");
        s.EraseSearchHistory = mode("EraseSearchHistory");
        s.FillIndexDat = [this](EraserDlg&, bool test, CsidlFolder folder, bool logIt) {
            Note("FillIndexDat(" + std::string(test ? "test" : "clear") + "," +
                 std::to_string(folder) + (logIt ? ",log)" : ")"));
        };
        s.FillListedIndexDat = [this](EraserDlg& d, bool test, bool logIt) {
            Note("FillListedIndexDat(" + std::string(test ? "test" : "clear") +
                 (logIt ? ",log)" : ")"));
            d.indexDatFound = d.indexDatFound || indexDatFound;
        };
    }

    void Note(const std::string& call) {
        calls.push_back(call);
        if (hook) {
            hook(call);
        }
    }

    // The log as texts; emphasised lines start with "**".
    Lines Log() const { return LogLines(dlg.log); }

    static Lines Frame(const Lines& groups) {
        Lines out = {kOsXp, kSep, kAnalysisDone, kSep};
        out.insert(out.end(), groups.begin(), groups.end());
        out.push_back(kDone);
        return out;
    }

    MemoryPlatform mem;
    EraserDlg dlg{mem.platform};
    Lines calls;
    std::function<void(const std::string&)> hook;
    bool autoCompleteFound = false;
    bool indexDatFound = false;
};

TEST_F(RunDriver, ClearWithEverythingOffWritesOnlyTheFrame) {
    dlg.progress.SetPos(40);
    dlg.OnClear();
    EXPECT_EQ(Frame({}), Log());
    EXPECT_EQ(
        Lines({"HandleOpenIEWindows", "PrepareProgress", "CloseMozillaWindows", "CloseAolWindows"}),
        calls);
    EXPECT_EQ(100, dlg.progress.GetPos());
    EXPECT_FALSE(dlg.busy);
}

TEST_F(RunDriver, TestLeavesBrowserWindowsAlone) {
    dlg.settings.closeBrowserPolicy = 0;
    dlg.OnTest();
    EXPECT_EQ(Frame({}), Log());
    EXPECT_EQ(Lines({"PrepareProgress"}), calls);
    EXPECT_EQ(100, dlg.progress.GetPos());
}

TEST_F(RunDriver, ClearResetsTheProgressBeforeCountingAndTestDoesNot) {
    int seen = -1;
    hook = [&](const std::string& call) {
        if (call == "PrepareProgress") {
            seen = dlg.progress.GetPos();
        }
    };
    dlg.progress.SetPos(40);
    dlg.OnClear();
    EXPECT_EQ(0, seen);
    dlg.progress.SetPos(40);
    dlg.OnTest();
    EXPECT_EQ(40, seen);
}

TEST_F(RunDriver, BusyStartsTheRunAndEndsIt) {
    bool busyInside = false;
    hook = [&](const std::string&) { busyInside = dlg.busy; };
    dlg.OnTest();
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(dlg.busy);
}

TEST_F(RunDriver, AnalysisLineIsShownWhileCountingThenReplaced) {
    Lines during;
    hook = [&](const std::string& call) {
        if (call == "PrepareProgress") {
            during = Log();
        }
    };
    dlg.OnTest();
    EXPECT_EQ(Lines({kOsXp, kSep, "**正在分析系统... Please wait. This may take some time"}),
              during);
}

TEST_F(RunDriver, OperatingSystemLineIsAppendedRaw) {
    struct Observer : LogObserver {
        void LineAdded(const LogLine& line, bool raw) override {
            if (raw) {
                rawLines.push_back(line.text);
            }
        }
        Lines rawLines;
    } observer;
    dlg.log.SetObserver(&observer);
    dlg.OnTest();
    dlg.log.SetObserver(nullptr);
    EXPECT_EQ(Lines({kOsXp}), observer.rawLines);
}

TEST_F(RunDriver, OperatingSystemLineForEveryCode) {
    const char* const expected[] = {
        nullptr,
        "操作系统: Windows 3.1",
        "操作系统: Windows 95",
        "操作系统: Windows 98",
        "操作系统: Windows NT",
        "操作系统: Windows 2000",
        "操作系统: Windows XP",
        "操作系统: Windows ME",
        "操作系统: Windows Server 2003 家族",
        nullptr,
    };
    for (int code = -1; code <= 9; ++code) {
        dlg.osVersion = code;
        dlg.OnClear();
        const char* line = code < 0 ? nullptr : expected[code];
        Lines log = Log();
        if (line == nullptr) {
            EXPECT_EQ(kSep, log.front()) << code;
            EXPECT_EQ(4u, log.size()) << code;
        } else {
            EXPECT_EQ(line, log.front()) << code;
            EXPECT_EQ(5u, log.size()) << code;
        }
    }
}

struct GroupCase {
    const char* name;
    std::int32_t EraserSettings::*setting;
    Lines clearCalls;
    Lines testCalls;
    Lines clearLines;  // between the frame's second separator and "完成!"
    Lines testLines;
};

const GroupCase kGroupCases[] = {
    {"Cookies",
     &EraserSettings::clearCookies,
     {"EraseCookies(clear)", "EraseMozillaCookies"},
     {"EraseCookies(test)"},
     {kSep},
     {kSep}},
    {"History",
     &EraserSettings::clearHistory,
     {"EraseHistory(clear)", "EraseTypedUrls(clear)", "EraseMozillaHistory",
      "EraseMozillaUrlBarHistory", "EraseAolTraces(clear)"},
     {"EraseHistory(test)", "EraseTypedUrls(test)", "EraseAolTraces(test)"},
     {kSep},
     {kSep}},
    {"AutoComplete",
     &EraserSettings::clearAutoComplete,
     {"EraseAutoComplete(clear)"},
     {"EraseAutoComplete(test)"},
     {"**删除自动填表数据...", "", "**没有要删除的自动填表数据 <OK>", kSep},
     {"**测试: 正在删除自动完成内容...", "", "**测试: 没有可以删除的自动完成内容 <OK>", kSep}},
    {"TempInternetFiles",
     &EraserSettings::clearTempInternetFiles,
     {"EraseTemporaryInternetFiles(clear)"},
     {"EraseTemporaryInternetFiles(test)"},
     {kSep},
     {kSep}},
    {"WindowsTemp",
     &EraserSettings::clearWindowsTemp,
     {"EraseWindowsTemp(clear)"},
     {"EraseWindowsTemp(test)"},
     {kSep},
     {kSep}},
    {"StartPage",
     &EraserSettings::resetStartPage,
     {"ResetStartPage(clear)"},
     {"ResetStartPage(test)"},
     {kSep},
     {kSep}},
    {"RecycleBin",
     &EraserSettings::emptyRecycleBin,
     {"EraseRecycleBin(clear)"},
     {"EraseRecycleBin(test)"},
     {"**正在清空回收站...", "", kSep},
     {"**测试: 正在清空回收站...", "", kSep}},
    {"RecentDocs",
     &EraserSettings::clearRecentDocs,
     {"EraseRecentDocuments(clear)"},
     {"EraseRecentDocuments(test)"},
     {kSep},
     {kSep}},
    {"SearchHistory",
     &EraserSettings::clearSearchHistory,
     {"EraseSearchHistory(clear)"},
     {"EraseSearchHistory(test)"},
     {kSep},
     {kSep}},
    {"IndexDat",
     &EraserSettings::clearIndexDat,
     {"FillIndexDat(clear,33,log)", "FillIndexDat(clear,32,log)", "FillIndexDat(clear,34,log)",
      "FillListedIndexDat(clear,log)"},
     {"FillIndexDat(test,33,log)", "FillIndexDat(test,32,log)", "FillIndexDat(test,34,log)",
      "FillListedIndexDat(test,log)"},
     {"**正在填充 index.dat 文件...", "", "**Index.dat 文件已经被填充 <OK>", kSep},
     {"**测试: 正在清空 index.dat 文件...", "", "**测试: Index.dat 文件已经被清空 <OK>", kSep}},
};

TEST_F(RunDriver, EachGroupAloneInClearAndTest) {
    const Lines clearFrameCalls = {"HandleOpenIEWindows", "PrepareProgress", "CloseMozillaWindows",
                                   "CloseAolWindows"};
    for (const GroupCase& group : kGroupCases) {
        SCOPED_TRACE(group.name);
        SwitchAll(0);
        dlg.settings.*group.setting = 1;

        calls.clear();
        dlg.OnClear();
        Lines expectedCalls = clearFrameCalls;
        expectedCalls.insert(expectedCalls.end(), group.clearCalls.begin(), group.clearCalls.end());
        EXPECT_EQ(expectedCalls, calls);
        EXPECT_EQ(Frame(group.clearLines), Log());

        calls.clear();
        dlg.OnTest();
        expectedCalls = {"PrepareProgress"};
        expectedCalls.insert(expectedCalls.end(), group.testCalls.begin(), group.testCalls.end());
        EXPECT_EQ(expectedCalls, calls);
        EXPECT_EQ(Frame(group.testLines), Log());
    }
}

TEST_F(RunDriver, AnyNonZeroValueSwitchesAGroupOn) {
    dlg.settings.clearWindowsTemp = -7;
    dlg.OnTest();
    EXPECT_EQ(Lines({"PrepareProgress", "EraseWindowsTemp(test)"}), calls);
}

TEST_F(RunDriver, GroupsRunInTheirFixedOrder) {
    SwitchAll(1);
    dlg.OnTest();
    Lines expected = {"PrepareProgress"};
    for (const GroupCase& group : kGroupCases) {
        expected.insert(expected.end(), group.testCalls.begin(), group.testCalls.end());
    }
    EXPECT_EQ(expected, calls);
}

TEST_F(RunDriver, AutoCompleteFoundClosesWithABlankLineAndItsOwnText) {
    autoCompleteFound = true;
    dlg.settings.clearAutoComplete = 1;
    dlg.OnClear();
    EXPECT_EQ(Frame({"**删除自动填表数据...", "", "", "**自动填表数据已删除 <OK>", kSep}), Log());
    dlg.OnTest();
    EXPECT_EQ(Frame({"**测试: 正在删除自动完成内容...", "", "", "**测试: 自动完成的内容已删除 <OK>",
                     kSep}),
              Log());
}

TEST_F(RunDriver, IndexDatFoundClosesWithABlankLineAndItsOwnText) {
    indexDatFound = true;
    dlg.settings.clearIndexDat = 1;
    dlg.OnClear();
    EXPECT_EQ(Frame({"**正在填充 index.dat 文件...", "", "", "**Index.dat 文件已填充 <OK>", kSep}),
              Log());
    dlg.OnTest();
    EXPECT_EQ(Frame({"**测试: 正在清空 index.dat 文件...", "", "",
                     "**测试: Index.dat 文件已被清空 <OK>", kSep}),
              Log());
}

TEST_F(RunDriver, IndexDatFoundIsResetBeforeTheGroup) {
    dlg.indexDatFound = true;  // left over from an earlier run
    dlg.settings.clearIndexDat = 1;
    dlg.OnTest();
    EXPECT_EQ("**测试: Index.dat 文件已经被清空 <OK>", Log()[Log().size() - 3]);
}

TEST_F(RunDriver, EveryRunStartsWithNoIndexDatPaths) {
    dlg.indexDatPaths.insert("C:\\old");
    size_t seen = 99;
    hook = [&](const std::string&) { seen = dlg.indexDatPaths.size(); };
    dlg.OnTest();
    EXPECT_EQ(0u, seen);
}

TEST_F(RunDriver, CommandWhileBusyDoesNothing) {
    dlg.log.AddLogLine("earlier", emphasis::kPlain);
    dlg.busy = true;
    dlg.OnClear();
    dlg.OnTest();
    EXPECT_EQ(Lines({"earlier"}), Log());
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(dlg.busy);
}

TEST_F(RunDriver, ClickDuringARunIsIgnored) {
    dlg.settings.clearCookies = 1;
    hook = [&](const std::string& call) {
        if (call == "EraseCookies(clear)") {
            dlg.OnClear();
            dlg.OnTest();
        }
    };
    dlg.OnClear();
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "PrepareProgress"));
    EXPECT_EQ(Frame({kSep}), Log());
}

TEST_F(RunDriver, CloseRequestDuringARunLetsTheRemainingGroupsFinish) {
    SwitchAll(1);
    hook = [&](const std::string& call) {
        if (call == "EraseCookies(clear)") {
            dlg.busy = false;  // what a close request does
        }
    };
    dlg.OnClear();
    EXPECT_EQ("FillListedIndexDat(clear,log)", calls.back());
    EXPECT_EQ(kDone, Log().back());
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

TEST_F(RunDriver, FinalScrollShowsTheLastSixteenLines) {
    int extra = 0;
    hook = [&](const std::string& call) {
        if (call == "EraseWindowsTemp(test)") {
            for (int i = 0; i < extra; ++i) {
                dlg.log.AppendRawLine("entry");
            }
        }
    };
    dlg.settings.clearWindowsTemp = 1;
    dlg.OnTest();  // 6 lines
    EXPECT_EQ(0, dlg.log.TopIndex());

    extra = 10;  // 16 lines
    dlg.OnTest();
    EXPECT_EQ(16, dlg.log.LineCount());
    EXPECT_EQ(0, dlg.log.TopIndex());

    extra = 11;  // 17 lines, raw lines never scrolled on their own
    dlg.OnTest();
    EXPECT_EQ(1, dlg.log.TopIndex());
}

}  // namespace
