// The recent documents, temporary folder and recycle bin erasers on the real platform:
// real folders of the shell, a file another process holds open, a read-only file, and
// Wine's working recycle bin with real items in it.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the shell header builds on it.
#include <shellapi.h>

#include "app/eraser_dlg.h"
#include "clean/erasers.h"
#include "log_lines.h"
#include "platform/win32/win32_platform.h"
#include "wine/wine_support.h"
#include "wine/xp_profile_wine.h"

namespace {

constexpr char kScratch[] = "C:\\corvane-wine";

class FileErasersUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH] = "";
        hadTmp_ = GetEnvironmentVariableA("TMP", tmp, sizeof tmp) > 0;
        savedTmp_ = tmp;
        RemoveTreeForTest(kScratch);
        CreateDirectoryA(kScratch, nullptr);
        dlg.DetectOsVersion();
    }
    void TearDown() override {
        SetEnvironmentVariableA("TMP", hadTmp_ ? savedTmp_.c_str() : nullptr);
        RemoveTreeForTest(kScratch);
        DeleteSettingsKey();
    }
    // A folder below the scratch folder, set as TMP.
    std::string UseTemp(const std::string& name) {
        std::string folder = std::string(kScratch) + "\\" + name;
        CreateDirectoryA(folder.c_str(), nullptr);
        SetEnvironmentVariableA("TMP", folder.c_str());
        return folder;
    }
    template <typename Step>
    Lines LogOf(Step step) {
        dlg.log.ClearLog();
        step();
        return LogLines(dlg.log);
    }

    Win32Platform win32;
    EraserDlg dlg{win32.platform};

private:
    bool hadTmp_ = false;
    std::string savedTmp_;
};

TEST_F(FileErasersUnderWine, TempFolderKeepsReadOnlyAndHeldFiles) {
    std::string temp = UseTemp("Temp");
    const std::string scratch = temp + "\\~corvane1.tmp";
    const std::string readOnly = temp + "\\readonly.tmp";
    const std::string held = temp + "\\held.tmp";
    for (const std::string& file : {scratch, readOnly, held, temp + "\\desktop.ini"}) {
        ASSERT_TRUE(WriteFileBytes(file, "data"));
    }
    CreateDirectoryA((temp + "\\sub").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(temp + "\\sub\\inner.tmp", "inner"));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    HeldFile holder(held);
    ASSERT_TRUE(holder.Holding());

    Lines test = LogOf([&] { EraseWindowsTemp(dlg, true); });
    EXPECT_EQ((Lines{"**测试: 正在清空 Windows 临时文件夹...", "",
                     "测试: 正在删除 " + temp + "\\" + "~corvane1.tmp <OK>", "",
                     "**测试: Windows 临时文件夹已清空 <OK>"}),
              test);
    EXPECT_EQ("data", ReadFileBytes(scratch));
    Lines clear = LogOf([&] { EraseWindowsTemp(dlg, false); });
    EXPECT_EQ((Lines{"**正在清空 Windows 临时文件夹...", "",
                     "正在删除" + temp + "\\" + "~corvane1.tmp <OK>", "",
                     "**Windows 临时文件夹已清空 <OK>"}),
              clear);
    EXPECT_FALSE(PathExists(scratch));
    EXPECT_TRUE(PathExists(readOnly));
    EXPECT_TRUE(PathExists(held));
    EXPECT_TRUE(PathExists(temp + "\\desktop.ini"));
    EXPECT_TRUE(PathExists(temp + "\\sub\\inner.tmp"));
}

TEST_F(FileErasersUnderWine, TempPathWithoutTempIsLeftAlone) {
    std::string tmp = UseTemp("tmp");
    ASSERT_TRUE(WriteFileBytes(tmp + "\\keep.tmp", "k"));
    EXPECT_EQ((Lines{"**正在清空 Windows 临时文件夹...", "", "**Windows 临时文件夹为空 <OK>"}),
              LogOf([&] { EraseWindowsTemp(dlg, false); }));
    EXPECT_EQ((Lines{"**测试: 正在清空 Windows 临时文件夹...", "",
                     "**测试: Windows 临时文件夹为空 <OK>"}),
              LogOf([&] { EraseWindowsTemp(dlg, true); }));
    EXPECT_TRUE(PathExists(tmp + "\\keep.tmp"));
}

