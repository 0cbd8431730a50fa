// Save state: the current traces into a new state.spp, item by item, with a running
// account in the activity log.

#include <cstring>
#include <iterator>
#include <memory>

#include "autocomplete/key_access.h"
#include "clean/cache_folders.h"
#include "clean/folder_ops.h"
#include "clean/history_urls.h"
#include "clean/registry_text.h"
#include "clean/registry_values.h"
#include "clean/run_steps.h"
#include "clean/shell_calls.h"
#include "clean/url_cache_walk.h"
#include "platform/gbk.h"
#include "snapshot/snapshot_commands.h"
#include "snapshot/snapshot_file.h"
#include "state/eraser_dlg.h"

namespace {

using namespace snapshot;

constexpr char kNoStream[] = "无法创建流!";

constexpr std::uint32_t kSubkeyNameBytes = 200;

std::uint32_t DwordValue(Registry& registry, HKey key, const char* name) {
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    if (registry.QueryValue(key, name, nullptr, &value, &size) != winerr::kSuccess ||
        size != sizeof value) {
        return 0;
    }
    return value;
}

std::string TextValue(Registry& registry, HKey key, const char* name) {
    char text[kMaxPath];
    std::uint32_t size = sizeof text;
    if (registry.QueryValue(key, name, nullptr, text, &size) != winerr::kSuccess) {
        return {};
    }
    return RegistryText(text, size);
}

// One record of an Extensible Cache container; false when it has no readable CachePath.
bool SaveContainer(EraserDlg& dlg, StreamWriter& stream, HKey root, const std::string& keyPath,
                   const std::string& name) {
    Registry& registry = dlg.platform.registry;
    RegKey container(registry);
    if (container.Open(root, keyPath + "\\" + name, regaccess::kAllAccess) != winerr::kSuccess) {
        return false;
    }
    char raw[kMaxPath];
    std::uint32_t size = sizeof raw;
    if (registry.QueryValue(container.Get(), "CachePath", nullptr, raw, &size) !=
        winerr::kSuccess) {
        return false;
    }
    std::string cachePath = RegistryText(raw, size);
    std::string index = cachePath;
    bool expanded = ExpandPathVariable(dlg.platform.environment, &index);
    index = JoinPath(index, "index.dat");
    WriteText(stream, name);
    WriteDword(stream, DwordValue(registry, container.Get(), "CacheLimit"));
    WriteDword(stream, DwordValue(registry, container.Get(), "CacheOptions"));
    WriteText(stream, cachePath);
    WriteFileContent(dlg.platform.files, stream, expanded && FitsMaxPath(index) ? index : "");
    WriteText(stream, TextValue(registry, container.Get(), "CachePrefix"));
    WriteDword(stream, DwordValue(registry, container.Get(), "CacheRepair"));
    return true;
}

// The records of the files of folder, but for "." , ".." and desktop.ini; with
// skipFolders, subfolders get none, else a record without content.
void SaveFolderFiles(EraserDlg& dlg, StreamWriter& stream, const std::string& folder,
                     bool skipFolders) {
    FindScope listing(dlg.platform.files);
    FindData entry;
    if (!listing.First(JoinPath(folder, "*.*"), &entry)) {
        return;
    }
    do {
        std::string path = JoinPath(folder, entry.name);
        bool isFolder = (entry.attributes & fileattr::kDirectory) != 0;
        if (entry.name == "." || entry.name == ".." || entry.name == "desktop.ini" ||
            (isFolder && skipFolders) || !FitsMaxPath(path)) {
            continue;
        }
        WriteText(stream, path, Scramble::kYes);
        WriteFileContent(dlg.platform.files, stream, isFolder ? "" : path);
    } while (listing.Next(&entry));
}

bool IsSkippedRecentName(const std::string& name) {
    for (const char* skipped : {".", "..", "index.dat", "desktop.ini", "3? Floppy (A).lnk"}) {
        if (GbkEqualNoCase(name, skipped)) {
            return true;
        }
    }
    return false;
}

void SaveRecentValues(Registry& registry, HKey key, StreamWriter& stream) {
    char name[kMaxPath];
    std::string data(kRecentDataBytes, '\0');
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = sizeof name;
        std::uint32_t dataSize = kRecentDataBytes;
        std::uint32_t type = 0;
        WinError error =
            registry.EnumValue(key, index, name, &nameSize, &type, data.data(), &dataSize);
        if (error == winerr::kMoreData || (error == winerr::kSuccess && nameSize == 0)) {
            continue;  // too long for the buffers, or unnamed (an empty name ends the list)
        }
        if (error != winerr::kSuccess) {
            break;
        }
        WriteText(stream, std::string(name, nameSize));
        WriteDword(stream, type);
        WriteBlock(stream, data.data(), static_cast<std::int32_t>(dataSize));
    }
}

