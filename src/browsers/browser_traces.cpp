#include "browsers/browser_traces.h"

#include <cstring>

#include "clean/shell_calls.h"
#include "state/eraser_dlg.h"

bool LookUpAppData(EraserDlg& dlg, std::string* path) {
    char buffer[kMaxPath] = "";
    if (CallSHGetSpecialFolderPath(dlg, HWnd{}, buffer, csidl::kAppData) <= 0) {
        return false;  // no export (E_FAIL) or no such folder (FALSE)
    }
    size_t length = strnlen(buffer, sizeof buffer);
    if (length == 0 || length == sizeof buffer) {
        return false;
    }
    path->assign(buffer, length);
    return true;
}

WinError RemoveFileWithRetries(EraserDlg& dlg, const std::string& path, int attempts,
                               std::uint32_t pauseMilliseconds) {
    for (int attempt = 1;; ++attempt) {
        WinError error = dlg.platform.files.RemoveFile(path);
        if (error == winerr::kSuccess || attempt >= attempts) {
            return error;
        }
        dlg.platform.system.Pause(pauseMilliseconds);
    }
}
