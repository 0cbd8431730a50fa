// Save state: the current traces into a new state.spp, item by item, with a running
// account in the activity log.

#include <memory>

#include "clean/cache_folders.h"
#include "clean/folder_ops.h"
#include "clean/history_urls.h"
#include "clean/registry_text.h"
#include "clean/run_steps.h"
#include "clean/shell_calls.h"
#include "clean/url_cache_walk.h"
#include "platform/gbk.h"
#include "snapshot/snapshot_commands.h"
#include "snapshot/snapshot_file.h"
#include "state/eraser_dlg.h"

namespace {

using namespace snapshot;

constexpr char kAboutBlank[] = "about:blank";
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
bool SaveContainer(EraserDlg& dlg, StorageStream& stream, HKey root, const std::string& keyPath,
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
void SaveFolderFiles(EraserDlg& dlg, StorageStream& stream, const std::string& folder,
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
        WriteText(stream, path, true);
        WriteFileContent(dlg.platform.files, stream, isFolder ? "" : path);
    } while (listing.Next(&entry));
}

bool IsUrlName(const std::string& name) {
    return name.size() >= 3 && GbkEqualNoCase(name.substr(0, 3), "URL");
}

bool IsSkippedRecentName(const std::string& name) {
    for (const char* skipped : {".", "..", "index.dat", "desktop.ini", "3? Floppy (A).lnk"}) {
        if (GbkEqualNoCase(name, skipped)) {
            return true;
        }
    }
    return false;
}

void SaveRecentValues(Registry& registry, HKey key, StorageStream& stream) {
    char name[kMaxPath];
    std::string data(kRecentDataBytes, '\0');
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = sizeof name;
        std::uint32_t dataSize = kRecentDataBytes;
        std::uint32_t type = 0;
        WinError error =
            registry.EnumValue(key, index, name, &nameSize, &type, data.data(), &dataSize);
        if (error == winerr::kMoreData) {
            continue;  // too long for the buffers: not saved
        }
        if (error != winerr::kSuccess) {
            break;
        }
        WriteText(stream, std::string(name, nameSize));
        WriteDword(stream, type);
        WriteBlock(stream, data.data(), static_cast<std::int32_t>(dataSize));
    }
}

// Creates one stream; on failure the line that the save stops there.
std::unique_ptr<StorageStream> NewStream(EraserDlg& dlg, StorageFile& file, const char* name) {
    std::unique_ptr<StorageStream> stream;
    if (file.CreateStream(name, snapshot::kCreateMode, &stream) != hresult::kOk) {
        Plain(dlg, kNoStream);
        stream.reset();
    }
    return stream;
}

void SaveStartPage(EraserDlg& dlg, StorageStream& stream) {
    std::string page;
    if (!ReadStartPage(dlg, &page)) {
        page = kAboutBlank;
        Plain(dlg, "找不到原先的起始页 - 保存为 about:blank");
    }
    Plain(dlg, kSeparator);
    Strong(dlg, "正在保存首页...");
    Plain(dlg, " ");
    Plain(dlg, page);
    Plain(dlg, " ");
    std::uint32_t length = static_cast<std::uint32_t>(page.size());
    if (WriteRawText(stream, page.data(), &length)) {
        Strong(dlg, "首页已保存 <OK>");
    } else {
        Plain(dlg, "首页未保存 <失败>");
    }
}

