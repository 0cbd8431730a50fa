// The typed URLs with the Run history, the search assistant's lists and the start page,
// against the in-memory registry.
#include <gtest/gtest.h>

#include "clean/eraser_rows.h"

namespace {

// clang-format off
const Lines kRunMru = {"-value HKCU\\$RunMru|a = notepad\\1", "-value HKCU\\$RunMru|MRUList = a"};
// Both keys named to the open browser windows; the keys left empty.
const Lines kNotified = {"+IEFrame <- $Typed", "+IEFrame <- $RunMru"};
const std::string kIeKey = "+key HKCU\\Software\\Microsoft\\Internet Explorer";
const std::string kExplorerKey = "+key HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kFull = "http://" + std::string(993, 'x');  // 1000 bytes

// The lines of the listed URLs; `unread` ends them with the line of a walk cut short.
std::array<Lines, 2> Urls(const Lines& urls, bool unread = false) {
    std::array<Lines, 2> out = {{{""}, {""}}};
    for (const std::string& url : urls) {  // as the log keeps them, 400 bytes at most
        out[0].push_back(("测试: 正在删除分类 URL " + url + " <OK>").substr(0, 400));
        out[1].push_back(("正在删除分类 URL " + url + " <OK>").substr(0, 400));
    }
    out[0].insert(out[0].end(), unread, "测试: 无法读取全部分类 URL，未列出的保留 <失败>");
    out[1].insert(out[1].end(), unread, "无法读取全部分类 URL，未列出的保留 <失败>");
    return out;
}

// The values whose names start with "URL" in any case are listed; Clear deletes them,
// then the key (other values with it) and the Run history.
const Row kTypedUrls[] = {
    {"UrlValuesThenTheKeyAndTheRunHistory", EraseTypedUrls,
     Join({{"-value HKCU\\$Typed|url1 = http://www.example.com/", "-value HKCU\\$Typed|Url7 = http://7/",
            "-value HKCU\\$Typed|URL = http://bare/", "-value HKCU\\$Typed|myurl1 = http://not/",
            "-value HKCU\\$Typed|UR = http://short/", "-value HKCU\\$Typed|url2 = http://新闻/今天",
            kIeKey, kExplorerKey}, kRunMru, kNotified}),
     nullptr, Urls({"http://www.example.com/", "http://7/", "http://bare/", "http://新闻/今天"})},
    // Longer than the buffers (the address 1001 bytes with its terminator, the name 1003):
    // named by the first bytes that fit, or whole, and deleted; one that fills the buffer
    // without a terminator is read no further. A value that cannot be read ends the
    // listing: the key stays, with the values never named.
    {"TooLongIsNamedUnreadableKeepsTheKey", EraseTypedUrls,
     {"-value HKCU\\$Typed|url1 = " + std::string(1000, 'a'), "-raw HKCU\\$Typed|url0 = 1:" + kFull,
      "-raw HKCU\\$Typed|url2 = 1:http://b/",
      "-value HKCU\\$Typed|url" + std::string(1000, '9') + " = http://long-name/",
      "value HKCU\\$Typed|url3 = http://3/", "value HKCU\\$Typed|url4 = http://4/", kNotified[0], kNotified[1]},
     [](M& m, D&) { m.registry.faults.Fail("Registry.EnumValue", winerr::kAccessDenied, "url3"); },
     Urls({std::string(999, 'a') + "...", kFull, "http://b/", "http://long-name/"}, true)},
};
INSTANTIATE_TEST_SUITE_P(TypedUrls, EraserRows, ::testing::ValuesIn(kTypedUrls), Row::Name);

const Texts kSearch[] = {
    {"**测试: 正在删除 Windows 搜索历史记录...", "测试: 正在删除 ", "", "**测试: Windows 搜索历史记录已被删除。 <OK>",
     "**测试: Windows 搜索历史记录为空。 <OK>"},
    {"**正在删除 Windows 搜索历史记录...", "正在删除", "", "**Windows 搜索历史记录已被删除。 <OK>",
     "**Windows 搜索历史记录为空。 <OK>"}};
const std::string kLong = std::string(260, 'u');  // fills the 260-byte buffer exactly

// Every value of every list under ACMru is an entry; the lists stay.
const Row kSearchHistory[] = {
    {"EveryEntryOfEveryList", EraseSearchHistory,
     {"-value HKCU\\$AcMru\\5603|000 = 税务 申报", "-value HKCU\\$AcMru\\5603|001 = report.doc",
      "-value HKCU\\$AcMru\\5647|000 = printer driver", "+key HKCU\\$AcMru\\5603", "+key HKCU\\$AcMru\\5647"},
     nullptr, Listings(kSearch, {"税务 申报", "report.doc", "printer driver"})},
    // Texts (261 bytes with the terminator) and names (259 bytes at most) longer than the
    // buffer are named by the first bytes that fit, or whole, and deleted.
    {"LongerThanTheBufferIsNamedAndDeleted", EraseSearchHistory,
     {"-value HKCU\\$AcMru\\5603|000 = " + std::string(260, 't'),
      "-value HKCU\\$AcMru\\5603|" + std::string(260, 'n') + " = long name", "-raw HKCU\\$AcMru\\5603|001 = 1:" + kLong,
      "-value HKCU\\$AcMru\\5603|002 = short", "+key HKCU\\$AcMru\\5603"},
     nullptr, Listings(kSearch, {std::string(259, 't') + "...", "long name", kLong, "short"})},
};
INSTANTIATE_TEST_SUITE_P(SearchHistory, EraserRows, ::testing::ValuesIn(kSearchHistory), Row::Name);

const std::string kPage = "value HKCU\\$Main|起始页 = http://home.example/";
const std::string kBlank = "+value HKCU\\$Main|起始页 = about:blank";  // terminated after 11 bytes
const std::string kFullPage = "http://" + std::string(993, 'p');  // 1000 bytes
const Lines kOldPage = {"**测试: 删除原来的起始页http://home.example/<OK>"};

// A page longer than the buffer fails the read as a missing one does.
const Row kStartPage[] = {
    {"OldPageIsNamedAndReplaced", ResetStartPage, {"-" + kPage, kBlank}, nullptr,
     {kOldPage, {"**删除原来的起始页http://home.example/ <OK>"}}},
    // Read no further than the buffer; the log keeps 400 bytes of the line.
    {"PageFillingTheBufferWithoutATerminator", ResetStartPage,
     {"-raw HKCU\\$Main|起始页 = 1:" + kFullPage, kBlank}, nullptr,
     {{{"**" + ("测试: 删除原来的起始页" + kFullPage).substr(0, 400)},
       {"**" + ("删除原来的起始页" + kFullPage).substr(0, 400)}}}},
};
INSTANTIATE_TEST_SUITE_P(StartPage, EraserRows, ::testing::ValuesIn(kStartPage), Row::Name);
// clang-format on

}  // namespace
