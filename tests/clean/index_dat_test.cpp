// The index.dat step and the cache folders it finds through the shell, the registry and
// the second copies.
#include "clean/index_dat.h"

#include <gtest/gtest.h>

#include "clean/cache_folders.h"
#include "clean/eraser_rows.h"

namespace {

using M = MemoryPlatform;
using D = EraserDlg;

// clang-format off
void Cookies(D& d, bool test) { FillIndexDat(d, test, csidl::kCookies, true); }
void Cache(D& d, bool test) { FillIndexDat(d, test, csidl::kInternetCache, true); }
void History(D& d, bool test) { FillIndexDat(d, test, csidl::kHistory, true); }
void Listed(D& d, bool test) { FillListedIndexDat(d, test, true); }
// clang-format on

// A URL-cache index of length bytes (the signature, then filler), and one filled.
std::string Index(const std::string& path, size_t length) {
    std::string index = "Client UrlCache MMF Ver 5.2";
    index.resize(length, 'x');
    return "file " + path + " = " + index;
}
std::string Zeros(const std::string& path, size_t length) {
    return "file " + path + " = " + std::string(length, '\0');
}
// The lines of a location, with its count when it is done.
Lines Filled(bool test, const std::string& location, size_t length, bool done = true) {
    std::string count = "Index.dat 已清空——共填充 " + std::to_string(length) + " 字节! <OK>";
    Lines lines = {(test ? "测试: 清空 Index.dat，位置" : "清空 Index.dat，位置 ") + location +
                   "..."};
    if (done) {
        lines.push_back(test ? "测试: " + count : count);
    }
    return lines;
}
const Lines kFound = {"(index.dat found)"};
const std::string kDay = "$History\\History.IE5\\MSHist0";
const std::string kDocuments = "$Profile\\My Documents";
const std::string kCopy = "$Temp\\Internet 临时文件夹\\Content.IE5";
const std::string kWin98 = "C:\\WINDOWS\\Internet 临时文件夹";
const std::string kWin98Copy = "C:\\WINDOWS\\Local Settings\\Internet 临时文件夹";

// clang-format off
const Row kFillRows[] = {
    // In 20000-byte pieces; the copy in the temporary folder is found in any case.
    {"CookiesAndTheirCopyAreFilledInPlace", Cookies,
     {Index("$Cookies\\index.dat", 65543), Index("$Temp\\cookies\\index.dat", 100)}, nullptr,
     Join({Filled(true, "$Cookies", 65543), Filled(true, "$Temp\\Cookies", 100), kFound}),
     Join({Filled(false, "$Cookies", 65543), Filled(false, "$Temp\\Cookies", 100), kFound}),
     {"the seed"}, {Zeros("$Cookies\\index.dat", 65543), Zeros("$Temp\\cookies\\index.dat", 100)}},
    {"FilledIndexIsPassedOver", Cookies, {Zeros("$Cookies\\index.dat", 10)}, nullptr, {}, {}},
    {"CacheIndexInItsSubfolderAndTheCopy", Cache,
     {Index("$Cache\\Content.IE5\\index.dat", 100), Index(kCopy + "\\index.dat", 20)}, nullptr,
     Join({Filled(true, "$Cache\\Content.IE5", 100), Filled(true, kCopy, 20), kFound}),
     Join({Filled(false, "$Cache\\Content.IE5", 100), Filled(false, kCopy, 20), kFound}),
     {"the seed"},
     {Zeros("$Cache\\Content.IE5\\index.dat", 100), Zeros(kCopy + "\\index.dat", 20)}},
    {"CopyThatIsTheFolderItselfIsNotFilledTwice", Cookies, {Index("$Temp\\Cookies\\index.dat", 10)},
     [](M& m, D&) {
         m.shell.specialFolders[csidl::kCookies] = EraserRows::Expand("$Temp\\Cookies");
     },
     Join({Filled(true, "$Temp\\Cookies", 10), kFound}),
     Join({Filled(false, "$Temp\\Cookies", 10), kFound}), {"the seed"},
     {Zeros("$Temp\\Cookies\\index.dat", 10)}},
    {"Windows98KeepsItsCopyUnderLocalSettings", Cache,
     {Index(kWin98 + "\\Content.IE5\\index.dat", 10), Index(kWin98Copy + "\\index.dat", 30)},
     [](M& m, D& d) {
         d.osVersion = osver::kWin98;
         m.shell.specialFolders[csidl::kInternetCache] = kWin98;
     },
     Join({Filled(true, kWin98 + "\\Content.IE5", 10), Filled(true, kWin98Copy, 30), kFound}),
     Join({Filled(false, kWin98 + "\\Content.IE5", 10), Filled(false, kWin98Copy, 30), kFound}),
     {"the seed"},
     {Zeros(kWin98 + "\\Content.IE5\\index.dat", 10), Zeros(kWin98Copy + "\\index.dat", 30)}},
    {"FillThatStopsShortIsNotReportedAsDone", Cookies, {Index("$Cookies\\index.dat", 30000)},
     [](M& m, D&) { m.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, 25000); },
     Join({Filled(true, "$Cookies", 30000), kFound}),
     Join({Filled(false, "$Cookies", 30000, false), kFound}), {"the seed"},
     {Zeros("$Cookies\\index.dat", 25000) + std::string(5000, 'x')}},
    {"IndexHeldWithoutSharingCountsAsDone", Cookies, {Index("$Cookies\\index.dat", 64)},
     [](M& m, D&) {
         FileHandle held;
         ASSERT_EQ(winerr::kSuccess,
                   m.files.Open(EraserRows::Expand("$Cookies\\index.dat"), fileaccess::kRead,
                                fileshare::kNone, filecreate::kOpenExisting, 0, &held));
     },
     {}, {}},
    {"IndexPathBeyondTheBufferIsSkipped", History,  // + "\History.IE5\index.dat"
     {Index("C:\\" + std::string(245, 'h') + "\\History.IE5\\index.dat", 10)},
     [](M& m, D&) { m.shell.specialFolders[csidl::kHistory] = "C:\\" + std::string(245, 'h'); },
     {}, {}},
};
INSTANTIATE_TEST_SUITE_P(FillIndexDat, EraserRows, ::testing::ValuesIn(kFillRows), RowName);

