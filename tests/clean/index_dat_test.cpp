// The index.dat step and the cache folders it finds through the shell, the registry and
// the second copies.
#include "clean/index_dat.h"

#include <gtest/gtest.h>

#include "clean/cache_folders.h"
#include "clean/eraser_rows.h"

namespace {

template <CsidlFolder folder>
constexpr auto FillFolder = [](D& d, bool test) { return FillIndexDat(d, test, folder, true); };
constexpr auto Cookies = FillFolder<csidl::kCookies>;
constexpr auto Listed = [](D& d, bool test) { return FillListedIndexDat(d, test, true); };

// A URL-cache index of length bytes (the signature, then filler), and one filled.
std::string Index(const std::string& path, size_t length) {
    std::string index = "Client UrlCache MMF Ver 5.2";
    index.resize(length, 'x');
    return "file " + path + " = " + index;
}
std::string Zeros(const std::string& path, size_t length) {
    return "file " + path + " = " + std::string(length, '\0');
}
// An index that Clear fills in place.
Lines Filled(const std::string& path, size_t length) {
    return {"-" + Index(path, length), "+" + Zeros(path, length)};
}
// The logs of the locations filled, in Test and in Clear; Clear reports a location
// done only when it filled the whole file.
struct Fill {
    std::string location;
    size_t length;
    bool done = true;
};
std::array<Lines, 2> Fills(const std::vector<Fill>& fills) {
    std::array<Lines, 2> logs;
    for (const Fill& fill : fills) {
        std::string count =
            "Index.dat 已清空——共填充 " + std::to_string(fill.length) + " 字节! <OK>";
        logs[0].push_back("测试: 清空 Index.dat，位置" + fill.location + "...");
        logs[0].push_back("测试: " + count);
        logs[1].push_back("清空 Index.dat，位置 " + fill.location + "...");
        logs[1].insert(logs[1].end(), fill.done, count);
    }
    return {Join({logs[0], {"(index.dat found)"}}), Join({logs[1], {"(index.dat found)"}})};
}

// clang-format off
const std::string kDay = "$History\\History.IE5\\MSHist0";
const std::string kDocuments = "$Profile\\My Documents";
const std::string kCopy = "$Temp\\Internet 临时文件夹\\Content.IE5";
const std::string kWin98 = "C:\\WINDOWS\\Internet 临时文件夹";
const std::string kWin98Copy = "C:\\WINDOWS\\Local Settings\\Internet 临时文件夹";

// The files are filled in place in 20000-byte pieces; the copy in the temporary folder
// is found in any case.
const Row kFillRows[] = {
    {"CacheIndexInItsSubfolderAndTheCopy", FillFolder<csidl::kInternetCache>,
     Join({Filled("$Cache\\Content.IE5\\index.dat", 65543), Filled(kCopy + "\\index.dat", 20)}),
     nullptr, Fills({{"$Cache\\Content.IE5", 65543}, {kCopy, 20}})},
    {"Windows98KeepsItsCopyUnderLocalSettings", FillFolder<csidl::kInternetCache>,
     Join({Filled(kWin98 + "\\Content.IE5\\index.dat", 10), Filled(kWin98Copy + "\\index.dat", 30)}),
     [](M& m, D& d) {
         d.osVersion = osver::kWin98;
         m.shell.specialFolders[csidl::kInternetCache] = kWin98;
     },
     Fills({{kWin98 + "\\Content.IE5", 10}, {kWin98Copy, 30}})},
    {"FillThatStopsShortIsNotReportedAsDone", Cookies,
     {"-" + Index("$Cookies\\index.dat", 30000),
      "+" + Zeros("$Cookies\\index.dat", 25000) + std::string(5000, 'x')},
     [](M& m, D&) { m.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, 25000); },
     Fills({{"$Cookies", 30000, false}})},
    {"IndexPathBeyondTheBufferIsSkipped", FillFolder<csidl::kHistory>,  // + "\History.IE5\index.dat"
     {Index("C:\\" + std::string(245, 'h') + "\\History.IE5\\index.dat", 10)},
     [](M& m, D&) { m.shell.specialFolders[csidl::kHistory] = "C:\\" + std::string(245, 'h'); }},
};
INSTANTIATE_TEST_SUITE_P(FillIndexDat, EraserRows, ::testing::ValuesIn(kFillRows), Row::Name);

