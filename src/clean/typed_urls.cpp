// The addresses typed into Internet Explorer's address bar and, in Clear, the Run
// history of the Start menu. Part of the history category: no heading, no closing line.

#include <vector>

#include "clean/erasers.h"
#include "clean/ie_names.h"
#include "clean/log_text.h"
#include "clean/registry_text.h"
#include "clean/registry_values.h"
#include "clean/window_walk.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

constexpr std::uint32_t kBufferSize = 1000;  // for a value's name, and for its data
constexpr size_t kNameListPlaces = 1000;

constexpr ModeText kUrlLine{"正在删除分类 URL ", "测试: 正在删除分类 URL "};
constexpr char kOk[] = " <OK>";
// The key is kept when it could not be read to its end: it may hold URLs never named.
constexpr ModeText kUnread{"无法读取全部分类 URL，未列出的保留 <失败>",
                           "测试: 无法读取全部分类 URL，未列出的保留 <失败>"};

bool IsUrlName(const std::string& name) {
    return name.size() >= 3 && GbkEqualNoCase(name.substr(0, 3), "URL");
}

// Removes the Run history and has open browser windows reload both lists. Neither
// deletion is reported.
void ForgetRunHistory(EraserDlg& dlg) {
    dlg.platform.registry.DeleteKey(regroot::kCurrentUser, iename::kRunMruKey);
    NotifyIEWindowsOfMruChange(dlg.platform.windows, dlg.window);
}

// A URL value: its name, and its text as the log shows it.
struct TypedUrl {
    std::string name;
    std::string text;
};

// Lists every URL value and returns the values Clear deletes one by one: at most as
// many as the name list holds, the key's deletion takes the rest. *complete tells that
// the walk reached the end of the key, so that every value it holds has been named.
// *listed counts the lines.
std::vector<TypedUrl> ListTypedUrls(EraserDlg& dlg, HKey key, bool testMode, bool* complete,
                                    int* listed) {
    std::vector<TypedUrl> names;
    for (std::uint32_t index = 0;; ++index) {
        RegistryValue value;
        WinError error = EnumValueWhole(dlg.platform.registry, key, index, kBufferSize, &value);
        if (error != winerr::kSuccess) {
            *complete = error == winerr::kNoMoreItems;
            return names;
        }
        if (!IsUrlName(value.name)) {
            continue;
        }
        if (*listed == 0) {
            dlg.log.AddLogLine("", emphasis::kPlain);
        }
        ++*listed;
        std::string text = ShownText(value, kBufferSize);
        if (names.size() < kNameListPlaces) {
            names.push_back({value.name, text});
        }
        dlg.log.AddLogLine(kUrlLine.For(testMode) + text + kOk, emphasis::kPlain);
    }
}

}  // namespace

// The registry tells no sizes: the URLs are counted without bytes. A value whose own
// deletion fails still goes with the key, when the key goes.
CategoryResult EraseTypedUrls(EraserDlg& dlg, bool testMode) {
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    CategoryResult result;
    if (key.Open(regroot::kCurrentUser, iename::kTypedUrlsKey, regaccess::kAllAccess) !=
        winerr::kSuccess) {
        if (!testMode) {
            ForgetRunHistory(dlg);
        }
        return result;
    }
    bool complete = false;
    std::vector<TypedUrl> names = ListTypedUrls(dlg, key.Get(), testMode, &complete, &result.items);
    if (!complete) {
        dlg.log.AddLogLine(kUnread.For(testMode), emphasis::kPlain);
    }
    if (testMode) {
        return result;
    }
    // Deleted only now: deleting while enumerating would shift the indexes.
    CategoryResult left;
    for (const TypedUrl& url : names) {
        if (WinError error = registry.DeleteValue(key.Get(), url.name)) {
            left.Fail(url.text, error);
        }
    }
    key.Close();
    if (!complete ||
        registry.DeleteKey(regroot::kCurrentUser, iename::kTypedUrlsKey) != winerr::kSuccess) {
        result.items -= static_cast<int>(left.failed.size());
        result += left;
    }
    ForgetRunHistory(dlg);
    return result;
}
