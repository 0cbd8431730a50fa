// The steps a cleaning run calls, as replaceable slots. A run uses the erasers of
// clean/erasers.h unless EraserDlg::steps names other steps: tests put recorders in their
// place to see what a run calls, with what, and in which order.
#pragma once

#include <functional>

#include "clean/erasers.h"
#include "state/eraser_dlg.h"

struct RunSteps {
    using Step = std::function<void(EraserDlg&)>;
    // The browser steps: how many windows they asked to close.
    using WindowStep = std::function<int(EraserDlg&)>;
    using TraceStep = std::function<CategoryResult(EraserDlg&)>;
    using ModeStep = std::function<CategoryResult(EraserDlg&, bool testMode)>;

    WindowStep HandleOpenIEWindows = ::HandleOpenIEWindows;
    Step PrepareProgress = ::PrepareProgress;
    WindowStep CloseMozillaWindows = ::CloseMozillaWindows;
    WindowStep CloseAolWindows = ::CloseAolWindows;
    ModeStep EraseCookies = ::EraseCookies;
    TraceStep EraseMozillaCookies = ::EraseMozillaCookies;
    ModeStep EraseHistory = ::EraseHistory;
    ModeStep EraseTypedUrls = ::EraseTypedUrls;
    TraceStep EraseMozillaHistory = ::EraseMozillaHistory;
    TraceStep EraseMozillaUrlBarHistory = ::EraseMozillaUrlBarHistory;
    ModeStep EraseAolTraces = ::EraseAolTraces;
    std::function<CategoryResult(EraserDlg&, bool testMode, ActivityLog& log)> EraseAutoComplete =
        ::EraseAutoComplete;
    ModeStep EraseTemporaryInternetFiles = ::EraseTemporaryInternetFiles;
    ModeStep EraseWindowsTemp = ::EraseWindowsTemp;
    ModeStep ResetStartPage = ::ResetStartPage;
    ModeStep EraseRecycleBin = ::EraseRecycleBin;
    ModeStep EraseRecentDocuments = ::EraseRecentDocuments;
    ModeStep EraseSearchHistory = ::EraseSearchHistory;
    std::function<CategoryResult(EraserDlg&, bool testMode, CsidlFolder folder, bool logIt)>
        FillIndexDat = ::FillIndexDat;
    std::function<CategoryResult(EraserDlg&, bool testMode, bool logIt)> FillListedIndexDat =
        ::FillListedIndexDat;
};

// The steps dlg's commands call.
inline const RunSteps& Steps(const EraserDlg& dlg) {
    static const RunSteps erasers;
    return dlg.steps != nullptr ? *dlg.steps : erasers;
}