// The subfolders of the gathered folders that are cache containers: Clear fills their
// index and removes them.
const Row kListedRows[] = {
    {"ContainersOfTheRegistryGo", Listed,
     {Index("$History\\History.IE5\\index.dat", 10), "-" + Index(kDay + "1\\index.dat", 32768),
      "-file " + kDay + "1\\page.dat = p", "-folder " + kDay + "1", "value HKCU\\$Ext5\\M|CachePath = " + kDay + "1\\"},
     nullptr, Fills({{kDay + "1", 32768}})},
    // A CachePath naming an ordinary folder makes its parent a container parent.
    {"FolderWithoutAUrlCacheIndexIsLeftAlone", Listed,
     {"file " + kDocuments + "\\Project\\index.dat = <html>", "file " + kDocuments + "\\Project\\plan.doc = p",
      "-" + Index(kDocuments + "\\Old\\index.dat", 64), "-folder " + kDocuments + "\\Old"},
     [](M&, D& d) { d.indexDatPaths = {Expand(kDocuments)}; }, Fills({{kDocuments + "\\Old", 64}})},
    // 2 is filled already, 3 held by the browser (no sharing of deletion), 4 neither
    // fills nor goes.
    {"ContainersAreHandledAsFarAsTheyCanBe", Listed,
     {Zeros(kDay + "2\\index.dat", 40), "file " + kDay + "2\\page.dat = p", "-file " + kDay + "3\\page.dat = p",
      "-" + Index(kDay + "3\\index.dat", 50), "+" + Zeros(kDay + "3\\index.dat", 50),
      Index(kDay + "4\\index.dat", 50), "file " + kDay + "4\\page.dat = p"},
     [](M& m, D& d) {
         d.indexDatPaths = {Expand("$History\\History.IE5")};
         Hold(m, kDay + "3\\index.dat", fileaccess::kRead | fileaccess::kWrite,
              fileshare::kRead | fileshare::kWrite);
         m.files.faults.Fail("Files.Write", winerr::kDiskFull, "MSHist04");
         m.files.faults.Fail("Files.RemoveFile", winerr::kAccessDenied, "MSHist04");
     },
     Fills({{kDay + "3", 50}, {kDay + "4", 50, false}})},
};
INSTANTIATE_TEST_SUITE_P(FillListedIndexDat, EraserRows, testing::ValuesIn(kListedRows), Row::Name);
// clang-format on

class CacheFolders : public Machine {};

// The first key that opens is read; its containers' folders are cut to their parents or
// passed over; then the history folder and its second copy. Of the containers, a cannot
// be opened, b and c are too long, d has nothing above it, e is one character, f's one
// "%" is kept, g is at the root and h's variable is unset.
TEST_F(CacheFolders, ParentsOfTheContainersAndTheHistoryFolders) {
    auto gathered = [&](const Lines& seed) {
        Seed(mem, Expand(seed));
        GatherCacheFolders(dlg);
        return dlg.indexDatPaths;
    };
    dlg.indexDatPaths = {"stale"};
    EXPECT_EQ(std::set<std::string>{}, gathered({Index("$History\\History.IE5\\index.dat", 10)}));
    mem.environment.Set("USERPROFILE", kProfile);
    mem.environment.Set("LONG", std::string(100, 'l'));
    mem.registry.faults.Fail("Registry.OpenKey", winerr::kAccessDenied, "Cache\\a");
    const std::string v = "value HKCU\\$Ext5\\";
    EXPECT_EQ(
        (std::set<std::string>{Expand("$History\\History.IE5"), "D:\\Feeds",
                               Expand("$Temp\\历史\\History.IE5"), "C:\\first%HALF", "C:"}),
        gathered({v + "MSHist01|CachePath = "
                      "%USERPROFILE%\\Local Settings\\历史\\History.IE5\\MSHist01\\",
                  v + "Feeds|CachePath = D:\\Feeds\\Cache//", "folder $Temp\\历史\\History.IE5",
                  "value HKLM\\$Ext5\\Other|CachePath = E:\\Other\\Cache",
                  v + "a|CachePath = C:\\denied\\x", v + "b|CachePath = %LONG%\\x\\y",
                  v + "c|CachePath = C:\\" + std::string(300, 'c'), v + "d|CachePath = %%\\T",
                  v + "e|CachePath = X\\", v + "f|CachePath = C:\\first%HALF\\x",
                  v + "g|CachePath = C:\\Cache", v + "h|CachePath = %UNSET%\\x\\y"}));
}

}  // namespace
