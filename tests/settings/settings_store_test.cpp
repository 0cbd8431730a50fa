#include "settings/settings_store.h"

#include <gmock/gmock.h>

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

// The keep list as a registry editor may leave it: each string that names a host, as a
// host, once; another type is no list. A cookie is kept for a listed host and the hosts
// below it, without regard to case or a leading dot. Saved and loaded back whole; an
// empty list removes the value, and one beyond 64 KiB is not read.
TEST(SettingsStore, KeepCookiesReadSafelyMatchedAndStored) {
    using std::string_literals::operator""s;
    // clang-format off
    const std::pair<std::uint32_t, std::string> kValues[] = {
        {7, "a.test\0B.Test\0\0"s}, {7, "\0\0a.test\0a.test\0 HTTPS://u@X.Test:81/p?q \0.y.test"s},
        {7, "bad host\0a..b\0a!b\0-\0"s + std::string(254, 'a') + "\0z"s}, {1, "a.test\0"s}, {3, "a.test"s}};
    // clang-format on
    std::string parsed;
    for (const auto& [type, data] : kValues) {
        for (const std::string& host : ParseKeepCookies(type, data)) {
            parsed += host + ",";
        }
        parsed += "|";
    }
    EXPECT_EQ("a.test,b.test,|a.test,x.test,y.test,|z,|||", parsed);
    const KeepList keep = {"Example.com", ".bank.test"};
    std::string kept;
    for (const char* host : {"example.com", "MAIL.example.COM", ".example.com", "badexample.com",
                             "example.com.evil", "x.bank.test", "bank.test", "test", ""}) {
        kept += IsKeptHost(keep, host) ? "1" : "0";
    }
    EXPECT_EQ("111001100", kept);
    MemoryPlatform mem;
    EraserSettings settings, loaded;
    settings.keepCookies = {"b.test", "a.test"};
    SaveSettings(mem.registry, settings);
    EXPECT_THAT(State(mem), testing::Contains("raw " + kValue.substr(6) +
                                              "KeepCookies = 7:b.test\\0a.test\\0\\0"));
    LoadSettings(mem.registry, loaded);
    EXPECT_EQ(settings.keepCookies, loaded.keepCookies);
    Seed(mem, {"raw " + kValue.substr(6) + "KeepCookies = 7:" + std::string(65537, 'a')});
    LoadSettings(mem.registry, loaded = EraserSettings{});
    EXPECT_EQ(KeepList{}, loaded.keepCookies);
    SaveSettings(mem.registry, loaded);
    EXPECT_EQ(11u, State(mem).size());
}
