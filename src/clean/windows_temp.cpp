// The Windows temporary folder: the files directly in it are deleted; what is in use or
// read-only stays. A folder whose path does not look like a temporary folder (TMP set to
// some other folder) is left alone.

#include <cstring>

#include "clean/folder_ops.h"
#include "clean/log_text.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr ModeText kHeading{"正在清空 Windows 临时文件夹...",
                            "测试: 正在清空 Windows 临时文件夹..."};
constexpr ModeText kEmptied{"Windows 临时文件夹已清空 <OK>", "测试: Windows 临时文件夹已清空 <OK>"};
constexpr ModeText kWasEmpty{"Windows 临时文件夹为空 <OK>", "测试: Windows 临时文件夹为空 <OK>"};

// The guard: only a path with one of these in it (case as written) is wiped.
const char* const kTempWords[] = {"Temp", "TEMP"};

bool LooksLikeTempFolder(const std::string& path) {
    for (const char* word : kTempWords) {
        if (GbkFind(path, word) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

CategoryResult EraseWindowsTemp(EraserDlg& dlg, bool testMode) {
    char buffer[kMaxPath];
    CategoryResult result = CategoryResult::Sized();
    std::uint32_t length = dlg.platform.environment.TempPath(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer || length != strnlen(buffer, sizeof buffer)) {
        return result;  // no temporary folder, or one whose path did not fit
    }
    std::string folder(buffer, length);
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    if (LooksLikeTempFolder(folder)) {
        result = WipeFolderFiles(dlg, folder, !testMode, &dlg.log);
    }
    if (result.items > 0) {
        dlg.log.AddLogLine("", emphasis::kPlain);
        dlg.log.AddLogLine(kEmptied.For(testMode), emphasis::kStrong);
    } else {
        dlg.log.AddLogLine(kWasEmpty.For(testMode), emphasis::kStrong);
    }
    return result;
}
