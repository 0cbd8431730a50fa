// Entry points of the erasers and browser steps that a cleaning run calls, in the
// order the run first calls them. Each takes the main window's shared state; those that
// take testMode only report what they would remove when it is true.
#pragma once

#include "platform/csidl.h"

class EraserDlg;
class ActivityLog;

// Open browser windows.
void HandleOpenIEWindows(EraserDlg& dlg);
void CloseMozillaWindows(EraserDlg& dlg);
void CloseAolWindows(EraserDlg& dlg);

// URL cache and history.
void PrepareProgress(EraserDlg& dlg);
void EraseCookies(EraserDlg& dlg, bool testMode);
void EraseHistory(EraserDlg& dlg, bool testMode);
void EraseTemporaryInternetFiles(EraserDlg& dlg, bool testMode);

// Mozilla and AOL traces; none writes to the log. The Mozilla erasers have no test form
// and run in Clear only; each returns whether it found its trace (cookies.txt,
// history.dat) or rewrote localstore.rdf, which the run does not look at. In Test
// EraseAolTraces returns at once.
bool EraseMozillaCookies(EraserDlg& dlg);
bool EraseMozillaHistory(EraserDlg& dlg);
bool EraseMozillaUrlBarHistory(EraserDlg& dlg);
void EraseAolTraces(EraserDlg& dlg, bool testMode);

// Registry lists and the start page.
void EraseTypedUrls(EraserDlg& dlg, bool testMode);
void EraseSearchHistory(EraserDlg& dlg, bool testMode);
void ResetStartPage(EraserDlg& dlg, bool testMode);

// AutoComplete form data. True when entries were found (and, in Clear, removed).
bool EraseAutoComplete(EraserDlg& dlg, bool testMode, ActivityLog& log);

// File-system erasers.
void EraseWindowsTemp(EraserDlg& dlg, bool testMode);
void EraseRecycleBin(EraserDlg& dlg, bool testMode);
void EraseRecentDocuments(EraserDlg& dlg, bool testMode);

// index.dat zero-fill; both set dlg.indexDatFound when a file needed filling.
void FillIndexDat(EraserDlg& dlg, bool testMode, CsidlFolder folder, bool logIt);
void FillListedIndexDat(EraserDlg& dlg, bool testMode, bool logIt);
