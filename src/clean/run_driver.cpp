// Clear and Test: one run that calls the erasers of every category switched on, in a
// fixed order, and frames their lines in the activity log.

#include <iterator>
#include <utility>
#include <vector>

#include "clean/log_text.h"
#include "clean/run_steps.h"

namespace {

constexpr char kSeparator[] = "............................................";
constexpr char kAnalysisStart[] = "正在分析系统... Please wait. This may take some time";
constexpr char kAnalysisDone[] = "正在分析系统 <OK>";
constexpr char kRunDone[] = "完成!";

constexpr CsidlFolder kIndexDatFolders[] = {csidl::kCookies, csidl::kInternetCache,
                                            csidl::kHistory};

constexpr ModeText kAutoCompleteOpening{"删除自动填表数据...", "测试: 正在删除自动完成内容..."};
constexpr ModeText kAutoCompleteFound{"自动填表数据已删除 <OK>",
                                       "测试: 自动完成的内容已删除 <OK>"};
constexpr ModeText kAutoCompleteNone{"没有要删除的自动填表数据 <OK>",
                                      "测试: 没有可以删除的自动完成内容 <OK>"};
constexpr ModeText kRecycleBinOpening{"正在清空回收站...", "测试: 正在清空回收站..."};
constexpr ModeText kIndexDatOpening{"正在填充 index.dat 文件...",
                                     "测试: 正在清空 index.dat 文件..."};
constexpr ModeText kIndexDatFound{"Index.dat 文件已填充 <OK>",
                                   "测试: Index.dat 文件已被清空 <OK>"};
constexpr ModeText kIndexDatNone{"Index.dat 文件已经被填充 <OK>",
                                  "测试: Index.dat 文件已经被清空 <OK>"};

// The categories of a run's report, in the order a Clear with every switch on first
// works on them: the browser windows before everything, the Mozilla traces of the cookies
// and history groups, AOL's with the history.
enum Category {
    kBrowsers,
    kCookies,
    kMozilla,
    kHistory,
    kAol,
    kAutoComplete,
    kTempInternetFiles,
    kWindowsTemp,
    kStartPage,
    kRecycleBin,
    kRecentDocs,
    kSearchHistory,
    kIndexDat,
    kCategoryCount
};

struct CategoryKind {
    const char* name;
    bool sized;  // its items have sizes the platform tells
};

constexpr CategoryKind kCategories[kCategoryCount] = {
    {"browsers", false},
    {"cookies", true},
    {"mozilla", true},
    {"history", false},
    {"aol", true},
    {"autocomplete", false},
    {"temporary_internet_files", true},
    {"windows_temp", true},
    {"start_page", false},
    {"recycle_bin", true},
    {"recent_documents", true},
    {"search_history", false},
    {"index_dat", true},
};

using RunReport = std::vector<CategoryReport>;

// Opening line of a group the driver frames itself, followed by a blank line.
void OpenGroup(EraserDlg& dlg, const ModeText& opening, bool testMode) {
    Strong(dlg, opening.For(testMode));
    Plain(dlg, "");
}

// Test has no Mozilla erasers; it only looks at what they would take.
void CookiesGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    report[kCookies].result += Steps(dlg).EraseCookies(dlg, testMode);
    report[kMozilla].result +=
        testMode ? MozillaTracesFound(dlg, true, false) : Steps(dlg).EraseMozillaCookies(dlg);
}

void HistoryGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    CategoryResult& history = report[kHistory].result;
    history += Steps(dlg).EraseHistory(dlg, testMode);
    history += Steps(dlg).EraseTypedUrls(dlg, testMode);
    if (testMode) {
        report[kMozilla].result += MozillaTracesFound(dlg, false, true);
    } else {
        report[kMozilla].result += Steps(dlg).EraseMozillaHistory(dlg);
        report[kMozilla].result += Steps(dlg).EraseMozillaUrlBarHistory(dlg);
    }
    report[kAol].result += Steps(dlg).EraseAolTraces(dlg, testMode);
}

void AutoCompleteGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    OpenGroup(dlg, kAutoCompleteOpening, testMode);
    CategoryResult& found = report[kAutoComplete].result;
    found += Steps(dlg).EraseAutoComplete(dlg, testMode, dlg.log);
    if (found.Any()) {
        Plain(dlg, "");
        Strong(dlg, kAutoCompleteFound.For(testMode));
    } else {
        Strong(dlg, kAutoCompleteNone.For(testMode));
    }
}

void TempInternetFilesGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    report[kTempInternetFiles].result += Steps(dlg).EraseTemporaryInternetFiles(dlg, testMode);
}

void WindowsTempGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    report[kWindowsTemp].result += Steps(dlg).EraseWindowsTemp(dlg, testMode);
}

void StartPageGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    report[kStartPage].result += Steps(dlg).ResetStartPage(dlg, testMode);
}

void RecycleBinGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    OpenGroup(dlg, kRecycleBinOpening, testMode);
    report[kRecycleBin].result += Steps(dlg).EraseRecycleBin(dlg, testMode);
}

void RecentDocsGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    report[kRecentDocs].result += Steps(dlg).EraseRecentDocuments(dlg, testMode);
}

void SearchHistoryGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    report[kSearchHistory].result += Steps(dlg).EraseSearchHistory(dlg, testMode);
}

void IndexDatGroup(EraserDlg& dlg, bool testMode, RunReport& report) {
    CategoryResult& filled = report[kIndexDat].result;
    dlg.indexDatFound = false;
    OpenGroup(dlg, kIndexDatOpening, testMode);
    for (CsidlFolder folder : kIndexDatFolders) {
        filled += Steps(dlg).FillIndexDat(dlg, testMode, folder, /*logIt=*/true);
    }
    filled += Steps(dlg).FillListedIndexDat(dlg, testMode, /*logIt=*/true);
    if (dlg.indexDatFound) {
        Plain(dlg, "");
        Strong(dlg, kIndexDatFound.For(testMode));
    } else {
        Strong(dlg, kIndexDatNone.For(testMode));
    }
}

// The groups of a run in their fixed order, each with the switch that gates it.
struct Group {
    std::int32_t EraserSettings::*setting;
    void (*run)(EraserDlg& dlg, bool testMode, RunReport& report);
};

constexpr Group kGroups[] = {
    {&EraserSettings::clearCookies, CookiesGroup},
    {&EraserSettings::clearHistory, HistoryGroup},
    {&EraserSettings::clearAutoComplete, AutoCompleteGroup},
    {&EraserSettings::clearTempInternetFiles, TempInternetFilesGroup},
    {&EraserSettings::clearWindowsTemp, WindowsTempGroup},
    {&EraserSettings::resetStartPage, StartPageGroup},
    {&EraserSettings::emptyRecycleBin, RecycleBinGroup},
    {&EraserSettings::clearRecentDocs, RecentDocsGroup},
    {&EraserSettings::clearSearchHistory, SearchHistoryGroup},
    {&EraserSettings::clearIndexDat, IndexDatGroup},
};

// Every category, selected as the settings say (the browser windows always are), with
// nothing counted yet: no bytes where none can be known.
RunReport EmptyReport(const EraserSettings& settings) {
    auto on = [&](std::int32_t EraserSettings::*setting) { return settings.*setting != 0; };
    const bool selected[kCategoryCount] = {
        true,
        on(&EraserSettings::clearCookies),
        on(&EraserSettings::clearCookies) || on(&EraserSettings::clearHistory),
        on(&EraserSettings::clearHistory),
        on(&EraserSettings::clearHistory),
        on(&EraserSettings::clearAutoComplete),
        on(&EraserSettings::clearTempInternetFiles),
        on(&EraserSettings::clearWindowsTemp),
        on(&EraserSettings::resetStartPage),
        on(&EraserSettings::emptyRecycleBin),
        on(&EraserSettings::clearRecentDocs),
        on(&EraserSettings::clearSearchHistory),
        on(&EraserSettings::clearIndexDat),
    };
    RunReport report;
    for (int i = 0; i < kCategoryCount; ++i) {
        bool sized = selected[i] && kCategories[i].sized;
        report.push_back(
            {kCategories[i].name, selected[i], sized ? CategoryResult::Sized() : CategoryResult()});
    }
    return report;
}

// Clear (testMode false) and Test (testMode true). Test leaves the browser windows
// alone and runs no Mozilla eraser.
void Run(EraserDlg& dlg, bool testMode) {
    if (dlg.busy) {
        return;
    }
    dlg.busy = true;
    dlg.indexDatPaths.clear();
    dlg.report.clear();
    dlg.log.ClearLog();
    RunReport report = EmptyReport(dlg.settings);
    if (!testMode) {
        dlg.progress.SetPos(0);
        report[kBrowsers].result.items += Steps(dlg).HandleOpenIEWindows(dlg);
    }
    if (const char* osLine = OsVersionLine(dlg.osVersion)) {
        dlg.log.AppendRawLine(osLine);
    }
    Plain(dlg, kSeparator);

    // The analysis line stays in view while the entries are counted, then gives way.
    Strong(dlg, kAnalysisStart);
    Steps(dlg).PrepareProgress(dlg);
    dlg.log.RemoveLastLogLine();
    Strong(dlg, kAnalysisDone);
    if (testMode) {
        report[kBrowsers].result.items += CountBrowserWindowsToClose(dlg);
    } else {
        report[kBrowsers].result.items += Steps(dlg).CloseMozillaWindows(dlg);
        report[kBrowsers].result.items += Steps(dlg).CloseAolWindows(dlg);
    }
    Plain(dlg, kSeparator);

    // busy is not tested between groups: after a close request the erasers' own loops
    // end at once and the run still reaches its end.
    for (const Group& group : kGroups) {
        if (dlg.settings.*group.setting != 0) {
            group.run(dlg, testMode, report);
            Plain(dlg, kSeparator);
        }
    }

    Plain(dlg, kRunDone);
    dlg.ShowCompletion();
    dlg.report = std::move(report);
    dlg.busy = false;
}

}  // namespace

void EraserDlg::OnClear() {
    Run(*this, /*testMode=*/false);
}

void EraserDlg::OnTest() {
    Run(*this, /*testMode=*/true);
}
