#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "seed.h"

namespace {

const std::string kValue = "value HKCU\\Software\\Halvix\\Corvane\\Settings|";

// The ten switches in the record's order, then the policy.
std::string Fields(const EraserSettings& s) {
    std::string out;
    for (std::int32_t field :
         {s.clearHistory, s.clearCookies, s.clearTempInternetFiles, s.clearIndexDat,
          s.resetStartPage, s.emptyRecycleBin, s.clearRecentDocs, s.clearAutoComplete,
          s.clearWindowsTemp, s.clearSearchHistory}) {
        out += std::to_string(field);
    }
    return out + " " + std::to_string(s.closeBrowserPolicy);
}

// Each row loads values stored with their terminator over the defaults (every category
// on, the policy "ask"). Only the text "yes" switches on; a value that does not fit ten
// bytes, or cannot be read, leaves its field alone.
TEST(SettingsStore, LoadsEachFieldFromItsValue) {
    struct Row {
        Lines values;
        const char* fault;  // a registry call that fails
        const char* match;
        const char* fields;
    };
    const Row rows[] = {
        {{}, nullptr, nullptr, "1111111111 2"},
        {{kValue + "Cookies = no"}, "Registry.OpenKey", "", "1111111111 2"},
        {{kValue + "历史 = no"}, nullptr, nullptr, "0111111111 2"},
        {{kValue + "Cookies = no"}, nullptr, nullptr, "1011111111 2"},
        {{kValue + "TempFiles = no"}, nullptr, nullptr, "1101111111 2"},
        {{kValue + "IndexDat = no"}, nullptr, nullptr, "1110111111 2"},
        {{kValue + "HomePage = no"}, nullptr, nullptr, "1111011111 2"},
        {{kValue + "回收站 = no"}, nullptr, nullptr, "1111101111 2"},
        {{kValue + "“文档”菜单 = no"}, nullptr, nullptr, "1111110111 2"},
        {{kValue + "自动填充 = no"}, nullptr, nullptr, "1111111011 2"},
        {{kValue + "Windows 临时文件夹 = no"}, nullptr, nullptr, "1111111101 2"},
        {{kValue + "搜索历史记录 = no"}, nullptr, nullptr, "1111111110 2"},
        {{kValue + "TempFiles = Yes"}, nullptr, nullptr, "1101111111 2"},
        {{kValue + "TempFiles = yes "}, nullptr, nullptr, "1101111111 2"},
        {{kValue + "TempFiles = yesyesyes"}, nullptr, nullptr, "1101111111 2"},
        {{kValue + "TempFiles = no no no n"}, nullptr, nullptr, "1111111111 2"},
        {{kValue + "Cookies = no", kValue + "自动填充 = no"},
         "Registry.QueryValue",
         "Cookies",
         "1111111011 2"},
        {{kValue + "Close IEs State = 0"}, nullptr, nullptr, "1111111111 0"},
        {{kValue + "Close IEs State = 1"}, nullptr, nullptr, "1111111111 1"},
        {{kValue + "Close IEs State = 7"}, nullptr, nullptr, "1111111111 2"},
        {{kValue + "Close IEs State = 01"}, nullptr, nullptr, "1111111111 2"},
    };
    for (const Row& row : rows) {
        MemoryPlatform mem;
        Seed(mem, row.values);
        if (row.fault != nullptr) {
            mem.registry.faults.Fail(row.fault, winerr::kAccessDenied, row.match);
        }
        EraserSettings settings;
        LoadSettings(mem.registry, settings);
        EXPECT_EQ(row.fields, Fields(settings)) << (row.values.empty() ? "" : row.values[0]);
    }
}

// Eleven texts, "HomePage" before "IndexDat"; a policy outside 0..2
// is stored as 2. A value that cannot be written is passed over; without the key
// nothing is written.
TEST(SettingsStore, SavesElevenTexts) {
    MemoryPlatform mem;
    EraserSettings settings;
    settings.clearCookies = 0;
    settings.clearIndexDat = 5;
    settings.closeBrowserPolicy = 9;
    const Lines saved = {kValue + "Cookies = no",
                         kValue + "TempFiles = yes",
                         kValue + "历史 = yes",
                         kValue + "HomePage = yes",
                         kValue + "IndexDat = yes",
                         kValue + "回收站 = yes",
                         kValue + "“文档”菜单 = yes",
                         kValue + "自动填充 = yes",
                         kValue + "Windows 临时文件夹 = yes",
                         kValue + "搜索历史记录 = yes",
                         kValue + "Close IEs State = 2"};
    SaveSettings(mem.registry, settings);
    EXPECT_EQ(saved, State(mem));
    ASSERT_EQ(winerr::kSuccess, mem.registry.DeleteTree(regroot::kCurrentUser, "Software"));
    mem.registry.faults.Fail("Registry.SetValue", winerr::kAccessDenied, "HomePage");
    SaveSettings(mem.registry, settings);
    EXPECT_EQ(Without(saved, {kValue + "HomePage = yes"}), State(mem));
    ASSERT_EQ(winerr::kSuccess, mem.registry.DeleteTree(regroot::kCurrentUser, "Software"));
    mem.registry.faults.Fail("Registry.CreateKey", winerr::kAccessDenied);
    SaveSettings(mem.registry, settings);
    EXPECT_EQ(Lines{}, State(mem));
    EXPECT_EQ(0u, mem.registry.OpenHandleCount());
}

TEST(SettingsStore, LoadsWhatItSaved) {
    for (int policy : {0, 1}) {
        MemoryPlatform mem;
        EraserSettings saved, loaded;
        saved.clearHistory = saved.clearSearchHistory = 0;
        saved.closeBrowserPolicy = policy;
        SaveSettings(mem.registry, saved);
        LoadSettings(mem.registry, loaded);
        EXPECT_EQ(Fields(saved), Fields(loaded));
    }
}

}  // namespace
