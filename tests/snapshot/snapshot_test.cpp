// Save state and Restore on a seeded XP profile: the streams' bytes and the log, the
// save-time cut-off. (Files held open, damaged and tampered snapshots are the round-trip
// test's, the fault sweep's and the fuzzers'.)
#include <gmock/gmock.h>

#include "clean/eraser_rows.h"
#include "snapshot/blocks.h"
#include "snapshot/snapshot_commands.h"
#include "snapshot/snapshot_file.h"
#include "snapshot/snapshot_sources.h"

namespace {

const std::string kSep(32, '.');
const std::string kSnapshot = "C:\\Program Files\\Corvane\\state.spp";

class Snapshot : public Machine {
protected:
    Snapshot() {
        // clang-format off
        Seed(mem, Expand({"file $History\\History.IE5\\index.dat = HIST",
            "file $Cache\\Content.IE5\\index.dat = CACHE", "file $Cookies\\user@a[1].txt = c1",
            "file $Recent\\doc.lnk = L", "file $Recent\\desktop.ini = D", "value HKCU\\$Typed|url1 = http://t1/",
            "value HKCU\\$Typed|other = x", "value HKCU\\$Main|起始页 = http://s/",
            "value HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs|MRUList = a",
            "value HKCU\\$Ext5\\MSHist01|CachePath = $History\\History.IE5\\MSHist01\\",
            "raw HKCU\\$Ext5\\MSHist01|CacheLimit = 4:\x07\\0\\0\\0",
            "raw HKCU\\$Ext5\\MSHist01|CacheOptions = 4:\x0B\\0\\0\\0",
            "value HKCU\\$Ext5\\MSHist01|CachePrefix = :2006",
            "raw HKCU\\$Ext5\\MSHist01|CacheRepair = 4:\x01\\0\\0\\0",
            "file $History\\History.IE5\\MSHist01\\index.dat = CONT", "cache Cookie:user@a/", "cache http://page/",
            "history http://h1/", "history about:blank"}));
        // clang-format on
        dlg.settings.closeBrowserPolicy = 1;
    }
    std::string Stream(const char* name) { return mem.storage.Stream(kSnapshot, name); }
};

const std::string kNoContent = "\xFF\xFF\xFF\xFF";
const std::string kEnd = Text("");

TEST_F(Snapshot, SaveWritesEveryStreamInItsLayout) {
    EXPECT_TRUE(dlg.SaveState());
    EXPECT_EQ(std::string("\x4D\x3C\x2B\x5A\x00\xF0\xC8\x01", 8), Stream("SaveDate"));
    EXPECT_EQ(Text(In(kHistory, "History.IE5\\index.dat")) + Content("HIST") + kEnd +
                  Text("MSHist01") + std::string("\7\0\0\0\13\0\0\0", 8) +
                  Text(In(kHistory, "History.IE5\\MSHist01\\")) + Content("CONT") + Text(":2006") +
                  std::string("\1\0\0\0", 4) + kEnd,
              Stream("History"));
    EXPECT_EQ(std::string("http://t1/\0", 11), Stream("TypedURLs"));
    EXPECT_EQ(Text(In(kCache, "Content.IE5\\index.dat"), true) + Content("CACHE") + kEnd,
              Stream("TemporaryInternetFiles"));
    EXPECT_EQ(Text(In(kCookies, "user@a[1].txt"), true) + Content("c1") + kEnd, Stream("Cookies"));
    EXPECT_EQ("http://s/", Stream("StartPage"));
    EXPECT_EQ(Text("MRUList") + std::string("\x01\0\0\0", 4) + Text("a") + kEnd +
                  Text("doc.lnk", true) + Text(In(kRecent, "doc.lnk"), true) + Content("L") + kEnd,
              Stream("Recent"));
    // clang-format off
    EXPECT_EQ(Lines({"正在保存状态...", kSep,
                     "**保存历史记录...", "", "http://h1/", "", "**历史记录已保存 <OK>", kSep,
                     "**正在保存分类 URL...", "  ", "正在保存分类 URLhttp://t1/ <OK>", " ",
                     "**分类 URL 已保存! <OK>", kSep,
                     "**正在保存 Internet 临时文件: ...", "", "http://page/", " ",
                     "**Internet 临时文件已保存! <OK>", kSep,
                     "**保存 Cookies...", " ", "Cookie:user@a/", "", "**Cookies 已保存 <OK>", kSep,
                     "**正在保存首页...", " ", "http://s/", " ", "**首页已保存 <OK>", kSep,
                     "**正在保存“文档”列表...", " ", "Saving Recent doc.lnk <OK>", " ",
                     "**正在保存文档列表 <OK>", kSep, " ", "状态已保存 <OK>"}),
              Log());
    // clang-format on
    EXPECT_FALSE(dlg.busy);
}

// Cache entries used after the save go, those used at the save time stay and are listed;
// Restore's log, line by line. (What the streams carry comes back as the round-trip
// property checks.)
TEST_F(Snapshot, RestoreDropsCacheEntriesUsedSinceTheSave) {
    FileTime at = mem.system.now = {0xF0000000u, 0x01C8F000u};
    ASSERT_EQ(winerr::kSuccess, mem.urlCache.Commit({"http://saved/", "", 1, "", at}));
    ASSERT_TRUE(dlg.SaveState());
    FileTime later{0, at.highDateTime + 1};  // later by its high part alone
    ASSERT_EQ(winerr::kSuccess, mem.urlCache.Commit({"http://later/", "", 1, "", later}));
    Seed(mem, {Expand("value HKCU\\$Main|起始页 = about:blank")});
    EXPECT_TRUE(dlg.RestoreState());
    EXPECT_THAT(State(mem), testing::Not(testing::Contains("cache http://later/")));
    // clang-format off
    EXPECT_EQ(Lines({"正在还原状态...", kSep, "**正在还原历史记录...", "", " ", "**没有要还原的历史记录 <OK>", kSep,
                     "**正在还原 Internet 临时文件...", " ", "还原: http://page/", "还原: http://saved/", " ",
                     "**Internet 临时文件已被还原 <OK>", kSep, "**正在还原分类 URL...", " ", "正在还原分类 URL http://t1/ <OK>",
                     " ", "**分类 URL 已被还原 <OK>", kSep, "**正在还原 Cookies...", " ", "Cookie:user@a/", "",
                     "**Cookies 已还原 <OK>", kSep, "**正在还原首页...", " ", "还原起始页: 从 about:blank 到 http://s/ <OK>",
                     "http://s/", "", "**首页已还原 <OK>", kSep, "**正在还原“文档”列表...", " ", "正在还原文档列表doc.lnk <OK>",
                     " ", "**正在还原“文档”列表 <OK>", kSep, " ", "状态已还原 <OK>"}),
              Log());
    // clang-format on
    // A file record may name a file directly inside a folder of its stream, and nothing else.
    for (const char* tail : {"x\\a", "\\..\\a", "\\a:s", "/../a", "\\b\\a", "\\..", "\\a"}) {
        EXPECT_EQ(tail == std::string("\\a"),
                  IsFileInFolders(kCookies + std::string(tail), {kCookies}));
    }
}

// The scrambling byte every state.spp depends on: a three-character text block.
TEST_F(Snapshot, ScrambledTextBlockPinsTheScramblingByte) {
    EXPECT_EQ(std::string("\x04\0\0\0\xA7\xA4\xA5\0", 8), Text("abc", true));
}

}  // namespace
