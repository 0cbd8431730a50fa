// The recycle bin of all drives, through the shell. The run driver has written the
// group's heading; this writes the size and the closing line.

#include "clean/log_text.h"
#include "clean/shell_calls.h"
#include "state/eraser_dlg.h"

namespace {

constexpr ModeText kBinEmpty{"回收站为空 <OK>", "测试: 回收站为空 <OK>"};
constexpr ModeText kSize{"%d 字节已删除", "测试: %d 字节已删除"};
constexpr ModeText kEmptied{"回收站已清空<OK>", "测试: 回收站已清空 <OK>"};
// Clear only: a shell without the empty export, and a shell that failed to empty a bin
// that held something.
constexpr char kShellTooOld[] = "回收站已清空... 外壳版本太旧了! 请手动清空回收站! <失败>";
constexpr char kShellFailed[] = "回收站已清空... 请手动清空回收站! <失败>";

}  // namespace

void EraseRecycleBin(EraserDlg& dlg, bool testMode) {
    RecycleBinInfo info;
    bool measured = CallSHQueryRecycleBin(dlg, nullptr, &info) != hresult::kFail;
    if (measured && info.totalSize <= 0) {
        if (!testMode) {
            // Emptied all the same; what the shell answers for an empty bin is not read
            // (some shells call that a failure).
            (void)CallSHEmptyRecycleBin(dlg, HWnd{}, nullptr, recyclebin::kQuietFlags);
        }
        dlg.log.AddLogLine(kBinEmpty.For(testMode), emphasis::kStrong);
        return;
    }
    if (measured) {
        dlg.log.AddLogLine(FormatCount(kSize.For(testMode), info.totalSize), emphasis::kPlain);
        dlg.log.AddLogLine("", emphasis::kPlain);
    }
    if (testMode) {
        dlg.log.AddLogLine(kEmptied.test, emphasis::kStrong);
        return;
    }
    HResult shellAnswer = hresult::kOk;
    if (CallSHEmptyRecycleBin(dlg, HWnd{}, nullptr, recyclebin::kQuietFlags, &shellAnswer) ==
        hresult::kFail) {
        dlg.log.AddLogLine(kShellTooOld, emphasis::kStrong);
    } else if (measured && shellAnswer < 0) {
        dlg.log.AddLogLine(kShellFailed, emphasis::kStrong);
    } else {
        dlg.log.AddLogLine(kEmptied.clear, emphasis::kStrong);
    }
}
