// Internet Explorer's start page, reset to "about:blank". One emphasised line, or none
// when the settings key cannot be opened.

#include "clean/erasers.h"
#include "clean/ie_names.h"
#include "clean/log_text.h"
#include "clean/registry_text.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr std::uint32_t kBufferSize = 1000;

// The same in Clear and Test.
constexpr char kCannotRead[] = "无法删除 IE 起始页";
constexpr char kAlreadyBlank[] = "起始页被设置为 about:blank";
// The old page follows the opening directly, then the ending.
constexpr ModeText kResetOpening{"删除原来的起始页", "测试: 删除原来的起始页"};
constexpr ModeText kResetEnding{" <OK>", "<OK>"};
constexpr char kWriteRefused[] = "\\\n无法删除 IE 起始页";

void Say(EraserDlg& dlg, const std::string& text) {
    dlg.log.AddLogLine(text, emphasis::kStrong);
}

}  // namespace

// One item, the old page, when it is (or would be) reset; no bytes.
CategoryResult ResetStartPage(EraserDlg& dlg, bool testMode) {
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    CategoryResult result;
    if (key.Open(regroot::kCurrentUser, iename::kMainKey, regaccess::kAllAccess) !=
        winerr::kSuccess) {
        return result;
    }
    char data[kBufferSize];
    std::uint32_t size = kBufferSize;
    // A page longer than the buffer fails the read like a missing one: it is never cut.
    if (registry.QueryValue(key.Get(), iename::kStartPageValue, nullptr, data, &size) !=
        winerr::kSuccess) {
        Say(dlg, kCannotRead);
        return result;
    }
    std::string oldPage = RegistryText(data, size);
    if (GbkEqualNoCase(oldPage, iename::kBlankPage)) {
        Say(dlg, kAlreadyBlank);
        return result;
    }
    WinError error = testMode ? winerr::kSuccess
                              : registry.SetValue(key.Get(), iename::kStartPageValue, regtype::kSz,
                                                  iename::kBlankPage, iename::kBlankPageSize);
    if (error != winerr::kSuccess) {
        Say(dlg, kWriteRefused);
        result.Fail(oldPage, error);
        return result;
    }
    Say(dlg, kResetOpening.For(testMode) + oldPage + kResetEnding.For(testMode));
    result.items = 1;
    return result;
}