// The subfolders of the gathered folders that are cache containers: Clear fills their
// index and removes them.
const Row kListedRows[] = {
    {"ContainersOfTheRegistryGo", Listed,
     {Index("$History\\History.IE5\\index.dat", 10), Index(kDay + "1\\index.dat", 32768),
      "file " + kDay + "1\\page.dat = p", "value HKCU\\$Ext5\\M|CachePath = " + kDay + "1\\"},
     nullptr, Join({Filled(true, kDay + "1", 32768), kFound}),
     Join({Filled(false, kDay + "1", 32768), kFound}),
     {"folder " + kDay + "1", Index(kDay + "1\\index.dat", 32768),
      "file " + kDay + "1\\page.dat = p"}},
    // A CachePath naming an ordinary folder makes its parent a container parent.
    {"FolderWithoutAUrlCacheIndexIsLeftAlone", Listed,
     {"file " + kDocuments + "\\Project\\index.dat = <html>",
      "file " + kDocuments + "\\Project\\plan.doc = p", Index(kDocuments + "\\Old\\index.dat", 64)},
     [](M&, D& d) { d.indexDatPaths = {EraserRows::Expand(kDocuments)}; },
     Join({Filled(true, kDocuments + "\\Old", 64), kFound}),
     Join({Filled(false, kDocuments + "\\Old", 64), kFound}),
     {"folder " + kDocuments + "\\Old", Index(kDocuments + "\\Old\\index.dat", 64)}},
    // 2 is filled already, 3 held by the browser (no sharing of deletion), 4 neither
    // fills nor goes.
    {"ContainersAreHandledAsFarAsTheyCanBe", Listed,
     {Zeros(kDay + "2\\index.dat", 40), "file " + kDay + "2\\page.dat = p",
      Index(kDay + "3\\index.dat", 50), "file " + kDay + "3\\page.dat = p",
      Index(kDay + "4\\index.dat", 50), "file " + kDay + "4\\page.dat = p"},
     [](M& m, D& d) {
         d.indexDatPaths = {EraserRows::Expand("$History\\History.IE5")};
         FileHandle held;
         ASSERT_EQ(winerr::kSuccess, m.files.Open(EraserRows::Expand(kDay + "3\\index.dat"),
                                                  fileaccess::kRead | fileaccess::kWrite,
                                                  fileshare::kRead | fileshare::kWrite,
                                                  filecreate::kOpenExisting, 0, &held));
         m.files.faults.Fail("Files.Write", winerr::kDiskFull, "MSHist04");
         m.files.faults.Fail("Files.RemoveFile", winerr::kAccessDenied, "MSHist04");
     },
     Join({Filled(true, kDay + "3", 50), Filled(true, kDay + "4", 50), kFound}),
     Join({Filled(false, kDay + "3", 50), Filled(false, kDay + "4", 50, false), kFound}),
     {Index(kDay + "3\\index.dat", 50), "file " + kDay + "3\\page.dat = p"},
     {Zeros(kDay + "3\\index.dat", 50)}},
    {"GatheredOnlyWhenNothingIsListed", Listed,
     {Index(kDay + "5\\index.dat", 64), "value HKCU\\$Ext5\\MSHist05|CachePath = " + kDay + "5"},
     [](M&, D& d) { d.indexDatPaths = {"C:\\elsewhere"}; }, {}, {}},
};
INSTANTIATE_TEST_SUITE_P(FillListedIndexDat, EraserRows, ::testing::ValuesIn(kListedRows), RowName);
// clang-format on

