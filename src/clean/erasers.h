// Entry points of the erasers and browser steps that a cleaning run calls, in the
// order the run first calls them. Each takes the main window's shared state; those that
// take testMode only report what they would remove when it is true. Each eraser hands
// back what it found (Test) or removed (Clear) for the run's report.
#pragma once

#include <string>
#include <vector>

#include "platform/csidl.h"
#include "state/run_report.h"

class EraserDlg;
class ActivityLog;

// Open browser windows.
// The browser steps return how many windows they asked to close.
int HandleOpenIEWindows(EraserDlg& dlg);
int CloseMozillaWindows(EraserDlg& dlg);
int CloseAolWindows(EraserDlg& dlg);
// The windows Clear would close without asking anybody (Test's count of them).
int CountBrowserWindowsToClose(EraserDlg& dlg);

// URL cache and history.
void PrepareProgress(EraserDlg& dlg);
// Cookies of the hosts of the keep list stay, each with a line, counted as kept.
CategoryResult EraseCookies(EraserDlg& dlg, bool testMode);
CategoryResult EraseHistory(EraserDlg& dlg, bool testMode);
CategoryResult EraseTemporaryInternetFiles(EraserDlg& dlg, bool testMode);

// The host a cookie entry of the URL cache ("Cookie:user@host/path") belongs to; empty
// when the name holds none.
std::string CookieEntryHost(const std::string& url);
// The hosts of the cookie entries of the URL cache, in the cache's order, as often as they
// hold an entry; *whole, when given, tells whether the walk saw every entry.
std::vector<std::string> CacheCookieHosts(EraserDlg& dlg, bool* whole = nullptr);
// Whether the URL cache may hold a cookie of a kept host: it does, or it could not be
// walked to its end. False at once for an empty list.
bool CacheMayHoldKeptCookie(EraserDlg& dlg);

// Mozilla and AOL traces; none writes to the log. The Mozilla erasers have no test form
// and run in Clear only; each counts its trace (cookies.txt, history.dat) when it went, or
// localstore.rdf when its URL-bar history was cut out. Test's report counts the same
// traces through MozillaTracesFound, which only looks; in Test EraseAolTraces only counts
// the organize files. With a keep list, cookies.txt is rewritten without the lines of
// other hosts instead.
CategoryResult EraseMozillaCookies(EraserDlg& dlg);
// The hosts of the cookie lines of the profile's cookies.txt; empty without one.
std::vector<std::string> MozillaCookieHosts(EraserDlg& dlg);
CategoryResult EraseMozillaHistory(EraserDlg& dlg);
CategoryResult EraseMozillaUrlBarHistory(EraserDlg& dlg);
CategoryResult MozillaTracesFound(EraserDlg& dlg, bool cookies, bool history);
CategoryResult EraseAolTraces(EraserDlg& dlg, bool testMode);

// Registry lists and the start page.
CategoryResult EraseTypedUrls(EraserDlg& dlg, bool testMode);
CategoryResult EraseSearchHistory(EraserDlg& dlg, bool testMode);
CategoryResult ResetStartPage(EraserDlg& dlg, bool testMode);

// AutoComplete form data: one item per form field reported.
CategoryResult EraseAutoComplete(EraserDlg& dlg, bool testMode, ActivityLog& log);

// File-system erasers.
CategoryResult EraseWindowsTemp(EraserDlg& dlg, bool testMode);
CategoryResult EraseRecycleBin(EraserDlg& dlg, bool testMode);
CategoryResult EraseRecentDocuments(EraserDlg& dlg, bool testMode);

// index.dat zero-fill; both set dlg.indexDatFound when a file needed filling.
CategoryResult FillIndexDat(EraserDlg& dlg, bool testMode, CsidlFolder folder, bool logIt);
CategoryResult FillListedIndexDat(EraserDlg& dlg, bool testMode, bool logIt);
