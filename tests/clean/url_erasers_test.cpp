// The URL-cache erasers, the history eraser and the progress sizing on the in-memory
// platform. The real cache and the history object through COM are the Wine tests' part.
#include <gtest/gtest.h>

#include "clean/eraser_rows.h"
#include "clean/progress_counts.h"

namespace {

// clang-format off
const std::string kA = "Cookie:user@a.test/", kB = "Cookie:user@b.test/";
const std::string kPage = "http://a.test/page.htm", kVisited = "Visited: user@http://a.test/";
const std::string kBig = "http://a.test/big", kBigger = "http://a.test/bigger";
const std::string kKept = "Cookie:u@Mail.Keep.test/";

const Texts kCookieTexts[] = {
    {"**测试: 正在删除 Cookies...", "", "", "**测试: Cookies 已删除 <OK>", "**测试: 没有要删除的 Cookies! <OK>"},
    {"**正在删除 Cookies...", "", "", "**已删除 <OK>", "**没有要删除的 Cookies! <OK>"}};
const Texts kFileTexts[] = {
    {"**测试: 正在删除 Internet 临时文件...", "", "", "**测试: Internet 临时文件已删除 <OK>",
     "**测试: 没有要删除的 Internet 临时文件! <OK>"},
    {"**正在删除 Internet 临时文件...", "", "", "**Internet 临时文件已删除 <OK>",
     "**没有要删除的 Internet 临时文件! <OK>"}};
const Texts kHistoryTexts[] = {
    {"**测试: 正在清除历史记录...", "", "", "**测试: 历史记录已清除 <OK>", "**测试: 没有要清除的历史记录 <OK>"},
    {"**正在清除历史记录...", "", "", "**历史记录已清除 <OK>", "**没有要清除的历史记录 <OK>"}};
const Lines kCacheTree = {"-folder $Cache", "-folder $Cache\\Content.IE5", "-file $Cache\\Content.IE5\\index.dat = i"};
const std::string kCopy = "$Temp\\Internet 临时文件夹";

// C's deletion waits for its release; D cannot be looked up. Entries whose records need
// more than the first 4096 bytes of the block come between small ones, after which the
// size variable has shrunk: the block grows again.
const Row kCacheRows[] = {
    {"CookieEntriesAndTheFilesOfBothFolders", EraseCookies,
     {"-cache " + kA, "cache " + kPage, "cache " + kVisited, "-cache " + kB, "cache Cookie:c@c/", "-cache Cookie:d@d/",
      "-file $Cookies\\a[1].txt = c", "file $Cookies\\index.dat = i", "-file $Temp\\Cookies\\b[1].txt = c"},
     [](M& m, D&) {
         ASSERT_TRUE(m.urlCache.Lock("Cookie:c@c/"));
         m.urlCache.faults.Fail("UrlCache.GetEntryInfo", winerr::kFileNotFound, "Cookie:d@d/");
     },
     {Listing(kCookieTexts[0], {kA, kB, "Cookie:c@c/"}), Listing(kCookieTexts[1], {kA, kB, "Cookie:d@d/"})}},
    {"CookiesFolderWithoutTheWordAsWritten", EraseCookies, {"file C:\\Profile\\cookies\\c = c"},
     [](M& m, D&) { m.shell.specialFolders[csidl::kCookies] = "C:\\Profile\\cookies"; }, Listings(kCookieTexts, {})},
    // The block would still hold the entry before: the walk must not visit it for ever.
    // Pending messages are dispatched after the entry (here a dispatch logs "(pump)").
    {"FailedNextEntryEndsTheWalk", EraseCookies, {"-cache " + kA, "cache " + kPage, "cache " + kB},
     [](M& m, D& d) {
         m.urlCache.faults.Fail("UrlCache.FindNextEntry", winerr::kAccessDenied, "", 100);
         m.system.onPump = [&d] { d.log.AddLogLine("(pump)", emphasis::kPlain); };
     },
     Listings(kCookieTexts, {kA, "(pump)"})},
    // A kept host's entry and its file, in both folders, stay; with nothing else, the
    // closing line is the one for nothing deleted.
    {"KeptHostsStayWithTheirFiles", EraseCookies,
     {"-cache " + kA, "cache " + kKept + " = $Cookies\\u@keep[1].txt", "cache " + kVisited,
      "file $Cookies\\u@keep[1].txt = k", "-file $Cookies\\a[1].txt = c", "file $Temp\\Cookies\\U@KEEP[1].TXT = k"},
     KeepTest, {Join({Listing(kCookieTexts[0], {kA, "保留: " + kKept}), {"(kept 1)"}}),
                Join({Listing(kCookieTexts[1], {kA, "保留: " + kKept}), {"(kept 1)"}})}},
    {"EveryCookieKept", EraseCookies, {"cache " + kKept}, KeepTest,
     {Lines{kCookieTexts[0].head, "", "保留: " + kKept, kCookieTexts[0].none, "(kept 1)"},
      Lines{kCookieTexts[1].head, "", "保留: " + kKept, kCookieTexts[1].none, "(kept 1)"}}},
    {"TemporaryFilesAndBothFolders", EraseTemporaryInternetFiles,
     Join({{"cache " + kA, "-cache " + kPage, "cache " + kBig + " = 5000", "cache " + kVisited,
            "cache " + kBigger + " = 9000", "-folder " + kCopy, "-folder " + kCopy + "\\Content.IE5",
            "-file " + kCopy + "\\Content.IE5\\index.dat = i"}, kCacheTree}), nullptr,
     Listings(kFileTexts, {kPage, kBig, kBigger}), {"cache " + kBig, "cache " + kBigger}},
    // Closing the window clears busy: the walk ends after its entry, the folder still goes.
    {"ClosingTheWindowEndsTheWalk", EraseTemporaryInternetFiles,
     Join({{"-cache " + kPage, "cache http://a.test/2.htm"}, kCacheTree}),
     [](M& m, D& d) { m.system.onPump = [&d] { d.busy = false; }; }, Listings(kFileTexts, {kPage})},
    // Read-only files and folders go; a junction goes without what it leads to; a name
    // is never expanded or run.
    {"WholeTreeOnTheNtFamily", EraseTemporaryInternetFiles,
     {"-folder $Cache", "-folder $Cache\\AB", "-readonly $Cache\\AB\\page[1].htm = p",
      "-folder $Cache\\EF", "-folder $Cache\\EF\\empty", "-folder $Cache\\%TEMP%\" & del \"x",
      "-file $Cache\\%TEMP%\" & del \"x\\f = f", "file $Profile\\My Documents\\thesis.doc = t"},
     [](M& m, D& d) {
         d.osVersion = osver::kWin2000;
         ASSERT_EQ(winerr::kSuccess, m.files.SetAttributes(Expand("$Cache\\EF"), fileattr::kReadOnly));
         m.files.AddJunction(Expand("$Cache\\link"), Expand("$Profile\\My Documents"));
     },
     Listings(kFileTexts, {}), {"folder $Cache\\link", "file $Cache\\link\\thesis.doc = t"}},
};
INSTANTIATE_TEST_SUITE_P(UrlCache, EraserRows, ::testing::ValuesIn(kCacheRows), Row::Name);

const Lines kHistory = {"-history http://a.test/", "-history about:blank", "-history ABOUT:Blank",
                        "-history ", "-history http://新闻.test/"};
const Lines kListed = {"http://a.test/", "http://新闻.test/"};
const Lines kHistoryIndex = {"file $History\\History.IE5\\index.dat = Client UrlCache MMF Ver 5.2",
    "file $History\\History.IE5\\MSHist01\\index.dat = Client UrlCache MMF Ver 5.2",
    "value HKCU\\$Ext5\\MSHist01|CachePath = $History\\History.IE5\\MSHist01\\"};
// Blank pages are not listed. The history's index files go with it, silently, unless
// the index.dat step will do it.
const Row kHistoryRows[] = {
    {"IndexFilesGoWithTheHistoryWhenTheIndexStepIsOff", EraseHistory,
     Join({kHistory, {"-" + kHistoryIndex[0], "-" + kHistoryIndex[1], "-" + kHistoryIndex[2],
                      "+key HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache",
                      "-folder $History\\History.IE5\\MSHist01",
                      "+file $History\\History.IE5\\index.dat = " + std::string(27, '\0')}}),
     [](M& m, D& d) {  // clearing takes the containers' records: gathered before it
         d.settings.clearIndexDat = 0;
         m.urlHistory.onClearHistory = [&m] { (void)m.registry.DeleteTree(regroot::kCurrentUser, Expand("$Ext5")); };
     },
     {Listing(kHistoryTexts[0], kListed), Join({Listing(kHistoryTexts[1], kListed), {"(index.dat found)"}})}},
};
INSTANTIATE_TEST_SUITE_P(History, EraserRows, ::testing::ValuesIn(kHistoryRows), Row::Name);
// clang-format on

using UrlErasers = Machine;
std::vector<int> Bar(D& dlg) {  // the bar's range and position
    int lower = -1, upper = -1;
    dlg.progress.GetRange(&lower, &upper);
    return {lower, upper, dlg.progress.GetPos()};
}

// 7500 entries: while they are counted the bar steps each time the count passes a
// threshold that starts at 1000 and grows by 1.4 (from 5 to 11). The count is one less
// than the entries, so 0 for one entry as for none.
TEST_F(UrlErasers, PrepareProgressCountsTheCacheAndKeepsTheBarsRelativePlace) {
    dlg.settings.clearHistory = 0;
    EXPECT_EQ(0, CountCacheEntries(dlg));
    Seed(mem, {"cache http://a.test/0"});
    EXPECT_EQ(0, CountCacheEntries(dlg));
    Seed(mem, Numbered("cache http://a.test/#", 1, 7499));
    std::vector<int> stepsAt;  // the pumps after which the bar has moved on
    int pumps = 0;
    mem.system.onPump = [&] {
        stepsAt.insert(stepsAt.end(), dlg.progress.GetPos() != 5 + int(stepsAt.size()), ++pumps);
    };
    PrepareProgress(dlg);
    EXPECT_EQ((std::vector<int>{1001, 1401, 1960, 2743, 3839, 5374}), stepsAt);
    dlg.StepProgress();
    EXPECT_EQ((std::vector<int>{0, 7499 + 11, 7510 * 11 / 100 + 1}), Bar(dlg));
}

}  // namespace