class CacheFolders : public Machine {
protected:
    static std::string Expand(const std::string& text) { return EraserRows::Expand(text); }
    std::set<std::string> Gathered(const Lines& seed) {
        Seed(mem, EraserRows::Expand(seed));
        GatherCacheFolders(dlg);
        return dlg.indexDatPaths;
    }
};

TEST_F(CacheFolders, NothingWithoutAContainerKey) {
    dlg.indexDatPaths = {"stale"};
    EXPECT_EQ(std::set<std::string>{}, Gathered({Index("$History\\History.IE5\\index.dat", 10)}));
    // The log's dashes and comma are GBK's A1AA and A3AC.
    EXPECT_EQ("\xA1\xAA\xA1\xAA\xA3\xAC", std::string("——，"));
}

// The first key that opens is read; then the history folder and its second copy.
TEST_F(CacheFolders, ParentsOfTheContainersAndTheHistoryFolders) {
    mem.environment.Set("USERPROFILE", kProfile);
    EXPECT_EQ((std::set<std::string>{Expand("$History\\History.IE5"), "D:\\Feeds",
                                     Expand("$Temp\\历史\\History.IE5")}),
              Gathered({"value HKCU\\$Ext5\\MSHist01|CachePath = "
                        "%USERPROFILE%\\Local Settings\\历史\\History.IE5\\MSHist01\\",
                        "value HKCU\\$Ext5\\Feeds|CachePath = D:\\Feeds\\Cache//",
                        "value HKLM\\$Ext5\\Other|CachePath = E:\\Other\\Cache",
                        Index("$History\\History.IE5\\index.dat", 10),
                        "folder $Temp\\历史\\History.IE5"}));
}

TEST_F(CacheFolders, ContainerPathsAreCutToTheirParentOrPassedOver) {
    mem.environment.Set("LONG", std::string(100, 'l'));
    mem.registry.faults.Fail("Registry.OpenKey", winerr::kAccessDenied, "Cache\\a");
    EXPECT_EQ((std::set<std::string>{"C:\\first%HALF", "C:", "\\x"}),
              Gathered({"value HKLM\\$Ext4\\a|CachePath = C:\\denied\\x",  // cannot be opened
                        "value HKLM\\$Ext4\\b|CachePath = %LONG%\\x\\y",   // too long a value
                        "value HKLM\\$Ext4\\c|CachePath = C:\\" + std::string(300, 'c'),
                        "value HKLM\\$Ext4\\d|CachePath = %%\\T",              // nothing above it
                        "value HKLM\\$Ext4\\e|CachePath = X\\",                // one character
                        "value HKLM\\$Ext4\\f|CachePath = C:\\first%HALF\\x",  // one "%": kept
                        "value HKLM\\$Ext4\\g|CachePath = C:\\Cache",          // at the root
                        "value HKLM\\$Ext4\\h|CachePath = %UNSET%\\x\\y"}));   // unset: nothing
}

}  // namespace