TEST_F(FileErasersUnderWine, RecentDocumentsOfAnXpProfile) {
    WineXpProfile xp;
    const std::string link = xp.recent + "\\报告.doc.lnk";
    ASSERT_TRUE(WriteFileBytes(link, "lnk"));
    ASSERT_TRUE(WriteFileBytes(xp.recent + "\\Desktop.ini", "ini"));
    CreateDirectoryA((xp.recent + "\\sub").c_str(), nullptr);
    EXPECT_EQ((Lines{"**测试: 正在清空最近文档文件夹...", "", "测试: 正在删除 " + link + " <OK>",
                     "", "**测试: 最近文档文件夹已清空 <OK>"}),
              LogOf([&] { EraseRecentDocuments(dlg, true); }));
    EXPECT_TRUE(PathExists(link));
    EXPECT_EQ((Lines{"**正在清空最近文档文件夹...", "", "正在删除" + link + " <OK>", "",
                     "**最近文档文件夹已被清空 <OK>"}),
              LogOf([&] { EraseRecentDocuments(dlg, false); }));
    EXPECT_FALSE(PathExists(link));
    EXPECT_TRUE(PathExists(xp.recent + "\\Desktop.ini"));
    EXPECT_TRUE(PathExists(xp.recent + "\\sub"));
    EXPECT_EQ((Lines{"**正在清空最近文档文件夹...", "", "**最近文档文件夹为空 <OK>"}),
              LogOf([&] { EraseRecentDocuments(dlg, false); }));
}

// Empties the recycle bin at the end of a test that found it empty.
struct EmptyBinAtEnd {
    ~EmptyBinAtEnd() { SHEmptyRecycleBinA(nullptr, nullptr, 7); }
};

TEST_F(FileErasersUnderWine, RecycleBinWithRealItems) {
    ASSERT_EQ(0, RecycleBinContent().second) << "the prefix's recycle bin should start empty";
    EmptyBinAtEnd emptyBin;
    ASSERT_TRUE(RecycleNewFile(std::string(kScratch) + "\\a.txt", std::string(1000, 'a')));
    ASSERT_TRUE(RecycleNewFile(std::string(kScratch) + "\\b.txt", std::string(234, 'b')));
    EXPECT_EQ((Lines{"测试: 1234 字节已删除", "", "**测试: 回收站已清空 <OK>"}),
              LogOf([&] { EraseRecycleBin(dlg, true); }));
    EXPECT_EQ(std::make_pair(1234LL, 2LL), RecycleBinContent());
    EXPECT_EQ((Lines{"1234 字节已删除", "", "**回收站已清空<OK>"}),
              LogOf([&] { EraseRecycleBin(dlg, false); }));
    EXPECT_EQ(std::make_pair(0LL, 0LL), RecycleBinContent());
    EXPECT_EQ((Lines{"**回收站为空 <OK>"}), LogOf([&] { EraseRecycleBin(dlg, false); }));
    EXPECT_EQ((Lines{"**测试: 回收站为空 <OK>"}), LogOf([&] { EraseRecycleBin(dlg, true); }));
}

// The whole road through the program: its Test lists and keeps, its Clear removes.
TEST_F(FileErasersUnderWine, ProgramRunsTheseCategoriesFromTheCommandLine) {
    EraserSettings settings;
    settings = EraserSettings{0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 2};  // recycle bin, temp folder
    StoreSettings(settings);
    std::string temp = UseTemp("Temp");
    ASSERT_TRUE(WriteFileBytes(temp + "\\x.tmp", "x"));
    ASSERT_EQ(0, RecycleBinContent().second) << "the prefix's recycle bin should start empty";
    EmptyBinAtEnd emptyBin;
    ASSERT_TRUE(RecycleNewFile(std::string(kScratch) + "\\r.txt", "12345"));
    ProcessResult test = RunCorvane("/test");
    EXPECT_NE(std::string::npos, test.out.find("测试: 正在删除 " + temp + "\\x.tmp <OK>\r\n"));
    EXPECT_NE(std::string::npos,
              test.out.find("测试: 5 字节已删除\r\n\r\n测试: 回收站已清空 <OK>"));
    EXPECT_TRUE(PathExists(temp + "\\x.tmp"));
    EXPECT_EQ(1, RecycleBinContent().second);
    ProcessResult clear = RunCorvane("/clear");
    EXPECT_NE(std::string::npos, clear.out.find("正在删除" + temp + "\\x.tmp <OK>\r\n"));
    EXPECT_NE(std::string::npos, clear.out.find("5 字节已删除\r\n\r\n回收站已清空<OK>\r\n"));
    EXPECT_FALSE(PathExists(temp + "\\x.tmp"));
    EXPECT_EQ(0, RecycleBinContent().second);
}

}  // namespace