// The closing line of an item: that its stream was cut short, that it saved something
// (after a one-space line when `spaced`), or that there was nothing to save.
struct ClosingLines {
    const char* cut;
    const char* saved;
    const char* nothing;
    bool spaced = false;
};

void CloseItem(EraserDlg& dlg, const StreamWriter& out, bool saved, const ClosingLines& lines) {
    if (!out.ok()) {
        Strong(dlg, lines.cut);
        return;
    }
    if (saved && lines.spaced) {
        Plain(dlg, " ");
    }
    Strong(dlg, saved ? lines.saved : lines.nothing);
}

// Whether the save says so when a stream cannot be created; it stops there either way.
enum class Refusal { kSilent, kSaid };

// A page too long for the 1000-byte buffer is not saved (the stream stays empty), so that
// Restore leaves it as it is instead of putting about:blank in its place. One item, the
// page saved.
CategoryResult SaveStartPage(EraserDlg& dlg, StreamWriter& stream) {
    CategoryResult result;
    std::string page;
    bool tooLong = false;
    if (!ReadStartPage(dlg, &page, &tooLong) && !tooLong) {
        page = iename::kBlankPage;
        Plain(dlg, "找不到原先的起始页 - 保存为 about:blank");
    }
    Plain(dlg, kSeparator);
    Strong(dlg, "正在保存首页...");
    Plain(dlg, " ");
    if (tooLong) {
        Plain(dlg, "首页未保存 <失败>");
        result.Fail(kStartPage, winerr::kMoreData);  // as the registry answered the read
        return result;
    }
    Plain(dlg, page);
    Plain(dlg, " ");
    std::uint32_t length = static_cast<std::uint32_t>(page.size());
    if (WriteRawText(stream, page.data(), &length)) {
        Strong(dlg, "首页已保存 <OK>");
        result.items = 1;
    } else {
        Plain(dlg, "首页未保存 <失败>");
    }
    return result;
}

// What became of the save.
enum class Saved { kWhole, kCut, kStopped };

// Saves one item into a new stream: fill writes its records and its lines, given the
// stream and whether every write so far went through, and counts them in *result. A
// stream that cannot be created, or is cut short, is the item's failure under its stream
// name. kStopped when the stream cannot be created.
template <typename Fill>
Saved SaveItem(EraserDlg& dlg, StorageFile& file, const char* name, Refusal refusal, Fill fill,
               CategoryResult* result) {
    std::unique_ptr<StorageStream> stream;
    HResult created = file.CreateStream(name, snapshot::kCreateMode, &stream);
    if (created != hresult::kOk) {
        if (refusal == Refusal::kSaid) {
            Plain(dlg, kNoStream);
        }
        result->Fail(name, static_cast<std::uint32_t>(created));
        return Saved::kStopped;
    }
    StreamWriter out(*stream);
    *result += fill(out);
    if (!out.ok()) {
        result->Fail(name, static_cast<std::uint32_t>(out.error()));
    }
    return out.ok() ? Saved::kWhole : Saved::kCut;
}

// The report names of Save's and Restore's items, in their order, with their streams.
struct SnapshotItem {
    const char* name;
    const char* stream;
};
constexpr SnapshotItem kSavedItems[] = {
    {"history", kHistory},
    {"typed_urls", kTypedUrls},
    {"temporary_internet_files", kTemporaryInternetFiles},
    {"cookies", kCookies},
    {"start_page", kStartPage},
    {"recent_documents", kRecent},
};

