// The steps a cleaning run calls, as replaceable slots. A run uses the erasers of
// clean/erasers.h unless EraserDlg::steps names other steps: tests put recorders in their
// place to see what a run calls, with what, and in which order.
#pragma once

#include <functional>

#include "clean/erasers.h"
#include "state/eraser_dlg.h"

struct RunSteps {
    using Step = std::function<void(EraserDlg&)>;
    using ModeStep = std::function<void(EraserDlg&, bool testMode)>;

    Step HandleOpenIEWindows = ::HandleOpenIEWindows;
    Step PrepareProgress = ::PrepareProgress;
    Step CloseMozillaWindows = ::CloseMozillaWindows;
    Step CloseAolWindows = ::CloseAolWindows;
    ModeStep EraseCookies = ::EraseCookies;
    Step EraseMozillaCookies = ::EraseMozillaCookies;
    ModeStep EraseHistory = ::EraseHistory;
    ModeStep EraseTypedUrls = ::EraseTypedUrls;
    Step EraseMozillaHistory = ::EraseMozillaHistory;
    Step EraseMozillaUrlBarHistory = ::EraseMozillaUrlBarHistory;
    ModeStep EraseAolTraces = ::EraseAolTraces;
    std::function<bool(EraserDlg&, bool testMode, ActivityLog& log)> EraseAutoComplete =
        ::EraseAutoComplete;
    ModeStep EraseTemporaryInternetFiles = ::EraseTemporaryInternetFiles;
    ModeStep EraseWindowsTemp = ::EraseWindowsTemp;
    ModeStep ResetStartPage = ::ResetStartPage;
    ModeStep EraseRecycleBin = ::EraseRecycleBin;
    ModeStep EraseRecentDocuments = ::EraseRecentDocuments;
    ModeStep EraseSearchHistory = ::EraseSearchHistory;
    std::function<void(EraserDlg&, bool testMode, CsidlFolder folder, bool logIt)> FillIndexDat =
        ::FillIndexDat;
    std::function<void(EraserDlg&, bool testMode, bool logIt)> FillListedIndexDat =
        ::FillListedIndexDat;
};

// The steps dlg's commands call.
inline const RunSteps& Steps(const EraserDlg& dlg) {
    static const RunSteps erasers;
    return dlg.steps != nullptr ? *dlg.steps : erasers;
}
