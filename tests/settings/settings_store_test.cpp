#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/memory/memory_registry.h"

namespace {

const char* const kSwitchNames[] = {
    "Cookies", "TempFiles",  "历史",     "IndexDat",           "HomePage",
    "回收站",  "“文档”菜单", "自动填充", "Windows 临时文件夹", "搜索历史记录"};

class SettingsStore : public ::testing::Test {
protected:
    // Stores exactly the bytes of data (nothing follows them that the registry could take
    // for a forgotten terminator).
    void Store(const std::string& name, const std::string& data,
               std::uint32_t type = regtype::kSz) {
        std::string unterminated = data + 'X';
        RegKey key(registry);
        ASSERT_EQ(winerr::kSuccess,
                  key.Create(regroot::kCurrentUser, kSettingsKey, regaccess::kAllAccess));
        ASSERT_EQ(winerr::kSuccess, registry.SetValue(key.Get(), name, type, unterminated.data(),
                                                      static_cast<std::uint32_t>(data.size())));
    }
    std::string Stored(const std::string& name) {
        RegKey key(registry);
        EXPECT_EQ(winerr::kSuccess,
                  key.Open(regroot::kCurrentUser, kSettingsKey, regaccess::kRead));
        char buffer[64];
        std::uint32_t size = sizeof buffer;
        std::uint32_t type = 0;
        EXPECT_EQ(winerr::kSuccess, registry.QueryValue(key.Get(), name, &type, buffer, &size));
        EXPECT_EQ(regtype::kSz, type);
        return std::string(buffer, strnlen(buffer, size));
    }
    EraserSettings Loaded() {
        EraserSettings settings;
        LoadSettings(registry, settings);
        return settings;
    }

    MemoryRegistry registry;
};

TEST_F(SettingsStore, NoKeyKeepsTheDefaults) {
    EraserSettings settings = Loaded();
    EXPECT_EQ(1, settings.clearHistory);
    EXPECT_EQ(1, settings.clearSearchHistory);
    EXPECT_EQ(2, settings.closeBrowserPolicy);
}

TEST_F(SettingsStore, KeyThatCannotBeOpenedKeepsTheDefaults) {
    Store("Cookies", "no");
    registry.faults.Fail("Registry.OpenKey", winerr::kAccessDenied);
    EXPECT_EQ(1, Loaded().clearCookies);
}

TEST_F(SettingsStore, EachSwitchLoadsFromItsOwnValue) {
    const std::int32_t EraserSettings::*fields[] = {
        &EraserSettings::clearCookies,     &EraserSettings::clearTempInternetFiles,
        &EraserSettings::clearHistory,     &EraserSettings::clearIndexDat,
        &EraserSettings::resetStartPage,   &EraserSettings::emptyRecycleBin,
        &EraserSettings::clearRecentDocs,  &EraserSettings::clearAutoComplete,
        &EraserSettings::clearWindowsTemp, &EraserSettings::clearSearchHistory};
    for (size_t i = 0; i < std::size(kSwitchNames); ++i) {
        registry.DeleteTree(regroot::kCurrentUser, kSettingsKey);
        Store(kSwitchNames[i], "no");
        EraserSettings settings = Loaded();
        for (size_t j = 0; j < std::size(fields); ++j) {
            EXPECT_EQ(i == j ? 0 : 1, settings.*fields[j]) << kSwitchNames[i] << " field " << j;
        }
    }
}

TEST_F(SettingsStore, OnlyTheExactTextYesSwitchesOn) {
    struct Case {
        std::string data;
        std::uint32_t type;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"yes", regtype::kSz, 1},
        {std::string("yes\0", 4), regtype::kSz, 1},  // written with a terminator
        {"Yes", regtype::kSz, 0},
        {"YES", regtype::kSz, 0},
        {"no", regtype::kSz, 0},
        {"", regtype::kSz, 0},
        {"yess", regtype::kSz, 0},
        {"yes ", regtype::kSz, 0},
        {"yesyesyesy", regtype::kSz, 0},  // ten bytes: read, and not "yes"
        {std::string("\x01\0\0\0", 4), regtype::kDword, 0},
        {"yes", regtype::kBinary, 1},
    };
    for (const Case& c : cases) {
        Store("TempFiles", c.data, c.type);
        EXPECT_EQ(c.expected, Loaded().clearTempInternetFiles) << "data '" << c.data << "'";
    }
}