// Every stream in its order. A stream that cannot be created stops the save there (the
// file keeps the streams before it); one whose writes fail says so and the save goes on.
Saved SaveStreams(EraserDlg& dlg, StorageFile& file) {
    bool cut = false;
    for (const SnapshotItem& saved : kSavedItems) {
        dlg.report.push_back({saved.name, true, CategoryResult()});
    }
    // The save date belongs to no item of the report; a failure of it stops the save.
    CategoryResult dateResult;
    auto item = [&](const char* name, Refusal refusal, auto fill) {
        CategoryResult* result = &dateResult;
        for (size_t i = 0; i < std::size(kSavedItems); ++i) {
            if (std::strcmp(kSavedItems[i].stream, name) == 0) {
                result = &dlg.report[i].result;
            }
        }
        Saved saved = SaveItem(dlg, file, name, refusal, fill, result);
        cut = cut || saved == Saved::kCut;
        return saved != Saved::kStopped;
    };
    bool going = item(kSaveDate, Refusal::kSaid, [&](StreamWriter& out) {
        FileTime now = dlg.platform.system.SystemTimeAsFileTime();
        if (!WriteDword(out, now.lowDateTime) || !WriteDword(out, now.highDateTime)) {
            Plain(dlg, "保存时间未保存 <失败>");
        }
        return CategoryResult();
    });
    if (going) {
        Plain(dlg, kSeparator);
        Strong(dlg, "保存历史记录...");
        Plain(dlg, "");
    }
    going = going && item(kHistory, Refusal::kSilent, [&](StreamWriter& out) {
                CategoryResult result = SaveHistory(dlg, out);
                // "<0K>" with a digit zero is the program's own text.
                CloseItem(
                    dlg, out, result.items > 0,
                    {"历史记录未保存 <失败>", "历史记录已保存 <OK>", "没有要保存的历史记录 <0K>"});
                return result;
            });
    going = going && item(kTypedUrls, Refusal::kSaid,
                          [&](StreamWriter& out) { return SaveTypedUrls(dlg, out); });
    going = going && item(kTemporaryInternetFiles, Refusal::kSaid, [&](StreamWriter& out) {
                Plain(dlg, kSeparator);
                Strong(dlg, "正在保存 Internet 临时文件: ...");
                Plain(dlg, "");
                CategoryResult result = SaveTemporaryInternetFiles(dlg, out);
                CloseItem(dlg, out, result.items > 0,
                          {"Internet 临时文件未保存! <失败>", "Internet 临时文件已保存! <OK>",
                           "没有要保存的 Internet 临时文件! <OK>", true});
                return result;
            });
    if (going) {
        Plain(dlg, kSeparator);
        Strong(dlg, "保存 Cookies...");
        Plain(dlg, " ");
    }
    going = going && item(kCookies, Refusal::kSilent, [&](StreamWriter& out) {
                CategoryResult result = SaveCookies(dlg, out);
                CloseItem(
                    dlg, out, result.items > 0,
                    {"Cookies 未保存 <失败>", "Cookies 已保存 <OK>", "没有要保存的 Cookies <OK>"});
                return result;
            });
    going = going && item(kStartPage, Refusal::kSilent,
                          [&](StreamWriter& out) { return SaveStartPage(dlg, out); });
    if (going) {
        Plain(dlg, kSeparator);
    }
    going = going && item(kRecent, Refusal::kSilent,
                          [&](StreamWriter& out) { return SaveRecentDocuments(dlg, out); });
    return !going ? Saved::kStopped : cut ? Saved::kCut : Saved::kWhole;
}

}  // namespace

