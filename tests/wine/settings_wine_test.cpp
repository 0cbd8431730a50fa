// The settings store against the real registry: the GBK value names arrive as the
// right Unicode names, and the texts are stored without a terminator.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_registry.h"
#include "settings/settings_store.h"
#include "wine/wine_support.h"

namespace {

class SettingsUnderWine : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }

    // The raw data of a value read through the Unicode call.
    std::vector<BYTE> RawW(const wchar_t* name, DWORD* type) {
        HKEY key = nullptr;
        std::vector<BYTE> data(64);
        DWORD size = static_cast<DWORD>(data.size());
        EXPECT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Halvix\\Corvane\\Settings", 0,
                                KEY_READ, &key));
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, name, nullptr, type, data.data(), &size));
        RegCloseKey(key);
        data.resize(size);
        return data;
    }

    Win32Registry registry;
};

TEST_F(SettingsUnderWine, GbkNamesBecomeTheirUnicodeNames) {
    EraserSettings settings;
    settings.clearRecentDocs = 0;
    SaveSettings(registry, settings);
    DWORD type = 0;
    // “文档”菜单: "no". The store counts two bytes; the registry adds the terminator that
    // follows them in memory, as NT does.
    std::vector<BYTE> data = RawW(L"\x201c\x6587\x6863\x201d\x83dc\x5355", &type);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ((std::vector<BYTE>{'n', 0, 'o', 0, 0, 0}), data);
    data = RawW(L"\x5386\x53f2", &type);  // 历史
    EXPECT_EQ((std::vector<BYTE>{'y', 0, 'e', 0, 's', 0, 0, 0}), data);
    data = RawW(L"Close IEs State", &type);
    EXPECT_EQ((std::vector<BYTE>{'2', 0, 0, 0}), data);
}

TEST_F(SettingsUnderWine, LoadRulesOnRealData) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, "Cookies", 0, REG_SZ, reinterpret_cast<const BYTE*>("Yes"), 3);
    RegSetValueExA(key, "TempFiles", 0, REG_SZ, reinterpret_cast<const BYTE*>("no no no no"), 11);
    DWORD one = 1;
    RegSetValueExA(key, "HomePage", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
    RegSetValueExA(key, "回收站", 0, REG_SZ, reinterpret_cast<const BYTE*>("yes"), 4);
    RegSetValueExA(key, "Close IEs State", 0, REG_SZ, reinterpret_cast<const BYTE*>("7"), 1);
    RegCloseKey(key);

    EraserSettings settings;
    settings.emptyRecycleBin = 0;
    LoadSettings(registry, settings);
    EXPECT_EQ(0, settings.clearCookies);            // "Yes" is not "yes"
    EXPECT_EQ(1, settings.clearTempInternetFiles);  // eleven bytes: ignored
    EXPECT_EQ(0, settings.resetStartPage);          // not a text
    EXPECT_EQ(1, settings.emptyRecycleBin);         // "yes" with its terminator
    EXPECT_EQ(2, settings.closeBrowserPolicy);
}

TEST_F(SettingsUnderWine, SaveThenLoad) {
    EraserSettings saved;
    saved.clearCookies = 0;
    saved.clearAutoComplete = 0;
    saved.closeBrowserPolicy = 1;
    SaveSettings(registry, saved);
    EraserSettings loaded;
    LoadSettings(registry, loaded);
    EXPECT_EQ(0, loaded.clearCookies);
    EXPECT_EQ(0, loaded.clearAutoComplete);
    EXPECT_EQ(1, loaded.clearHistory);
    EXPECT_EQ(1, loaded.closeBrowserPolicy);
}

}  // namespace
