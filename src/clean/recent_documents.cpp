// The recent documents folder behind the Start menu's document list: its shortcuts
// are deleted, the folder's own files (desktop.ini and the like) and subfolders stay.

#include "clean/folder_ops.h"
#include "clean/log_text.h"
#include "clean/shell_calls.h"
#include "state/eraser_dlg.h"

namespace {

constexpr ModeText kHeading{"正在清空最近文档文件夹...", "测试: 正在清空最近文档文件夹..."};
constexpr ModeText kEmptied{"最近文档文件夹已被清空 <OK>", "测试: 最近文档文件夹已清空 <OK>"};
constexpr ModeText kWasEmpty{"最近文档文件夹为空 <OK>", "测试: 最近文档文件夹为空 <OK>"};

}  // namespace

CategoryResult EraseRecentDocuments(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    std::string folder;
    if (!LookUpSpecialFolder(dlg, csidl::kRecent, &folder)) {
        return CategoryResult::Sized();
    }
    CategoryResult result = WipeFolderFiles(dlg, folder, !testMode, &dlg.log);
    if (result.items > 0) {
        dlg.log.AddLogLine("", emphasis::kPlain);
        dlg.log.AddLogLine(kEmptied.For(testMode), emphasis::kStrong);
    } else {
        dlg.log.AddLogLine(kWasEmpty.For(testMode), emphasis::kStrong);
    }
    return result;
}
