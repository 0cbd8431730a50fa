// Entry points of the erasers and browser steps that a cleaning run calls, in the
// order the run first calls them. Each takes the main window's shared state; those that
// take testMode only report what they would remove when it is true.
#pragma once

#include <string>
#include <vector>

#include "platform/csidl.h"

class EraserDlg;
class ActivityLog;

// Open browser windows.
void HandleOpenIEWindows(EraserDlg& dlg);
void CloseMozillaWindows(EraserDlg& dlg);
void CloseAolWindows(EraserDlg& dlg);

// URL cache and history.
void PrepareProgress(EraserDlg& dlg);
// Cookies of the hosts of the keep list stay, each with a line; dlg.cookiesKept tells
// how many entries were kept.
void EraseCookies(EraserDlg& dlg, bool testMode);
void EraseHistory(EraserDlg& dlg, bool testMode);
void EraseTemporaryInternetFiles(EraserDlg& dlg, bool testMode);

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
// and run in Clear only; each returns whether it found its trace (cookies.txt,
// history.dat) or rewrote localstore.rdf, which the run does not look at. In Test
// EraseAolTraces returns at once.
// With a keep list, cookies.txt is rewritten without the lines of other hosts instead.
bool EraseMozillaCookies(EraserDlg& dlg);
// The hosts of the cookie lines of the profile's cookies.txt; empty without one.
std::vector<std::string> MozillaCookieHosts(EraserDlg& dlg);
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