// Every stream in its order; false when one could not be created (the file then keeps
// the streams before it).
bool SaveStreams(EraserDlg& dlg, StorageFile& file) {
    std::unique_ptr<StorageStream> stream = NewStream(dlg, file, snapshot::kSaveDate);
    if (!stream) {
        return false;
    }
    FileTime now = dlg.platform.system.SystemTimeAsFileTime();
    WriteDword(*stream, now.lowDateTime);
    WriteDword(*stream, now.highDateTime);

    Plain(dlg, kSeparator);
    Strong(dlg, "保存历史记录...");
    Plain(dlg, "");
    if (!(stream = NewStream(dlg, file, snapshot::kHistory))) {
        return false;
    }
    // "<0K>" with a digit zero is the program's own text.
    Strong(dlg, SaveHistory(dlg, *stream) ? "历史记录已保存 <OK>" : "没有要保存的历史记录 <0K>");

    if (!(stream = NewStream(dlg, file, snapshot::kTypedUrls))) {
        return false;
    }
    SaveTypedUrls(dlg, *stream);

    if (!(stream = NewStream(dlg, file, snapshot::kTemporaryInternetFiles))) {
        return false;
    }
    Plain(dlg, kSeparator);
    Strong(dlg, "正在保存 Internet 临时文件: ...");
    Plain(dlg, "");
    if (SaveTemporaryInternetFiles(dlg, *stream)) {
        Plain(dlg, " ");
        Strong(dlg, "Internet 临时文件已保存! <OK>");
    } else {
        Strong(dlg, "没有要保存的 Internet 临时文件! <OK>");
    }

    Plain(dlg, kSeparator);
    Strong(dlg, "保存 Cookies...");
    Plain(dlg, " ");
    if (!(stream = NewStream(dlg, file, snapshot::kCookies))) {
        return false;
    }
    Strong(dlg, SaveCookies(dlg, *stream) ? "Cookies 已保存 <OK>" : "没有要保存的 Cookies <OK>");

    if (!(stream = NewStream(dlg, file, snapshot::kStartPage))) {
        return false;
    }
    SaveStartPage(dlg, *stream);
    stream.reset();
    Plain(dlg, kSeparator);

    if (!(stream = NewStream(dlg, file, snapshot::kRecent))) {
        return false;
    }
    SaveRecentDocuments(dlg, *stream);
    return true;
}

}  // namespace

void Plain(EraserDlg& dlg, const std::string& text) {
    dlg.log.AddLogLine(text, emphasis::kPlain);
}

void Strong(EraserDlg& dlg, const std::string& text) {
    dlg.log.AddLogLine(text, emphasis::kStrong);
}

bool StartCommand(EraserDlg& dlg, const char* heading) {
    if (dlg.busy) {
        return false;
    }
    dlg.busy = true;
    dlg.progress.SetPos(0);
    dlg.log.ClearLog();
    Steps(dlg).HandleOpenIEWindows(dlg);
    Plain(dlg, heading);
    return true;
}

void HistoryIndexFiles(EraserDlg& dlg, std::string* first, std::string* second) {
    first->clear();
    second->clear();
    std::string history;
    if (!LookUpSpecialFolder(dlg, csidl::kHistory, &history)) {
        return;
    }
    std::string ie5 = JoinPath(history, "History.IE5");
    *first = JoinPath(FindEntry(dlg.platform.files, ie5) ? ie5 : history, "index.dat");
    if (!FindAlternateCacheFolder(dlg, *first, kHistoryWord, second)) {
        second->clear();
    }
}

bool QueryStartPage(Registry& registry, HKey mainKey, std::string* page) {
    char data[kUrlBytes];
    std::uint32_t size = sizeof data;
    if (registry.QueryValue(mainKey, kStartPageValue, nullptr, data, &size) != winerr::kSuccess) {
        return false;
    }
    *page = RegistryText(data, size);
    return true;
}

bool ReadStartPage(EraserDlg& dlg, std::string* page) {
    RegKey key(dlg.platform.registry);
    if (key.Open(regroot::kCurrentUser, kMainKey, regaccess::kAllAccess) != winerr::kSuccess) {
        Plain(dlg, "找不到 IE 起始页");
        return false;
    }
    if (!QueryStartPage(dlg.platform.registry, key.Get(), page)) {
        *page = kAboutBlank;
        return false;
    }
    return true;
}

