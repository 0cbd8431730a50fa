// Typed URLs, Run history, search history and start page against the real registry:
// GBK names and texts through the ANSI calls, as the Unicode side sees them.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstring>

#include "app/eraser_dlg.h"
#include "clean/erasers.h"
#include "log_lines.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr char kTyped[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr char kAcMru[] = "Software\\Microsoft\\Search Assistant\\ACMru";
constexpr char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr wchar_t kStartPageW[] = L"\x8d77\x59cb\x9875";  // 起始页

class RegistryErasersUnderWine : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    void Clean() {
        SHDeleteKeyA(HKEY_CURRENT_USER, kTyped);
        SHDeleteKeyA(HKEY_CURRENT_USER, kRunMru);
        SHDeleteKeyA(HKEY_CURRENT_USER, kAcMru);
        HKEY main = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kMain, 0, KEY_ALL_ACCESS, &main) == ERROR_SUCCESS) {
            RegDeleteValueW(main, kStartPageW);
            RegCloseKey(main);
        }
    }
    void PutText(const std::string& path, const std::string& name, const std::string& text) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }
    bool HasKey(const char* path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
    // A value's text through the Unicode call; "(none)" when it cannot be read.
    std::wstring GetW(const char* path, const wchar_t* name) {
        std::wstring wpath(path, path + std::strlen(path));
        wchar_t data[2048];
        DWORD size = sizeof data;
        if (SHGetValueW(HKEY_CURRENT_USER, wpath.c_str(), name, nullptr, data, &size) !=
            ERROR_SUCCESS) {
            return L"(none)";
        }
        return std::wstring(data, size / sizeof(wchar_t)).c_str();
    }
    Lines Run(void (*eraser)(EraserDlg&, bool), bool testMode) {
        dlg.log.ClearLog();
        eraser(dlg, testMode);
        return LogLines(dlg.log);
    }

    Win32Platform win32;
    EraserDlg dlg{win32.platform};
};

TEST_F(RegistryErasersUnderWine, TypedUrlsTestListsAndClearRemoves) {
    PutText(kTyped, "url1", "http://www.example.com/");
    PutText(kTyped, "url2", "http://新闻.example.org/");
    PutText(kTyped, "other", "x");
    PutText(kRunMru, "a", "notepad\\1");
    EXPECT_EQ((Lines{"", "测试: 正在删除分类 URL http://www.example.com/ <OK>",
                     "测试: 正在删除分类 URL http://新闻.example.org/ <OK>"}),
              Run(EraseTypedUrls, true));
    EXPECT_EQ(L"http://\x65b0\x95fb.example.org/", GetW(kTyped, L"url2"));
    EXPECT_TRUE(HasKey(kRunMru));
    EXPECT_EQ((Lines{"", "正在删除分类 URL http://www.example.com/ <OK>",
                     "正在删除分类 URL http://新闻.example.org/ <OK>"}),
              Run(EraseTypedUrls, false));
    EXPECT_FALSE(HasKey(kTyped));
    EXPECT_FALSE(HasKey(kRunMru));
}

TEST_F(RegistryErasersUnderWine, TypedUrlsBeyondTheNameListWaitForTheNextClear) {
    for (int i = 1; i <= 1001; ++i) {
        PutText(kTyped, "url" + std::to_string(10000 + i), "http://site/" + std::to_string(i));
    }
    EXPECT_EQ(1001u, Run(EraseTypedUrls, false).size());
    EXPECT_TRUE(HasKey(kTyped));
    EXPECT_EQ(L"http://site/1001", GetW(kTyped, L"url11001"));
    EXPECT_EQ((Lines{"", "正在删除分类 URL http://site/1001 <OK>"}), Run(EraseTypedUrls, false));
    EXPECT_FALSE(HasKey(kTyped));
}

TEST_F(RegistryErasersUnderWine, SearchHistoryTestListsAndClearEmptiesTheLists) {
    PutText(std::string(kAcMru) + "\\5603", "000", "税务 申报");
    PutText(std::string(kAcMru) + "\\5603", "001", "report.doc");
    PutText(std::string(kAcMru) + "\\5647", "000", "printer");
    EXPECT_EQ((Lines{"**测试: 正在删除 Windows 搜索历史记录...", "", "测试: 正在删除 税务 申报",
                     "测试: 正在删除 report.doc", "测试: 正在删除 printer", "",
                     "**测试: Windows 搜索历史记录已被删除。 <OK>"}),
              Run(EraseSearchHistory, true));
    EXPECT_EQ(L"report.doc", GetW("Software\\Microsoft\\Search Assistant\\ACMru\\5603", L"001"));
    EXPECT_EQ(
        (Lines{"**正在删除 Windows 搜索历史记录...", "", "正在删除税务 申报", "正在删除report.doc",
               "正在删除printer", "", "**Windows 搜索历史记录已被删除。 <OK>"}),
        Run(EraseSearchHistory, false));
    EXPECT_EQ(
        (Lines{"**正在删除 Windows 搜索历史记录...", "", "**Windows 搜索历史记录为空。 <OK>"}),
        Run(EraseSearchHistory, false));
    EXPECT_TRUE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru\\5647"));
}

TEST_F(RegistryErasersUnderWine, StartPageValueHasItsChineseNameAndBecomesAboutBlank) {
    PutText(kMain, "起始页", "http://home.example/");
    EXPECT_EQ(Lines{"**测试: 删除原来的起始页http://home.example/<OK>"}, Run(ResetStartPage, true));
    EXPECT_EQ(L"http://home.example/", GetW(kMain, kStartPageW));
    EXPECT_EQ(Lines{"**删除原来的起始页http://home.example/ <OK>"}, Run(ResetStartPage, false));
    EXPECT_EQ(L"about:blank", GetW(kMain, kStartPageW));
    EXPECT_EQ(Lines{"**起始页被设置为 about:blank"}, Run(ResetStartPage, true));
}

TEST_F(RegistryErasersUnderWine, StartPageTooLongOrMissingIsReportedAndLeft) {
    EXPECT_EQ(Lines{"**无法删除 IE 起始页"}, Run(ResetStartPage, false));
    EXPECT_EQ(L"(none)", GetW(kMain, kStartPageW));
    std::string longPage = "http://" + std::string(1000, 'p');
    PutText(kMain, "起始页", longPage);
    EXPECT_EQ(Lines{"**无法删除 IE 起始页"}, Run(ResetStartPage, false));
    EXPECT_EQ(std::wstring(longPage.begin(), longPage.end()), GetW(kMain, kStartPageW));
}

}  // namespace
