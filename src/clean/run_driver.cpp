// Clear and Test: one run that calls the erasers of every category switched on, in a
// fixed order, and frames their lines in the activity log.

#include <iterator>

#include "clean/run_steps.h"
#include "clean/log_text.h"

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

const char* OsLine(int osVersion) {
    static const char* const kLines[] = {
        nullptr,
        "操作系统: Windows 3.1",
        "操作系统: Windows 95",
        "操作系统: Windows 98",
        "操作系统: Windows NT",
        "操作系统: Windows 2000",
        "操作系统: Windows XP",
        "操作系统: Windows ME",
        "操作系统: Windows Server 2003 家族",
    };
    if (osVersion < 0 || osVersion >= static_cast<int>(std::size(kLines))) {
        return nullptr;
    }
    return kLines[osVersion];
}

// Opening line of a group the driver frames itself, followed by a blank line.
void OpenGroup(EraserDlg& dlg, const ModeText& opening, bool testMode) {
    Strong(dlg, opening.For(testMode));
    Plain(dlg, "");
}

void CookiesGroup(EraserDlg& dlg, bool testMode) {
    Steps(dlg).EraseCookies(dlg, testMode);
    if (!testMode) {
        Steps(dlg).EraseMozillaCookies(dlg);
    }
}

void HistoryGroup(EraserDlg& dlg, bool testMode) {
    Steps(dlg).EraseHistory(dlg, testMode);
    Steps(dlg).EraseTypedUrls(dlg, testMode);
    if (!testMode) {
        Steps(dlg).EraseMozillaHistory(dlg);
        Steps(dlg).EraseMozillaUrlBarHistory(dlg);
    }
    Steps(dlg).EraseAolTraces(dlg, testMode);
}

void AutoCompleteGroup(EraserDlg& dlg, bool testMode) {
    OpenGroup(dlg, kAutoCompleteOpening, testMode);
    if (Steps(dlg).EraseAutoComplete(dlg, testMode, dlg.log)) {
        Plain(dlg, "");
        Strong(dlg, kAutoCompleteFound.For(testMode));
    } else {
        Strong(dlg, kAutoCompleteNone.For(testMode));
    }
}

void TempInternetFilesGroup(EraserDlg& dlg, bool testMode) {
    Steps(dlg).EraseTemporaryInternetFiles(dlg, testMode);
}

void WindowsTempGroup(EraserDlg& dlg, bool testMode) {
    Steps(dlg).EraseWindowsTemp(dlg, testMode);
}

void StartPageGroup(EraserDlg& dlg, bool testMode) {
    Steps(dlg).ResetStartPage(dlg, testMode);
}

void RecycleBinGroup(EraserDlg& dlg, bool testMode) {
    OpenGroup(dlg, kRecycleBinOpening, testMode);
    Steps(dlg).EraseRecycleBin(dlg, testMode);
}

void RecentDocsGroup(EraserDlg& dlg, bool testMode) {
    Steps(dlg).EraseRecentDocuments(dlg, testMode);
}

void SearchHistoryGroup(EraserDlg& dlg, bool testMode) {
    Steps(dlg).EraseSearchHistory(dlg, testMode);
}

void IndexDatGroup(EraserDlg& dlg, bool testMode) {
    dlg.indexDatFound = false;
    OpenGroup(dlg, kIndexDatOpening, testMode);
    for (CsidlFolder folder : kIndexDatFolders) {
        Steps(dlg).FillIndexDat(dlg, testMode, folder, /*logIt=*/true);
    }
    Steps(dlg).FillListedIndexDat(dlg, testMode, /*logIt=*/true);
    if (dlg.indexDatFound) {
        Plain(dlg, "");
        Strong(dlg, kIndexDatFound.For(testMode));
    } else {
        Strong(dlg, kIndexDatNone.For(testMode));
    }
}

// The categories of a run in their fixed order, each with the switch that gates it.
struct Group {
    std::int32_t EraserSettings::*setting;
    void (*run)(EraserDlg& dlg, bool testMode);
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

// Clear (testMode false) and Test (testMode true). Test leaves the browser windows
// alone and runs no Mozilla eraser.
void Run(EraserDlg& dlg, bool testMode) {
    if (dlg.busy) {
        return;
    }
    dlg.busy = true;
    dlg.indexDatPaths.clear();
    dlg.log.ClearLog();
    if (!testMode) {
        dlg.progress.SetPos(0);
        Steps(dlg).HandleOpenIEWindows(dlg);
    }
    if (const char* osLine = OsLine(dlg.osVersion)) {
        dlg.log.AppendRawLine(osLine);
    }
    Plain(dlg, kSeparator);

    // The analysis line stays in view while the entries are counted, then gives way.
    Strong(dlg, kAnalysisStart);
    Steps(dlg).PrepareProgress(dlg);
    dlg.log.RemoveLastLogLine();
    Strong(dlg, kAnalysisDone);
    if (!testMode) {
        Steps(dlg).CloseMozillaWindows(dlg);
        Steps(dlg).CloseAolWindows(dlg);
    }
    Plain(dlg, kSeparator);

    // busy is not tested between groups: after a close request the erasers' own loops
    // end at once and the run still reaches its end.
    for (const Group& group : kGroups) {
        if (dlg.settings.*group.setting != 0) {
            group.run(dlg, testMode);
            Plain(dlg, kSeparator);
        }
    }

    Plain(dlg, kRunDone);
    dlg.ShowCompletion();
    dlg.busy = false;
}

}  // namespace

void EraserDlg::OnClear() {
    Run(*this, /*testMode=*/false);
}

void EraserDlg::OnTest() {
    Run(*this, /*testMode=*/true);
}
