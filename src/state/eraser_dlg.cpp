#include "state/eraser_dlg.h"

void EraserDlg::DetectOsVersion() {
    osVersion = osver::kUnknown;
    OsVersionInfo info;
    if (platform.system.QueryVersion(&info)) {
        osVersion = OsVersionCode(info);
    }
}

void EraserDlg::ShowCompletion() {
    int lower = 0;
    int upper = 0;
    progress.GetRange(&lower, &upper);
    progress.SetPos(upper);
    if (log.LineCount() >= ActivityLog::kJumpLines) {
        log.SetTopIndex(log.LineCount() - ActivityLog::kJumpLines);
    }
}