TEST_F(SettingsStore, ValueLongerThanTenBytesIsIgnored) {
    Store("TempFiles", "no no no no");
    Store("回收站", std::string(4000, 'n'));
    EraserSettings settings = Loaded();
    EXPECT_EQ(1, settings.clearTempInternetFiles);
    EXPECT_EQ(1, settings.emptyRecycleBin);
}

TEST_F(SettingsStore, UnreadableValueKeepsItsField) {
    Store("Cookies", "no");
    Store("自动填充", "no");
    registry.faults.Fail("Registry.QueryValue", winerr::kAccessDenied, "Cookies");
    EraserSettings settings = Loaded();
    EXPECT_EQ(1, settings.clearCookies);
    EXPECT_EQ(0, settings.clearAutoComplete);
}

TEST_F(SettingsStore, PolicyDigits) {
    const std::pair<std::string, std::int32_t> cases[] = {{"0", 0}, {"1", 1},  {"2", 2},  {"7", 2},
                                                          {"", 2},  {"01", 2}, {"1 ", 2}, {"x", 2}};
    for (const auto& [data, expected] : cases) {
        Store("Close IEs State", data);
        EXPECT_EQ(expected, Loaded().closeBrowserPolicy) << "data '" << data << "'";
    }
}

TEST_F(SettingsStore, OversizedPolicyKeepsTheCurrentPolicy) {
    Store("Close IEs State", "00000000000");
    EraserSettings settings;
    settings.closeBrowserPolicy = 0;
    LoadSettings(registry, settings);
    EXPECT_EQ(0, settings.closeBrowserPolicy);
}

// Sees the SetValue calls themselves: the registry may add a terminator of its own.
class RecordingRegistry : public MemoryRegistry {
public:
    WinError SetValue(HKey key, const std::string& name, std::uint32_t type, const void* data,
                      std::uint32_t size) override {
        writes.push_back(name + "=" + std::string(static_cast<const char*>(data), size) +
                         (type == regtype::kSz ? "" : " (not REG_SZ)"));
        return MemoryRegistry::SetValue(key, name, type, data, size);
    }
    std::vector<std::string> writes;
};

TEST(SettingsSave, WritesTextsWithoutTerminatorInItsOrder) {
    RecordingRegistry registry;
    EraserSettings settings;
    settings.clearCookies = 0;
    settings.clearIndexDat = 5;
    settings.closeBrowserPolicy = 1;
    SaveSettings(registry, settings);
    std::vector<std::string> expected = {
        "Cookies=no",       "TempFiles=yes",    "历史=yes",
        "HomePage=yes",     "IndexDat=yes",     "回收站=yes",
        "“文档”菜单=yes",   "自动填充=yes",     "Windows 临时文件夹=yes",
        "搜索历史记录=yes", "Close IEs State=1"};
    EXPECT_EQ(expected, registry.writes);
}

TEST_F(SettingsStore, SavedPolicyOutsideTheRangeIsStoredAsAsk) {
    EraserSettings settings;
    settings.closeBrowserPolicy = 9;
    SaveSettings(registry, settings);
    EXPECT_EQ("2", Stored("Close IEs State"));
}

TEST_F(SettingsStore, SaveThenLoadGivesTheSameRecord) {
    EraserSettings saved;
    saved.clearHistory = 0;
    saved.clearSearchHistory = 0;
    saved.closeBrowserPolicy = 0;
    SaveSettings(registry, saved);
    EraserSettings loaded;
    LoadSettings(registry, loaded);
    EXPECT_EQ(0, std::memcmp(&saved, &loaded, sizeof saved));
}

TEST_F(SettingsStore, SaveFailuresAreSilent) {
    registry.faults.Fail("Registry.CreateKey", winerr::kAccessDenied);
    SaveSettings(registry, EraserSettings{});
    registry.faults.Clear();
    RegKey key(registry);
    EXPECT_EQ(winerr::kFileNotFound,
              key.Open(regroot::kCurrentUser, kSettingsKey, regaccess::kRead));

    registry.faults.Fail("Registry.SetValue", winerr::kAccessDenied, "HomePage");
    EraserSettings settings;
    settings.resetStartPage = 0;
    settings.emptyRecycleBin = 0;
    SaveSettings(registry, settings);
    EXPECT_EQ("no", Stored("回收站"));
    EXPECT_EQ(0u, registry.OpenHandleCount());
}

}  // namespace
