// The URL-cache erasers, the history eraser's fault paths and the progress sizing on the
// in-memory platform: what each eraser takes and leaves, the folders Clear empties, the
// walks' ends, and the bar's sizing above 16 bits. The real cache and the history object
// through COM are the Wine tests' part.
#include <gtest/gtest.h>

#include "clean/erasers.h"
#include "clean/progress_counts.h"
#include "clean/xp_profile.h"

namespace {

constexpr char kCookieA[] = "Cookie:user@a.test/";
constexpr char kCookieB[] = "Cookie:user@b.test/";
constexpr char kPage[] = "http://a.test/page.htm";
constexpr char kVisited[] = "Visited: user@http://a.test/";

class UrlErasers : public XpProfile {
protected:
    UrlErasers() { dlg.busy = true; }  // as during a run

    void Commit(const std::string& url, size_t headerBytes = 0) {
        MemoryUrlCache::Entry entry;
        entry.url = url;
        entry.headerInfo = std::string(headerBytes, 'h');
        ASSERT_EQ(winerr::kSuccess, mem.urlCache.Commit(entry));
    }
    // What the cache holds, in walk order.
    Lines CacheUrls() {
        Lines urls;
        for (const char* url : {kCookieA, kCookieB, kPage, kVisited}) {
            if (mem.urlCache.Contains(url)) {
                urls.push_back(url);
            }
        }
        return urls;
    }
    // Test, checked to have changed nothing, then Clear: their lines, Clear's first.
    template <typename Step>
    std::pair<Lines, Lines> BothModes(Step step) {
        auto files = Snapshot();
        size_t entries = mem.urlCache.EntryCount();
        Lines test = LogOf([&] { step(true); });
        EXPECT_EQ(files, Snapshot()) << "a test changed files";
        EXPECT_EQ(entries, mem.urlCache.EntryCount()) << "a test deleted entries";
        Lines clear = LogOf([&] { step(false); });
        EXPECT_EQ(0u, mem.urlCache.OpenFindCount());
        return {clear, test};
    }
};

TEST_F(UrlErasers, CookiesTakeTheCookieEntriesAndClearEmptiesTheCookieFolders) {
    for (const char* url : {kCookieA, kPage, kVisited, kCookieB}) {
        Commit(url);
    }
    mem.files.AddFile(In(kCookies, "user@a.test[1].txt"), "c");
    mem.files.AddFile(In(kCookies, "index.dat"), "i");
    mem.files.AddFile(In(kTemp, "Cookies\\user@b.test[1].txt"), "c");  // the second copy
    auto [clear, test] = BothModes([this](bool t) { EraseCookies(dlg, t); });
    EXPECT_EQ((Lines{"**测试: 正在删除 Cookies...", "", kCookieA, kCookieB, "",
                     "**测试: Cookies 已删除 <OK>"}),
              test);
    EXPECT_EQ((Lines{"**正在删除 Cookies...", "", kCookieA, kCookieB, "", "**已删除 <OK>"}), clear);
    EXPECT_EQ((Lines{kPage, kVisited}), CacheUrls());
    EXPECT_FALSE(mem.files.Exists(In(kCookies, "user@a.test[1].txt")));
    EXPECT_FALSE(mem.files.Exists(In(kTemp, "Cookies\\user@b.test[1].txt")));
    EXPECT_TRUE(mem.files.Exists(In(kCookies, "index.dat")));
}

// A page whose record needs more than the first 4096 bytes of the block comes between
// small ones; the size variable shrinks after every small one, so the block grows again.
TEST_F(UrlErasers, TemporaryFilesLeaveCookiesAndVisitedPagesAndClearRemovesTheCacheFolder) {
    const std::string big = "http://a.test/big.htm";
    const std::string bigger = "http://a.test/bigger.htm";
    Commit(kCookieA);
    Commit(kPage);
    Commit(big, 5000);
    Commit(kVisited);
    Commit(bigger, 9000);
    const std::string copy = In(kTemp, "Internet 临时文件夹\\Content.IE5");
    mem.files.AddFile(In(kCache, "Content.IE5\\AB12CD34\\page[1].htm"), "p");
    mem.files.AddFile(In(copy, "index.dat"), "i");
    auto [clear, test] = BothModes([this](bool t) { EraseTemporaryInternetFiles(dlg, t); });
    EXPECT_EQ((Lines{"**测试: 正在删除 Internet 临时文件...", "", kPage, big, bigger, "",
                     "**测试: Internet 临时文件已删除 <OK>"}),
              test);
    EXPECT_EQ((Lines{"**正在删除 Internet 临时文件...", "", kPage, big, bigger, "",
                     "**Internet 临时文件已删除 <OK>"}),
              clear);
    EXPECT_EQ((Lines{kCookieA, kVisited}), CacheUrls());
    EXPECT_EQ(2u, mem.urlCache.EntryCount());
    EXPECT_FALSE(mem.files.Exists(kCache));
    EXPECT_FALSE(mem.files.Exists(copy));
}

TEST_F(UrlErasers, EmptyCacheSaysSoAndClearStillEmptiesTheFolders) {
    mem.files.AddFile(In(kCookies, "user@a.test[1].txt"), "c");
    auto cookies = BothModes([this](bool t) { EraseCookies(dlg, t); });
    EXPECT_EQ((Lines{"**测试: 正在删除 Cookies...", "", "**测试: 没有要删除的 Cookies! <OK>"}),
              cookies.second);
    EXPECT_EQ((Lines{"**正在删除 Cookies...", "", "**没有要删除的 Cookies! <OK>"}), cookies.first);
    EXPECT_FALSE(mem.files.Exists(In(kCookies, "user@a.test[1].txt")));

    mem.files.AddFile(In(kCache, "Content.IE5\\index.dat"), "i");
    auto files = BothModes([this](bool t) { EraseTemporaryInternetFiles(dlg, t); });
    EXPECT_EQ((Lines{"**测试: 正在删除 Internet 临时文件...", "",
                     "**测试: 没有要删除的 Internet 临时文件! <OK>"}),
              files.second);
    EXPECT_EQ(
        (Lines{"**正在删除 Internet 临时文件...", "", "**没有要删除的 Internet 临时文件! <OK>"}),
        files.first);
    EXPECT_FALSE(mem.files.Exists(kCache));
}

// A folder whose path lacks the folder word (case as written) is not the cache folder.
TEST_F(UrlErasers, FoldersWithoutTheirWordAreLeftAlone) {
    mem.shell.specialFolders[csidl::kCookies] = "C:\\Profile\\cookies";
    mem.shell.specialFolders[csidl::kInternetCache] = "C:\\Profile\\Cache";
    mem.files.AddFile("C:\\Profile\\cookies\\c.txt", "c");
    mem.files.AddFile("C:\\Profile\\Cache\\p.htm", "p");
    EraseCookies(dlg, false);
    EraseTemporaryInternetFiles(dlg, false);
    EXPECT_TRUE(mem.files.Exists("C:\\Profile\\cookies\\c.txt"));
    EXPECT_TRUE(mem.files.Exists("C:\\Profile\\Cache\\p.htm"));
}

TEST_F(UrlErasers, EntriesThatCannotBeTakenGetNoLine) {
    Commit(kCookieA);
    Commit(kCookieB);
    ASSERT_TRUE(mem.urlCache.Lock(kCookieA));  // in use: its deletion waits for the release
    mem.urlCache.faults.Fail("UrlCache.GetEntryInfo", winerr::kFileNotFound, kCookieB);
    EXPECT_EQ(
        (Lines{"**测试: 正在删除 Cookies...", "", kCookieA, "", "**测试: Cookies 已删除 <OK>"}),
        LogOf([&] { EraseCookies(dlg, true); }));
    EXPECT_EQ((Lines{"**正在删除 Cookies...", "", kCookieB, "", "**已删除 <OK>"}),
              LogOf([&] { EraseCookies(dlg, false); }));
}

// A next-entry call that fails leaves the block on the entry before; the walk must end
// there instead of visiting that entry for ever.
TEST_F(UrlErasers, FailedNextEntryCallEndsTheWalk) {
    Commit(kCookieA);
    Commit(kPage);
    Commit(kCookieB);
    mem.urlCache.faults.Fail("UrlCache.FindNextEntry", winerr::kAccessDenied, "", 100);
    EXPECT_EQ(
        (Lines{"**测试: 正在删除 Cookies...", "", kCookieA, "", "**测试: Cookies 已删除 <OK>"}),
        LogOf([&] { EraseCookies(dlg, true); }));
    EXPECT_EQ(0, CountCacheEntries(dlg));
    EXPECT_EQ(0u, mem.urlCache.OpenFindCount());
}

// Closing the window clears busy: the walk ends after the entry it is on, and the folder
// step and the closing line still come.
TEST_F(UrlErasers, ClosingTheWindowEndsTheTemporaryFilesWalk) {
    Commit(kPage);
    Commit("http://a.test/2.htm");
    mem.files.AddFile(In(kCache, "Content.IE5\\index.dat"), "i");
    mem.system.onPump = [this] { dlg.busy = false; };
    EXPECT_EQ(
        (Lines{"**正在删除 Internet 临时文件...", "", kPage, "", "**Internet 临时文件已删除 <OK>"}),
        LogOf([&] { EraseTemporaryInternetFiles(dlg, false); }));
    EXPECT_TRUE(mem.urlCache.Contains("http://a.test/2.htm"));
    EXPECT_FALSE(mem.files.Exists(kCache));
}

TEST_F(UrlErasers, CountingStepsTheBarEachTimeTheCountPassesAGrowingThreshold) {
    std::vector<int> stepsAt;
    CountingPace pace;
    for (int count = 1; count <= 7500; ++count) {
        int before = dlg.progress.GetPos();
        pace.Count(dlg);
        if (dlg.progress.GetPos() != before) {
            stepsAt.push_back(count);
        }
    }
    EXPECT_EQ((std::vector<int>{1001, 1401, 1960, 2743, 3839, 5374}), stepsAt);
}

// 5000 entries: the bar steps at 1001, 1401, 1960, 2743 and 3839 (from 5 to 10), and the
// count is one less than the entries, so 0 for one entry as for none.
TEST_F(UrlErasers, PrepareProgressCountsTheCacheAndKeepsTheBarsRelativePlace) {
    dlg.settings.clearHistory = 0;
    EXPECT_EQ(0, CountCacheEntries(dlg));
    Commit(kPage);
    EXPECT_EQ(0, CountCacheEntries(dlg));
    for (int i = 1; i < 5000; ++i) {
        Commit("http://a.test/" + std::to_string(i));
    }
    PrepareProgress(dlg);
    int lower = -1;
    int upper = -1;
    dlg.progress.GetRange(&lower, &upper);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(4999 + 10, upper);
    EXPECT_EQ(5009 * 10 / 100, dlg.progress.GetPos());
    dlg.StepProgress();
    EXPECT_EQ(501, dlg.progress.GetPos());
}

// 70000 history records: 13 steps while counting (5 to 18), 70018 units, which the
// smallest stride that fits 16 bits, 3, brings to 23340.
TEST_F(UrlErasers, PrepareProgressScalesTotalsBeyondSixteenBits) {
    dlg.settings.clearTempInternetFiles = 0;
    mem.urlHistory.entries.assign(70000, HistoryUrl{"http://a.test/", ""});
    PrepareProgress(dlg);
    int lower = -1;
    int upper = -1;
    dlg.progress.GetRange(&lower, &upper);
    EXPECT_EQ(23340, upper);
    EXPECT_EQ(23340 * 18 / 100, dlg.progress.GetPos());
    for (int i = 0; i < 300; ++i) {
        dlg.StepProgress();
    }
    EXPECT_EQ(23340 * 18 / 100 + 100, dlg.progress.GetPos());

    mem.urlHistory.entries.resize(10);  // the next run starts afresh
    PrepareProgress(dlg);
    dlg.progress.GetRange(&lower, &upper);
    EXPECT_EQ(15, upper);
    dlg.StepProgress();
    EXPECT_EQ(15 * 5 / 100 + 1, dlg.progress.GetPos());
}

class HistoryEraser : public UrlErasers {
protected:
    HistoryEraser() {
        mem.urlHistory.entries = {{"http://a.test/", ""}};
        mem.files.AddFile(In(kHistoryIe5, "index.dat"), kIndex);
        mem.files.AddFile(In(kDay, "index.dat"), kIndex);
        RegKey container(mem.registry);
        std::string path = std::string(kDay) + "\\";
        EXPECT_EQ(winerr::kSuccess,
                  container.Create(regroot::kCurrentUser, kContainerKey, regaccess::kAllAccess));
        EXPECT_EQ(winerr::kSuccess,
                  mem.registry.SetValue(container.Get(), "CachePath", regtype::kSz, path.c_str(),
                                        static_cast<std::uint32_t>(path.size() + 1)));
    }
    static constexpr char kIndex[] = "Client UrlCache MMF Ver 5.2";
    static constexpr char kHistoryIe5[] =
        "C:\\Documents and Settings\\user\\Local Settings\\历史\\History.IE5";
    static constexpr char kDay[] =
        "C:\\Documents and Settings\\user\\Local Settings\\历史\\History.IE5\\MSHist01";
    static constexpr char kContainerKey[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\"
        "Extensible Cache\\MSHist01";
};

// Wine's stand-in object serves both interfaces alike; only here can the second fail alone.
TEST_F(HistoryEraser, ListedHistoryThatCannotBeClearedIsReportedAsAFailure) {
    mem.urlHistory.FailWith("UrlHistory.Create", hresult::kNoInterface, "IUrlHistoryStg2");
    EXPECT_EQ((Lines{"**正在清除历史记录...", "", "http://a.test/", "", "**历史记录已清除 <失败>"}),
              LogOf([&] { EraseHistory(dlg, false); }));
    mem.urlHistory.faults.Clear();
    mem.urlHistory.FailWith("UrlHistory.ClearHistory", hresult::kFail);
    EXPECT_EQ((Lines{"**正在清除历史记录...", "", "http://a.test/", "", "**历史记录已清除 <失败>"}),
              LogOf([&] { EraseHistory(dlg, false); }));
    EXPECT_EQ(0, mem.urlHistory.clearHistoryCount);
    EXPECT_EQ(0, mem.urlHistory.LiveObjects());
}

// The history's index files go with the history even when the index.dat category is off,
// without lines of their own; when it is on, the index.dat step does it later.
TEST_F(HistoryEraser, IndexFilesAreFilledSilentlyUnlessTheIndexStepWillDoIt) {
    dlg.settings.clearIndexDat = 1;
    EraseHistory(dlg, false);
    EXPECT_EQ(kIndex, mem.files.Content(In(kHistoryIe5, "index.dat")));
    EXPECT_TRUE(mem.files.Exists(kDay));
    EXPECT_EQ(std::set<std::string>{kHistoryIe5}, dlg.indexDatPaths);
    dlg.settings.clearIndexDat = 0;
    mem.urlHistory.entries = {{"http://a.test/", ""}};
    EXPECT_EQ((Lines{"**正在清除历史记录...", "", "http://a.test/", "", "**历史记录已清除 <OK>"}),
              LogOf([&] { EraseHistory(dlg, false); }));
    EXPECT_EQ(std::string(sizeof kIndex - 1, '\0'),
              mem.files.Content(In(kHistoryIe5, "index.dat")));
    EXPECT_FALSE(mem.files.Exists(kDay));
    EXPECT_EQ(2, mem.urlHistory.clearHistoryCount);
}

}  // namespace
