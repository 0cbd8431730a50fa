// The recycle bin of all drives, through the shell. The run driver has written the
// group's heading; this writes the size and the closing line.

#include <algorithm>

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
// The report's name of the bin as a whole, when it could not be emptied.
constexpr char kBinItem[] = "recycle_bin";

}  // namespace

// The shell tells the bin's size and number of items; a shell without the query export
// tells neither, and the report has no bytes then. A bin Clear could not empty is one
// failed item, with the shell's answer.
CategoryResult EraseRecycleBin(EraserDlg& dlg, bool testMode) {
    RecycleBinInfo info;
    bool measured = CallSHQueryRecycleBin(dlg, nullptr, &info) != hresult::kFail;
    CategoryResult result;
    if (measured) {
        result.bytes = static_cast<std::uint64_t>(std::max<std::int64_t>(info.totalSize, 0));
    }
    if (measured && info.totalSize <= 0) {
        if (!testMode) {
            // Emptied all the same; what the shell answers for an empty bin is not read
            // (some shells call that a failure).
            (void)CallSHEmptyRecycleBin(dlg, HWnd{}, nullptr, recyclebin::kQuietFlags);
        }
        dlg.log.AddLogLine(kBinEmpty.For(testMode), emphasis::kStrong);
        return result;
    }
    if (measured) {
        dlg.log.AddLogLine(FormatCount(kSize.For(testMode), info.totalSize), emphasis::kPlain);
        dlg.log.AddLogLine("", emphasis::kPlain);
    }
    result.items = static_cast<int>(std::max<std::int64_t>(info.itemCount, 0));
    if (testMode) {
        dlg.log.AddLogLine(kEmptied.test, emphasis::kStrong);
        return result;
    }
    HResult shellAnswer = hresult::kOk;
    HResult called =
        CallSHEmptyRecycleBin(dlg, HWnd{}, nullptr, recyclebin::kQuietFlags, &shellAnswer);
    if (called == hresult::kFail) {
        dlg.log.AddLogLine(kShellTooOld, emphasis::kStrong);
        shellAnswer = called;
    } else if (measured && shellAnswer < 0) {
        dlg.log.AddLogLine(kShellFailed, emphasis::kStrong);
    } else {
        dlg.log.AddLogLine(kEmptied.clear, emphasis::kStrong);
        return result;
    }
    result.items = 0;
    result.bytes = std::nullopt;
    result.Fail(kBinItem, static_cast<std::uint32_t>(shellAnswer));
    return result;
}
