// The listing of the URL history shared by the history eraser and the snapshot commands.
#pragma once

#include <string>
#include <vector>

class EraserDlg;

// Appends every URL of the history as a plain line, except "about:blank" (in any case),
// and steps the progress once per record. Stops as soon as busy is cleared. True when at
// least one URL was listed; false as well when the history object cannot be created or
// cannot list. The URLs listed are added to *listed when given.
bool ListHistoryUrls(EraserDlg& dlg, std::vector<std::string>* listed = nullptr);