CategoryResult SaveHistory(EraserDlg& dlg, StreamWriter& stream) {
    std::vector<std::string> urls;
    CategoryResult listed;
    if (ListHistoryUrls(dlg, &urls)) {
        Plain(dlg, "");
    }
    listed.items = static_cast<int>(urls.size());
    RegKey key(dlg.platform.registry);
    HKey root;
    std::string keyPath;
    if (!OpenExtensibleCache(&key, &root, &keyPath)) {
        return listed;  // the stream stays empty
    }
    std::string first;
    std::string second;
    HistoryIndexFiles(dlg, &first, &second);
    WriteText(stream, first);
    WriteFileContent(dlg.platform.files, stream, first);
    WriteText(stream, second);
    if (!second.empty()) {
        WriteFileContent(dlg.platform.files, stream, second);
    }
    for (std::uint32_t index = 0;; ++index) {
        char name[kSubkeyNameBytes];
        std::uint32_t size = sizeof name;
        if (dlg.platform.registry.EnumKey(key.Get(), index, name, &size) != winerr::kSuccess) {
            break;
        }
        SaveContainer(dlg, stream, root, keyPath, std::string(name, size));
    }
    WriteText(stream, "");
    return listed;
}

CategoryResult SaveTypedUrls(EraserDlg& dlg, StreamWriter& stream) {
    Plain(dlg, kSeparator);
    Strong(dlg, "正在保存分类 URL...");
    Plain(dlg, "  ");
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    CategoryResult result;
    if (key.Open(regroot::kCurrentUser, iename::kTypedUrlsKey, regaccess::kAllAccess) ==
        winerr::kSuccess) {
        RegistryValue value;
        for (std::uint32_t index = 0;
             EnumValueWhole(registry, key.Get(), index, kUrlBytes, &value) == winerr::kSuccess;
             ++index) {
            // Each address goes with exactly one NUL, whatever the registry holds: the
            // stream's list is NUL-separated, and an empty entry would end it.
            std::string url = RegistryText(value.data.data(), value.data.size());
            std::uint32_t length = static_cast<std::uint32_t>(url.size() + 1);
            if (!IsSavedTypedUrl(value) || !WriteRawText(stream, url.c_str(), &length)) {
                continue;
            }
            Plain(dlg, "正在保存分类 URL" + url + " <OK>");
            ++result.items;
        }
    }
    CloseItem(
        dlg, stream, result.items > 0,
        {"分类 URL 未保存! <失败>", "分类 URL 已保存! <OK>", "没有要保存的分类 URL! <OK>", true});
    return result;
}

CategoryResult SaveTemporaryInternetFiles(EraserDlg& dlg, StreamWriter& stream) {
    std::string cache;
    if (LookUpSpecialFolder(dlg, csidl::kInternetCache, &cache)) {
        std::string folder = JoinPath(cache, "Content.IE5");
        SaveFolderFiles(dlg, stream, folder, true);
        std::string alternate;
        if (FindAlternateCacheFolder(dlg, folder, kTempInternetFilesWord, &alternate)) {
            SaveFolderFiles(dlg, stream, alternate, true);
        }
    }
    WriteText(stream, "");

    CategoryResult listed;
    UrlCacheWalk walk(dlg.platform.urlCache);
    for (bool more = walk.First(); more; more = walk.Next()) {
        std::string url = walk.SourceUrl();
        if (walk.EntryExists(url) && (walk.EntryType() & cacheentry::kCookie) == 0) {
            Plain(dlg, url);
            ++listed.items;
        }
        dlg.StepProgress();
        dlg.PumpMessagesWhileBusy();
        if (!dlg.busy) {
            break;
        }
    }
    return listed;
}

CategoryResult SaveCookies(EraserDlg& dlg, StreamWriter& stream) {
    CategoryResult listed;
    listed.items = ListCookieEntries(dlg);
    if (listed.items > 0) {
        Plain(dlg, "");
    }
    std::string cookies;
    if (LookUpSpecialFolder(dlg, csidl::kCookies, &cookies)) {
        SaveFolderFiles(dlg, stream, cookies, false);
        std::string alternate;
        if (FindAlternateCacheFolder(dlg, cookies, kCookiesWord, &alternate)) {
            SaveFolderFiles(dlg, stream, alternate, false);
        }
    }
    WriteText(stream, "");
    return listed;
}

