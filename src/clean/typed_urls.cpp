// The addresses typed into Internet Explorer's address bar and, in Clear, the Run
// history of the Start menu. Part of the history category: no heading, no closing line.

#include <vector>

#include "app/eraser_dlg.h"
#include "browsers/browser_windows.h"
#include "clean/erasers.h"
#include "clean/registry_text.h"
#include "platform/gbk.h"

namespace {

constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kRunMruKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr std::uint32_t kBufferSize = 1000;  // for a value's name, and for its data
constexpr size_t kNameListPlaces = 1000;

constexpr ModeText kUrlLine{"正在删除分类 URL ", "测试: 正在删除分类 URL "};
constexpr char kOk[] = " <OK>";

bool IsUrlName(const char* name, std::uint32_t size) {
    return size >= 3 && GbkEqualNoCase(std::string(name, 3), "URL");
}

// Removes the Run history and has open browser windows reload both lists. Neither
// deletion is reported.
void ForgetRunHistory(EraserDlg& dlg) {
    dlg.platform.registry.DeleteKey(regroot::kCurrentUser, kRunMruKey);
    NotifyIEWindowsOfMruChange(dlg.platform.windows, dlg.window);
}

// Lists the URL values, at most as many as the name list holds, and returns their
// names. *listFull tells that more URL values remain after those.
std::vector<std::string> ListTypedUrls(EraserDlg& dlg, HKey key, bool testMode, bool* listFull) {
    Registry& registry = dlg.platform.registry;
    std::vector<std::string> names;
    char name[kBufferSize];
    char data[kBufferSize];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = kBufferSize;
        std::uint32_t dataSize = kBufferSize;
        WinError error = registry.EnumValue(key, index, name, &nameSize, nullptr, data, &dataSize);
        if (error == winerr::kMoreData) {
            continue;  // a name or address longer than the buffers: left, never shown cut
        }
        if (error != winerr::kSuccess) {
            break;  // the end, or a key that can no longer be read
        }
        if (!IsUrlName(name, nameSize)) {
            continue;
        }
        if (names.size() == kNameListPlaces) {
            *listFull = true;  // the rest waits for a later run
            break;
        }
        if (names.empty()) {
            dlg.log.AddLogLine("", emphasis::kPlain);
        }
        names.emplace_back(name, nameSize);
        dlg.log.AddLogLine(kUrlLine.For(testMode) + RegistryText(data, dataSize) + kOk,
                           emphasis::kPlain);
    }
    return names;
}

}  // namespace

void EraseTypedUrls(EraserDlg& dlg, bool testMode) {
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    if (key.Open(regroot::kCurrentUser, kTypedUrlsKey, regaccess::kAllAccess) != winerr::kSuccess) {
        if (!testMode) {
            ForgetRunHistory(dlg);
        }
        return;
    }
    bool listFull = false;
    std::vector<std::string> names = ListTypedUrls(dlg, key.Get(), testMode, &listFull);
    if (testMode) {
        return;
    }
    // Deleted only now: deleting while enumerating would shift the indexes.
    for (const std::string& name : names) {
        registry.DeleteValue(key.Get(), name);
    }
    key.Close();
    if (!listFull) {
        registry.DeleteKey(regroot::kCurrentUser, kTypedUrlsKey);
    }
    ForgetRunHistory(dlg);
}
