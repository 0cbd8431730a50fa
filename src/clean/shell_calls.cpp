#include "clean/shell_calls.h"

#include <cstring>

#include "state/eraser_dlg.h"

HResult CallSHGetSpecialFolderPath(EraserDlg& dlg, HWnd owner, char (&path)[kMaxPath],
                                   CsidlFolder csidl) {
    ModuleHandle module;
    bool answer = false;
    if (!dlg.shell32Module.Get(&module) ||
        !dlg.platform.shell.CallSpecialFolderPath(module, owner, path, csidl, /*create=*/false,
                                                  &answer)) {
        return hresult::kFail;
    }
    return answer ? 1 : 0;
}

HResult CallSHQueryRecycleBin(EraserDlg& dlg, const char* rootPath, RecycleBinInfo* info) {
    ModuleHandle module;
    HResult answer = hresult::kOk;
    if (!dlg.shell32Module.Get(&module) ||
        !dlg.platform.shell.CallQueryRecycleBin(module, rootPath, info, &answer)) {
        return hresult::kFail;
    }
    return hresult::kOk;
}

HResult CallSHEmptyRecycleBin(EraserDlg& dlg, HWnd owner, const char* rootPath, std::uint32_t flags,
                              HResult* shellAnswer) {
    ModuleHandle module;
    HResult answer = hresult::kOk;
    if (!dlg.shell32Module.Get(&module) ||
        !dlg.platform.shell.CallEmptyRecycleBin(module, owner, rootPath, flags, &answer)) {
        return hresult::kFail;
    }
    if (shellAnswer != nullptr) {
        *shellAnswer = answer;
    }
    return hresult::kOk;
}

bool LookUpSpecialFolder(EraserDlg& dlg, CsidlFolder csidl, std::string* path) {
    char buffer[kMaxPath] = "";
    HResult result = CallSHGetSpecialFolderPath(dlg, dlg.window, buffer, csidl);
    if (result == hresult::kFail) {
        if (!dlg.platform.shell.FolderPathFromLocation(dlg.window, csidl, buffer)) {
            return false;
        }
    } else if (result == 0) {
        return false;
    }
    size_t length = strnlen(buffer, sizeof buffer);
    if (length == 0 || length == sizeof buffer) {
        return false;
    }
    path->assign(buffer, length);
    return true;
}
