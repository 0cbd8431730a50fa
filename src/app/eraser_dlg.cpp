#include "app/eraser_dlg.h"

void EraserDlg::DetectOsVersion() {
    osVersion = osver::kUnknown;
    OsVersionInfo info;
    if (platform.system.QueryVersion(&info)) {
        osVersion = OsVersionCode(info);
    }
}
