// The Windows search assistant's completion lists: every value of every subkey of
// ACMru is one entry. The subkeys themselves stay.

#include <vector>

#include "clean/erasers.h"
#include "clean/log_text.h"
#include "clean/registry_text.h"
#include "clean/registry_values.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kAcMruKey[] = "Software\\Microsoft\\Search Assistant\\ACMru";
constexpr std::uint32_t kBufferSize = 260;  // subkey names; value names and data

constexpr ModeText kHeading{"正在删除 Windows 搜索历史记录...",
                            "测试: 正在删除 Windows 搜索历史记录..."};
constexpr ModeText kEntry{"正在删除", "测试: 正在删除 "};
constexpr ModeText kErased{"Windows 搜索历史记录已被删除。 <OK>",
                           "测试: Windows 搜索历史记录已被删除。 <OK>"};
constexpr ModeText kEmpty{"Windows 搜索历史记录为空。 <OK>",
                          "测试: Windows 搜索历史记录为空。 <OK>"};

// The names of all values of key, each whole: cut short, a name would delete another
// value or none.
std::vector<std::string> ValueNames(Registry& registry, HKey key) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
        RegistryValue value;
        if (EnumValueWhole(registry, key, index, kBufferSize, &value) != winerr::kSuccess) {
            return names;
        }
        names.push_back(value.name);
    }
}

// Lists (and with doDelete deletes) the entries of one completion list, counting them
// in *result: a value that could not be read is neither shown nor deleted, and does not
// count. An entry whose deletion fails is reported as failed.
void EraseSearchHistorySubkey(EraserDlg& dlg, HKey parent, const std::string& subKey, bool doDelete,
                              CategoryResult* result) {
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    if (key.Open(parent, subKey, regaccess::kAllAccess) != winerr::kSuccess) {
        return;
    }
    for (const std::string& name : ValueNames(registry, key.Get())) {
        RegistryValue value;
        if (QueryValueWhole(registry, key.Get(), name, kBufferSize, &value) != winerr::kSuccess) {
            continue;  // gone since the names were read
        }
        std::string text = ShownText(value, kBufferSize);
        dlg.log.AddLogLine(kEntry.For(!doDelete) + text, emphasis::kPlain);
        WinError error = doDelete ? registry.DeleteValue(key.Get(), name) : winerr::kSuccess;
        if (error == winerr::kSuccess) {
            ++result->items;
        } else {
            result->Fail(text, error);
        }
    }
}

}  // namespace

// The registry tells no sizes: the entries are counted without bytes.
CategoryResult EraseSearchHistory(EraserDlg& dlg, bool testMode) {
    dlg.log.AddLogLine(kHeading.For(testMode), emphasis::kStrong);
    dlg.log.AddLogLine("", emphasis::kPlain);
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    CategoryResult result;
    if (key.Open(regroot::kCurrentUser, kAcMruKey, regaccess::kAllAccess) != winerr::kSuccess) {
        return result;
    }
    char name[kBufferSize];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t size = kBufferSize;
        WinError error = registry.EnumKey(key.Get(), index, name, &size);
        if (error == winerr::kMoreData) {
            continue;  // a name longer than the buffer: passed over, as for values
        }
        if (error != winerr::kSuccess) {
            break;
        }
        // Every list is visited, also after one has been found to hold entries.
        EraseSearchHistorySubkey(dlg, key.Get(), std::string(name, size), !testMode, &result);
    }
    key.Close();
    if (result.Any()) {
        dlg.log.AddLogLine("", emphasis::kPlain);
        dlg.log.AddLogLine(kErased.For(testMode), emphasis::kStrong);
    } else {
        dlg.log.AddLogLine(kEmpty.For(testMode), emphasis::kStrong);
    }
    return result;
}