CategoryResult SaveRecentDocuments(EraserDlg& dlg, StreamWriter& stream) {
    Strong(dlg, "正在保存“文档”列表...");
    Plain(dlg, " ");
    Registry& registry = dlg.platform.registry;
    std::string recent;
    RegKey key(registry);
    CategoryResult result;
    if (!LookUpSpecialFolder(dlg, csidl::kRecent, &recent) ||
        key.Open(regroot::kCurrentUser, kRecentDocsKey, regaccess::kAllAccess) !=
            winerr::kSuccess) {
        Strong(dlg, "没有要保存的“文档”列表 <OK>");
        WriteText(stream, "");
        WriteText(stream, "");
        return result;
    }
    SaveRecentValues(registry, key.Get(), stream);
    key.Close();
    WriteText(stream, "");

    FindScope listing(dlg.platform.files);
    FindData entry;
    if (!listing.First(JoinPath(recent, "*.*"), &entry)) {
        Plain(dlg, "找不到文件。");
        WriteText(stream, "");
        return result;
    }
    do {
        std::string path = JoinPath(recent, entry.name);
        if (IsSkippedRecentName(entry.name) || (entry.attributes & fileattr::kDirectory) != 0 ||
            !FitsMaxPath(path)) {
            continue;
        }
        WriteText(stream, entry.name, Scramble::kYes);
        WriteText(stream, path, Scramble::kYes);
        WriteFileContent(dlg.platform.files, stream, path);
        Plain(dlg, "Saving Recent " + entry.name + (stream.ok() ? " <OK>" : " <失败>"));
        if (stream.ok()) {
            ++result.items;
        }
    } while (stream.ok() && listing.Next(&entry));
    WriteText(stream, "");
    CloseItem(
        dlg, stream, result.items > 0 || !stream.ok(),
        {"“文档”列表未保存 <失败>", "正在保存文档列表 <OK>", "没有要保存的“文档”列表 <OK>", true});
    return result;
}

namespace {

// state.spp holds the user's cookies and history, only scrambled, often in a folder others
// can read: on the NT family only its owner, SYSTEM and the Administrators may open it.
// While Save writes it, its exclusive sharing keeps everyone else out. A file left as the
// folder makes it is no worse than before, so a failure here says nothing.
void ProtectSnapshot(EraserDlg& dlg, const std::string& path) {
    constexpr std::uint32_t kFileAllAccess = 0x1F01FF;
    constexpr std::uint32_t kBuiltinDomainRid = 32;
    constexpr std::uint32_t kAdministratorsRid = 544;
    Security& security = dlg.platform.security;
    ByteBlock user, system, administrators, descriptor;
    if (!IsNtFamily(dlg.osVersion) || !GetCurrentUserSid(dlg.platform, &user) ||
        security.MakeSid(kNtAuthority, {keyaccess::kLocalSystemRid}, &system) != winerr::kSuccess ||
        security.MakeSid(kNtAuthority, {kBuiltinDomainRid, kAdministratorsRid}, &administrators) !=
            winerr::kSuccess ||
        !BuildAllowedDescriptor(security, {user, system, administrators}, kFileAllAccess, 0,
                                &descriptor)) {
        return;
    }
    (void)dlg.platform.files.SetSecurity(path, descriptor.data(),
                                         static_cast<std::uint32_t>(descriptor.size()));
}

// The snapshot file created and filled; whether it holds everything.
bool SaveSnapshot(EraserDlg& dlg) {
    std::string path = SnapshotPath(dlg.platform.system);
    std::unique_ptr<StorageFile> file;
    if (path.empty() ||
        dlg.platform.storage.CreateDocfile(path, snapshot::kCreateMode, &file) != hresult::kOk) {
        Plain(dlg, "无法创建文件!");
        return false;
    }
    Saved result = SaveStreams(dlg, *file);
    file.reset();
    ProtectSnapshot(dlg, path);
    if (result == Saved::kStopped) {
        return false;
    }
    Plain(dlg, kSeparator);
    Plain(dlg, " ");
    // A stream cut short is a snapshot that cannot give everything back: never <OK>.
    bool saved = result == Saved::kWhole;
    Plain(dlg, saved ? "状态已保存 <OK>" : "状态未保存 <失败>");
    if (saved) {
        dlg.ShowCompletion();
    }
    return saved;
}

}  // namespace

bool EraserDlg::SaveState() {
    if (!StartCommand(*this, "正在保存状态...")) {
        return false;
    }
    bool saved = SaveSnapshot(*this);
    busy = false;
    return saved;
}
