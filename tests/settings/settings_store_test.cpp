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

// The fields after loading values stored with their terminator over the defaults.
std::string Loaded(const Lines& values, const char* fault = nullptr, const char* match = "") {
    MemoryPlatform mem;
    Seed(mem, values);
    if (fault != nullptr) {
        mem.registry.faults.Fail(fault, winerr::kAccessDenied, match);
    }
    EraserSettings settings;
    LoadSettings(mem.registry, settings);
    return Fields(settings);
}

// Every category on and the policy "ask" by default. Only the text "yes" switches on; a
// value that does not fit ten bytes, or cannot be read, leaves its field alone.
TEST(SettingsStore, LoadsEachFieldFromItsValue) {
    EXPECT_EQ("1111111111 2", Loaded({}));
    EXPECT_EQ("1111111111 2", Loaded({kValue + "Cookies = no"}, "Registry.OpenKey"));
    EXPECT_EQ("1111111011 2", Loaded({kValue + "Cookies = no", kValue + "自动填充 = no"},
                                     "Registry.QueryValue", "Cookies"));
    const char* names[] = {
        "历史",   "Cookies",    "TempFiles", "IndexDat",           "HomePage",
        "回收站", "“文档”菜单", "自动填充",  "Windows 临时文件夹", "搜索历史记录"};
    for (int i = 0; i < 10; ++i) {  // in the record's order
        std::string fields = "1111111111 2";
        fields[i] = '0';
        EXPECT_EQ(fields, Loaded({kValue + names[i] + " = no"})) << names[i];
    }
    EXPECT_EQ("1101111111 2", Loaded({kValue + "TempFiles = Yes"}));
    EXPECT_EQ("1101111111 2", Loaded({kValue + "TempFiles = yesyesyes"}));
    EXPECT_EQ("1111111111 2", Loaded({kValue + "TempFiles = no no no n"}));
    EXPECT_EQ("1111111111 2", Loaded({kValue + "Close IEs State = 7"}));
    EXPECT_EQ("1111111111 2", Loaded({kValue + "Close IEs State = 01"}));
}

// Eleven texts, "HomePage" before "IndexDat"; a policy outside 0..2 is stored as 2, and
// all is loaded back. A value that cannot be written is passed over; without the key
// nothing is written.
TEST(SettingsStore, SavesElevenTexts) {
    MemoryPlatform mem;
    EraserSettings settings, loaded;
    settings.clearCookies = 0;
    settings.clearIndexDat = 5;
    Lines saved = {kValue + "Cookies = no",
                   kValue + "TempFiles = yes",
                   kValue + "历史 = yes",
                   kValue + "HomePage = yes",
                   kValue + "IndexDat = yes",
                   kValue + "回收站 = yes",
                   kValue + "“文档”菜单 = yes",
                   kValue + "自动填充 = yes",
                   kValue + "Windows 临时文件夹 = yes",
                   kValue + "搜索历史记录 = yes",
                   ""};
    for (auto [policy, text] : {std::pair{0, "0"}, {1, "1"}, {9, "2"}}) {
        settings.closeBrowserPolicy = policy;
        saved.back() = kValue + "Close IEs State = " + text;
        SaveSettings(mem.registry, settings);
        EXPECT_EQ(saved, State(mem));
        LoadSettings(mem.registry, loaded);
        EXPECT_EQ("1011111111 " + std::string(text), Fields(loaded));
    }
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

}  // namespace