bool SaveHistory(EraserDlg& dlg, StorageStream& stream) {
    bool listed = ListHistoryUrls(dlg);
    if (listed) {
        Plain(dlg, "");
    }
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

void SaveTypedUrls(EraserDlg& dlg, StorageStream& stream) {
    Plain(dlg, kSeparator);
    Strong(dlg, "正在保存分类 URL...");
    Plain(dlg, "  ");
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    bool saved = false;
    if (key.Open(regroot::kCurrentUser, kTypedUrlsKey, regaccess::kAllAccess) == winerr::kSuccess) {
        char name[kUrlBytes];
        char data[kUrlBytes];
        for (std::uint32_t index = 0;; ++index) {
            std::uint32_t nameSize = sizeof name;
            std::uint32_t dataSize = sizeof data;
            WinError error =
                registry.EnumValue(key.Get(), index, name, &nameSize, nullptr, data, &dataSize);
            if (error == winerr::kMoreData) {
                continue;  // too long for the buffers: not saved
            }
            if (error != winerr::kSuccess) {
                break;
            }
            // Each address goes with exactly one NUL, whatever the registry holds: the
            // stream's list is NUL-separated, and an empty entry would end it.
            std::string url = RegistryText(data, dataSize);
            std::uint32_t length = static_cast<std::uint32_t>(url.size() + 1);
            if (!IsUrlName(std::string(name, nameSize)) || url.empty() ||
                !WriteRawText(stream, url.c_str(), &length)) {
                continue;
            }
            Plain(dlg, "正在保存分类 URL" + url + " <OK>");
            saved = true;
        }
    }
    if (saved) {
        Plain(dlg, " ");
        Strong(dlg, "分类 URL 已保存! <OK>");
    } else {
        Strong(dlg, "没有要保存的分类 URL! <OK>");
    }
}

bool SaveTemporaryInternetFiles(EraserDlg& dlg, StorageStream& stream) {
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

    bool listed = false;
    UrlCacheWalk walk(dlg.platform.urlCache);
    for (bool more = walk.First(); more; more = walk.Next()) {
        std::string url = walk.SourceUrl();
        if (walk.EntryExists(url) && (walk.EntryType() & cacheentry::kCookie) == 0) {
            Plain(dlg, url);
            listed = true;
        }
        dlg.StepProgress();
        dlg.PumpMessagesWhileBusy();
        if (!dlg.busy) {
            break;
        }
    }
    return listed;
}

bool ListCookieEntries(EraserDlg& dlg) {
    bool listed = false;
    UrlCacheWalk walk(dlg.platform.urlCache);
    for (bool more = walk.First(); more; more = walk.Next()) {
        std::string url = walk.SourceUrl();
        if ((walk.EntryType() & cacheentry::kCookie) != 0 && walk.EntryExists(url)) {
            Plain(dlg, url);
            listed = true;
            dlg.StepProgress();
        }
        dlg.PumpMessages();
    }
    return listed;
}

bool SaveCookies(EraserDlg& dlg, StorageStream& stream) {
    bool listed = ListCookieEntries(dlg);
    if (listed) {
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

void SaveRecentDocuments(EraserDlg& dlg, StorageStream& stream) {
    Strong(dlg, "正在保存“文档”列表...");
    Plain(dlg, " ");
    Registry& registry = dlg.platform.registry;
    std::string recent;
    RegKey key(registry);
    if (!LookUpSpecialFolder(dlg, csidl::kRecent, &recent) ||
        key.Open(regroot::kCurrentUser, kRecentDocsKey, regaccess::kAllAccess) !=
            winerr::kSuccess) {
        Strong(dlg, "没有要保存的“文档”列表 <OK>");
        WriteText(stream, "");
        WriteText(stream, "");
        return;
    }
    SaveRecentValues(registry, key.Get(), stream);
    key.Close();
    WriteText(stream, "");

    FindScope listing(dlg.platform.files);
    FindData entry;
    if (!listing.First(JoinPath(recent, "*.*"), &entry)) {
        Plain(dlg, "找不到文件。");
        WriteText(stream, "");
        return;
    }
    bool saved = false;
    do {
        std::string path = JoinPath(recent, entry.name);
        if (IsSkippedRecentName(entry.name) || (entry.attributes & fileattr::kDirectory) != 0 ||
            !FitsMaxPath(path)) {
            continue;
        }
        WriteText(stream, entry.name, true);
        WriteText(stream, path, true);
        WriteFileContent(dlg.platform.files, stream, path);
        Plain(dlg, "Saving Recent " + entry.name + " <OK>");
        saved = true;
    } while (listing.Next(&entry));
    WriteText(stream, "");
    if (saved) {
        Plain(dlg, " ");
        Strong(dlg, "正在保存文档列表 <OK>");
    } else {
        Strong(dlg, "没有要保存的“文档”列表 <OK>");
    }
}

bool EraserDlg::SaveState() {
    if (!StartCommand(*this, "正在保存状态...")) {
        return false;
    }
    std::string path = SnapshotPath(platform.system);
    std::unique_ptr<StorageFile> file;
    bool saved = false;
    if (path.empty() ||
        platform.storage.CreateDocfile(path, snapshot::kCreateMode, &file) != hresult::kOk) {
        Plain(*this, "无法创建文件!");
    } else if (SaveStreams(*this, *file)) {
        Plain(*this, kSeparator);
        Plain(*this, " ");
        Plain(*this, "状态已保存 <OK>");
        file.reset();
        ShowCompletion();
        saved = true;
    }
    busy = false;
    return saved;
}
