// The index.dat step and the cache folder discovery on the in-memory platform: every
// line of Clear beside the line of Test, the files filled, the containers removed, and
// the folders found through the registry and the second copies.
#include "clean/index_dat.h"

#include <gtest/gtest.h>

#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/xp_profile.h"

namespace {

const std::string kUrlCache = std::string(kUrlCacheSignature) + " 5.2";

// A URL-cache index of length bytes: the signature (cut when length is shorter), then
// non-zero filler.
std::string CacheIndex(size_t length) {
    std::string index = kUrlCache;
    index.resize(length, 'x');
    return index;
}

class IndexDat : public XpProfile {
protected:
    static constexpr char kExtensible5[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Extensible "
        "Cache";
    static constexpr char kExtensible4[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Extensible Cache";

    void AddContainer(HKey root, const char* key, const std::string& name,
                      const std::string& cachePath) {
        RegKey container(mem.registry);
        ASSERT_EQ(winerr::kSuccess,
                  container.Create(root, std::string(key) + "\\" + name, regaccess::kAllAccess));
        ASSERT_EQ(
            winerr::kSuccess,
            mem.registry.SetValue(container.Get(), "CachePath", regtype::kSz, cachePath.c_str(),
                                  static_cast<std::uint32_t>(cachePath.size() + 1)));
    }
    std::string HistoryIe5() const { return In(kHistory, "History.IE5"); }
    // A history container of the day, with its index and one visited page.
    std::string AddHistoryContainer(const std::string& name, const std::string& index) {
        std::string folder = In(HistoryIe5(), name);
        mem.files.AddFile(In(folder, "index.dat"), index);
        mem.files.AddFile(In(folder, "page.dat"), "p");
        return folder;
    }
    Lines Fill(bool testMode, CsidlFolder csidl, bool logIt = true) {
        return LogOf([&] { FillIndexDat(dlg, testMode, csidl, logIt); });
    }
};

constexpr char kLocation[] = "清空 Index.dat，位置 ";
constexpr char kTestLocation[] = "测试: 清空 Index.dat，位置";

TEST_F(IndexDat, TextsAreTheGbkBytesOfTheLog) {
    // "，" is the full-width comma and "——" two em dashes: A3AC and A1AA A1AA in GBK.
    EXPECT_EQ(std::string("\xC7\xE5\xBF\xD5 Index.dat\xA3\xAC\xCE\xBB\xD6\xC3 "), kLocation);
    dlg.indexDatFound = false;
    mem.files.AddFile(In(kCookies, "index.dat"), "x");
    EXPECT_NE(std::string::npos, Fill(false, csidl::kCookies)[1].find("\xA1\xAA\xA1\xAA"));
}

TEST_F(IndexDat, CookiesIndexIsFilledInPlaceAndTestOnlyTellsItsLength) {
    const std::string file = In(kCookies, "index.dat");
    mem.files.AddFile(file, CacheIndex(16384));
    Lines test = Fill(true, csidl::kCookies);
    EXPECT_EQ(CacheIndex(16384), mem.files.Content(file));
    EXPECT_TRUE(dlg.indexDatFound);
    dlg.indexDatFound = false;
    Lines clear = Fill(false, csidl::kCookies);
    EXPECT_EQ((Lines{kTestLocation + std::string(kCookies) + "...",
                     "测试: Index.dat 已清空——共填充 16384 字节! <OK>"}),
              test);
    EXPECT_EQ((Lines{kLocation + std::string(kCookies) + "...",
                     "Index.dat 已清空——共填充 16384 字节! <OK>"}),
              clear);
    EXPECT_EQ(std::string(16384, '\0'), mem.files.Content(file));
    EXPECT_TRUE(dlg.indexDatFound);

    dlg.indexDatFound = false;
    EXPECT_EQ(Lines{}, Fill(false, csidl::kCookies));  // a second run finds it done
    EXPECT_EQ(Lines{}, Fill(true, csidl::kCookies));
    EXPECT_FALSE(dlg.indexDatFound);
}

TEST_F(IndexDat, FillCoversLargeFilesInPiecesAndKeepsTheirLength) {
    const std::string file = In(kCookies, "index.dat");
    mem.files.AddFile(file, CacheIndex(65536 + 7));
    EXPECT_EQ(65543, ZeroFillFile(mem.files, file));
    EXPECT_EQ(std::string(65543, '\0'), mem.files.Content(file));
    EXPECT_EQ(-1, ZeroFillFile(mem.files, In(kCookies, "none.dat")));
}

TEST_F(IndexDat, IndexInTheCacheSubfoldersIsFoundThere) {
    const std::string content = In(kCache, "Content.IE5");
    mem.files.AddFile(In(content, "index.dat"), CacheIndex(100));
    mem.files.AddFile(In(HistoryIe5(), "index.dat"), CacheIndex(200));
    EXPECT_EQ(
        (Lines{kTestLocation + content + "...", "测试: Index.dat 已清空——共填充 100 字节! <OK>"}),
        Fill(true, csidl::kInternetCache));
    EXPECT_EQ((Lines{kLocation + HistoryIe5() + "...", "Index.dat 已清空——共填充 200 字节! <OK>"}),
              Fill(false, csidl::kHistory));
}

TEST_F(IndexDat, SilentFillStillFillsAndSetsTheFlag) {
    mem.files.AddFile(In(HistoryIe5(), "index.dat"), CacheIndex(50));
    EXPECT_EQ(Lines{}, Fill(false, csidl::kHistory, false));
    EXPECT_EQ(std::string(50, '\0'), mem.files.Content(In(HistoryIe5(), "index.dat")));
    EXPECT_TRUE(dlg.indexDatFound);
}

TEST_F(IndexDat, FillThatStopsShortIsNotReportedAsDone) {
    const std::string file = In(kCookies, "index.dat");
    mem.files.AddFile(file, CacheIndex(30000));
    mem.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, 25000);
    EXPECT_EQ((Lines{kLocation + std::string(kCookies) + "..."}), Fill(false, csidl::kCookies));
    std::string content = mem.files.Content(file);
    EXPECT_EQ(std::string(25000, '\0'), content.substr(0, 25000));
    EXPECT_EQ('x', content[25000]);
}

TEST_F(IndexDat, IndexHeldWithoutSharingCountsAsDone) {
    const std::string file = In(kCookies, "index.dat");
    mem.files.AddFile(file, CacheIndex(64));
    FileHandle held;
    ASSERT_EQ(winerr::kSuccess, mem.files.Open(file, fileaccess::kRead, fileshare::kNone,
                                               filecreate::kOpenExisting, 0, &held));
    EXPECT_EQ(Lines{}, Fill(false, csidl::kCookies));
    EXPECT_FALSE(dlg.indexDatFound);
    mem.files.Close(held);
}

TEST_F(IndexDat, IndexPathBeyondTheBufferIsSkipped) {
    const std::string deep = "C:\\" + std::string(245, 'h');  // + "\History.IE5\index.dat"
    mem.shell.specialFolders[csidl::kHistory] = deep;
    mem.files.AddFile(In(deep, "History.IE5\\index.dat"), CacheIndex(10));
    EXPECT_EQ(Lines{}, Fill(false, csidl::kHistory));
    EXPECT_EQ(CacheIndex(10), mem.files.Content(In(deep, "History.IE5\\index.dat")));
}

TEST_F(IndexDat, SecondCopyInTheTemporaryFolderIsFilledToo) {
    const std::string content = In(kCache, "Content.IE5");
    const std::string copy = In(kTemp, "Internet 临时文件夹\\Content.IE5");
    mem.files.AddFile(In(content, "index.dat"), CacheIndex(10));
    mem.files.AddFile(In(copy, "index.dat"), CacheIndex(20));
    EXPECT_EQ((Lines{kLocation + content + "...", "Index.dat 已清空——共填充 10 字节! <OK>",
                     kLocation + copy + "...", "Index.dat 已清空——共填充 20 字节! <OK>"}),
              Fill(false, csidl::kInternetCache));
}

TEST_F(IndexDat, AlternateFolderRules) {
    std::string out = "untouched";
    EXPECT_FALSE(FindAlternateCacheFolder(dlg, kCookies, kHistoryWord, &out));
    EXPECT_FALSE(FindAlternateCacheFolder(dlg, kCookies, kCookiesWord, &out));  // not there
    EXPECT_EQ("untouched", out);
    mem.files.AddFolder(In(kTemp, "cookies"));
    EXPECT_TRUE(FindAlternateCacheFolder(dlg, kCookies, "COOKIES", &out));
    EXPECT_EQ(In(kTemp, "Cookies"), out);

    out = "untouched";
    EXPECT_FALSE(FindAlternateCacheFolder(dlg, In(kTemp, "Cookies"), kCookiesWord, &out));
    mem.environment.Set("TMP", "C:\\" + std::string(300, 't'));
    EXPECT_FALSE(FindAlternateCacheFolder(dlg, kCookies, kCookiesWord, &out));
    EXPECT_EQ("untouched", out);
}

TEST_F(IndexDat, Windows98KeepsItsSecondCopyUnderLocalSettings) {
    dlg.osVersion = osver::kWin98;
    const std::string cache = "C:\\WINDOWS\\Internet 临时文件夹";
    const std::string copy = "C:\\WINDOWS\\Local Settings\\Internet 临时文件夹";
    mem.shell.specialFolders[csidl::kInternetCache] = cache;
    mem.files.AddFile(In(cache, "Content.IE5\\index.dat"), CacheIndex(10));
    mem.files.AddFile(In(copy, "index.dat"), CacheIndex(30));
    std::string out;
    ASSERT_TRUE(
        FindAlternateCacheFolder(dlg, In(cache, "Content.IE5"), kTempInternetFilesWord, &out));
    EXPECT_EQ(copy, out);
    EXPECT_FALSE(FindAlternateCacheFolder(dlg, In(cache, "Content.IE5"), "content", &out));
    EXPECT_EQ((Lines{kTestLocation + In(cache, "Content.IE5") + "...",
                     "测试: Index.dat 已清空——共填充 10 字节! <OK>", kTestLocation + copy + "...",
                     "测试: Index.dat 已清空——共填充 30 字节! <OK>"}),
              Fill(true, csidl::kInternetCache));
}

TEST_F(IndexDat, ContainersAreGatheredFromTheFirstKeyThatOpens) {
    mem.files.AddFile(In(HistoryIe5(), "index.dat"), CacheIndex(10));
    dlg.indexDatPaths = {"stale"};
    GatherCacheFolders(dlg);  // no container key yet
    EXPECT_TRUE(dlg.indexDatPaths.empty());
    mem.environment.Set("USERPROFILE", kProfile);
    AddContainer(regroot::kCurrentUser, kExtensible5, "MSHist012005031420050315",
                 "%USERPROFILE%\\Local Settings\\历史\\History.IE5\\MSHist012005031420050315\\");
    AddContainer(regroot::kCurrentUser, kExtensible5, "Feeds", "D:\\Feeds\\Cache//");
    AddContainer(regroot::kLocalMachine, kExtensible5, "Other", "E:\\Other\\Cache");
    GatherCacheFolders(dlg);
    EXPECT_EQ((std::set<std::string>{HistoryIe5(), "D:\\Feeds"}), dlg.indexDatPaths);
}

TEST_F(IndexDat, ContainerPathsAreCutToTheirParentOrPassedOver) {
    const std::pair<const char*, std::string> kContainers[] = {
        {"a", "C:\\denied\\x"},                 // the key cannot be opened
        {"b", "%LONG%\\x\\y"},                  // a value too long for its buffer
        {"c", "C:\\" + std::string(300, 'c')},  // a path too long for its buffer
        {"d", "%%\\T"},                         // nothing left above the folder
        {"e", "X\\"},                           // one character
        {"f", "C:\\first%HALF\\x"},             // one "%" only: kept as it is
        {"g", "C:\\Cache"},                     // a folder at the root
        {"h", "%UNSET%\\x\\y"},                 // an unset variable gives nothing
    };
    for (const auto& container : kContainers) {
        AddContainer(regroot::kLocalMachine, kExtensible4, container.first, container.second);
    }
    mem.environment.Set("LONG", std::string(100, 'l'));
    mem.registry.faults.Fail("Registry.OpenKey", winerr::kAccessDenied, "Cache\\a");
    GatherCacheFolders(dlg);
    EXPECT_EQ((std::set<std::string>{"C:\\first%HALF", "C:", "\\x"}), dlg.indexDatPaths);
}

TEST_F(IndexDat, ContainersAreFilledAndRemovedByClearAndListedByTest) {
    mem.files.AddFile(In(HistoryIe5(), "index.dat"), CacheIndex(10));
    AddContainer(regroot::kCurrentUser, kExtensible5, "MSHist01", In(HistoryIe5(), "MSHist01\\"));
    std::string day = AddHistoryContainer("MSHist01", CacheIndex(32768));
    Lines test = LogOf([&] { FillListedIndexDat(dlg, true, true); });
    EXPECT_TRUE(mem.files.Exists(In(day, "page.dat")));
    EXPECT_EQ(CacheIndex(32768), mem.files.Content(In(day, "index.dat")));
    Lines clear = LogOf([&] { FillListedIndexDat(dlg, false, true); });
    EXPECT_EQ(
        (Lines{kTestLocation + day + "...", "测试: Index.dat 已清空——共填充 32768 字节! <OK>"}),
        test);
    EXPECT_EQ((Lines{kLocation + day + "...", "Index.dat 已清空——共填充 32768 字节! <OK>"}), clear);
    EXPECT_FALSE(mem.files.Exists(day));
    EXPECT_TRUE(mem.files.Exists(In(HistoryIe5(), "index.dat")));
}

TEST_F(IndexDat, FolderWithoutAUrlCacheIndexIsLeftAlone) {
    // A CachePath that names an ordinary folder makes its parent a "container parent";
    // its other folders are no caches and must survive a Clear.
    const std::string documents = "C:\\Documents and Settings\\user\\My Documents";
    mem.files.AddFile(In(documents, "Project\\index.dat"), "<html>index</html>");
    mem.files.AddFile(In(documents, "Project\\plan.doc"), "plan");
    std::string old = In(documents, "Old");
    mem.files.AddFile(In(old, "index.dat"), CacheIndex(64));
    dlg.indexDatPaths = {documents};
    EXPECT_EQ((Lines{kLocation + old + "...", "Index.dat 已清空——共填充 64 字节! <OK>"}),
              LogOf([&] { FillListedIndexDat(dlg, false, true); }));
    EXPECT_EQ("<html>index</html>", mem.files.Content(In(documents, "Project\\index.dat")));
    EXPECT_EQ("plan", mem.files.Content(In(documents, "Project\\plan.doc")));
    EXPECT_FALSE(mem.files.Exists(old));
}

TEST_F(IndexDat, FilledOrHeldContainersAreHandledAsFarAsTheyCanBe) {
    std::string filled = AddHistoryContainer("MSHist02", std::string(40, '\0'));
    std::string held = AddHistoryContainer("MSHist03", CacheIndex(50));
    FileHandle handle;  // the browser's own: sharing reading and writing, not deletion
    ASSERT_EQ(winerr::kSuccess,
              mem.files.Open(In(held, "index.dat"), fileaccess::kRead | fileaccess::kWrite,
                             fileshare::kRead | fileshare::kWrite, filecreate::kOpenExisting, 0,
                             &handle));
    dlg.indexDatPaths = {HistoryIe5()};
    EXPECT_EQ((Lines{kLocation + held + "...", "Index.dat 已清空——共填充 50 字节! <OK>"}),
              LogOf([&] { FillListedIndexDat(dlg, false, true); }));
    mem.files.Close(handle);
    EXPECT_TRUE(mem.files.Exists(In(filled, "page.dat")));
    EXPECT_EQ(std::string(50, '\0'), mem.files.Content(In(held, "index.dat")));
    EXPECT_FALSE(mem.files.Exists(In(held, "page.dat")));
}

TEST_F(IndexDat, ContainerWhoseIndexNeitherFillsNorGoesGetsNoCountLine) {
    std::string stuck = AddHistoryContainer("MSHist04", CacheIndex(50));
    mem.files.faults.Fail("Files.Write", winerr::kDiskFull, "MSHist04");
    mem.files.faults.Fail("Files.RemoveFile", winerr::kAccessDenied, "MSHist04");
    dlg.indexDatPaths = {HistoryIe5()};
    EXPECT_EQ((Lines{kLocation + stuck + "..."}),
              LogOf([&] { FillListedIndexDat(dlg, false, true); }));
}

TEST_F(IndexDat, ListedFillGathersOnlyWhenTheSetIsEmpty) {
    std::string day = AddHistoryContainer("MSHist05", CacheIndex(64));
    AddContainer(regroot::kCurrentUser, kExtensible5, "MSHist05", day);
    dlg.indexDatPaths = {"C:\\elsewhere"};
    FillListedIndexDat(dlg, false, false);
    EXPECT_TRUE(mem.files.Exists(day));
    dlg.indexDatPaths.clear();
    FillListedIndexDat(dlg, false, false);
    EXPECT_FALSE(mem.files.Exists(day));
    EXPECT_TRUE(dlg.indexDatFound);
    EXPECT_EQ(Lines{}, Log());
}

TEST_F(IndexDat, IndexDatGroupOfARunFramesTheseLines) {
    EraserSettings& s = dlg.settings;
    s = EraserSettings{0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    mem.files.AddFile(In(kCookies, "index.dat"), CacheIndex(8));
    dlg.OnTest();
    Lines test = Log();
    dlg.OnClear();
    Lines clear = Log();
    const std::string sep(44, '.');
    EXPECT_EQ((Lines{"操作系统: Windows XP", sep, "**正在分析系统 <OK>", sep,
                     "**测试: 正在清空 index.dat 文件...", "",
                     kTestLocation + std::string(kCookies) + "...",
                     "测试: Index.dat 已清空——共填充 8 字节! <OK>", "",
                     "**测试: Index.dat 文件已被清空 <OK>", sep, "完成!"}),
              test);
    EXPECT_EQ((Lines{"操作系统: Windows XP", sep, "**正在分析系统 <OK>", sep,
                     "**正在填充 index.dat 文件...", "", kLocation + std::string(kCookies) + "...",
                     "Index.dat 已清空——共填充 8 字节! <OK>", "", "**Index.dat 文件已填充 <OK>",
                     sep, "完成!"}),
              clear);
}

}  // namespace
