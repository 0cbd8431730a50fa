#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "seed.h"

namespace {

const std::string kValue = "value HKCU\\Software\\Halvix\\Corvane\\Settings|";

// The ten switches in the record's order, then the policy, as loaded over the defaults.
std::string Fields(Registry& registry) {
    EraserSettings s;
    LoadSettings(registry, s);
    std::string out;
    // clang-format off
    for (std::int32_t field : {s.clearHistory, s.clearCookies, s.clearTempInternetFiles, s.clearIndexDat, s.resetStartPage,
                               s.emptyRecycleBin, s.clearRecentDocs, s.clearAutoComplete, s.clearWindowsTemp, s.clearSearchHistory}) {
        out += std::to_string(field);
    }
    // clang-format on
    return out + " " + std::to_string(s.closeBrowserPolicy);
}

// The fields loaded from values stored with their terminator.
std::string Loaded(const Lines& values, const char* fault = nullptr, const char* match = "") {
    MemoryPlatform mem;
    Seed(mem, values);
    if (fault != nullptr) {
        mem.registry.faults.Fail(fault, winerr::kAccessDenied, match);
    }
    return Fields(mem.registry);
}

// Every category on and the policy "ask" by default. Only the text "yes" switches on; a
// value that does not fit ten bytes, or cannot be read, leaves its field alone.
// Eleven texts are saved, "HomePage" before "IndexDat"; a policy outside 0..2 is stored
// as 2, and all is loaded back. A value that cannot be written is passed over.
TEST(SettingsStore, LoadsEachFieldAndSavesElevenTexts) {
    EXPECT_EQ("1111111111 2", Loaded({}));
    EXPECT_EQ("1111111111 2", Loaded({kValue + "Cookies = no"}, "Registry.OpenKey"));
    EXPECT_EQ("1111111011 2", Loaded({kValue + "Cookies = no", kValue + "自动填充 = no"},
                                     "Registry.QueryValue", "Cookies"));
    EXPECT_EQ("1001111111 2",
              Loaded({kValue + "Cookies = Yes", kValue + "TempFiles = yesyesyes",
                      kValue + "历史 = no no no n", kValue + "Close IEs State = 01"}));
    MemoryPlatform mem;
    EraserSettings settings;
    SetAllSwitches(settings, 0);
    settings.clearHistory = 1;
    settings.resetStartPage = settings.clearAutoComplete = 5;
    Lines saved;
    for (const char* text : {"Cookies = no", "TempFiles = no", "历史 = yes", "HomePage = yes",
                             "IndexDat = no", "回收站 = no", "“文档”菜单 = no", "自动填充 = yes",
                             "Windows 临时文件夹 = no", "搜索历史记录 = no", ""}) {
        saved.push_back(kValue + text);
    }
    for (auto [policy, text] : {std::pair{0, "0"}, {1, "1"}, {9, "2"}}) {
        settings.closeBrowserPolicy = policy;
        saved.back() = kValue + "Close IEs State = " + text;
        SaveSettings(mem.registry, settings);
        EXPECT_EQ(saved, State(mem));
        EXPECT_EQ("1000100100 " + std::string(text), Fields(mem.registry));
    }
    ASSERT_EQ(winerr::kSuccess, mem.registry.DeleteTree(regroot::kCurrentUser, "Software"));
    mem.registry.faults.Fail("Registry.SetValue", winerr::kAccessDenied, "HomePage");
    SaveSettings(mem.registry, settings);
    EXPECT_EQ(Without(saved, {kValue + "HomePage = yes"}), State(mem));
    EXPECT_EQ(0u, mem.registry.OpenHandleCount());
}

}  // namespace
