// Restore: puts back what Save state stored in state.spp, item by item. Every file
// record is read whole before its file is touched, and only files inside the folders
// the stream belongs to are written, so a damaged or altered snapshot cannot destroy or
// write anything else.

#include <memory>

#include "clean/cache_folders.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "clean/history_urls.h"
#include "clean/index_dat.h"
#include "clean/registry_values.h"
#include "clean/shell_calls.h"
#include "clean/url_cache_walk.h"
#include "clean/window_walk.h"
#include "platform/gbk.h"
#include "snapshot/snapshot_commands.h"
#include "snapshot/snapshot_file.h"
#include "state/eraser_dlg.h"

namespace {

using namespace snapshot;

constexpr char kNoSnapshot[] = "状态未被保存!";
constexpr char kSaveFirst[] = "如果您想要还原状态，您应该事先保存!";

constexpr std::uint32_t kNameListPlaces = 1000;

// A list of file records (scrambled path, content) up to its empty path; each written
// only inside folders.
void RestoreFileList(EraserDlg& dlg, StorageStream& stream,
                     const std::vector<std::string>& folders) {
    for (;;) {
        StoredText path = ReadStoredPath(stream);
        if (path.text.empty()) {
            return;
        }
        bool allowed = path.whole && IsFileInFolders(path.text, folders);
        if (ReadFileContent(dlg.platform.files, stream, path.text, allowed) ==
            FileRecord::kStreamEnded) {
            return;
        }
    }
}

// Windows 98 and ME: the history and the cookies are reported back whatever the listing
// finds, as the program has always done there.
bool AlwaysReportsRestored(const EraserDlg& dlg) {
    return dlg.osVersion == osver::kWin98 || dlg.osVersion == osver::kWinMe;
}

bool SetDword(Registry& registry, HKey key, const char* name, std::uint32_t value) {
    return registry.SetValue(key, name, regtype::kDword, &value, sizeof value) == winerr::kSuccess;
}

bool SetText(Registry& registry, HKey key, const char* name, const std::string& text,
             std::uint32_t type = regtype::kSz) {
    return registry.SetValue(key, name, type, text.c_str(),
                             static_cast<std::uint32_t>(text.size() + 1)) == winerr::kSuccess;
}

void PutContainerValues(Registry& registry, HKey cacheKey, const ContainerRecord& record) {
    RegKey container(registry);
    if (record.name.empty() || !record.cachePath.whole || !record.prefix.whole ||
        container.Create(cacheKey, record.name, regaccess::kAllAccess) != winerr::kSuccess) {
        return;
    }
    const std::string& cachePath = record.cachePath.text;
    SetDword(registry, container.Get(), "CacheLimit", record.limit);
    SetDword(registry, container.Get(), "CacheOptions", record.options);
    bool variable = cachePath.find('%') != std::string::npos;
    SetText(registry, container.Get(), "CachePath", cachePath,
            variable ? regtype::kExpandSz : regtype::kSz);
    SetText(registry, container.Get(), "CachePrefix", record.prefix.text);
    SetDword(registry, container.Get(), "CacheRepair", record.repair);
}

// The container folder a record's CachePath names, when Restore may write its index.dat:
// a folder directly inside one of the folders that hold containers now; empty otherwise.
std::string ContainerFolder(EraserDlg& dlg, const StoredText& cachePath) {
    std::string folder = cachePath.text;
    if (!cachePath.whole || folder.empty() ||
        !ExpandPathVariable(dlg.platform.environment, &folder)) {
        return {};
    }
    while (GbkEndsWithSeparator(folder)) {
        folder.pop_back();
    }
    bool inside = FitsMaxPath(JoinPath(folder, "index.dat")) &&
                  IsFileInFolders(folder, std::vector<std::string>(dlg.indexDatPaths.begin(),
                                                                   dlg.indexDatPaths.end()));
    return inside ? folder : std::string();
}

// One container record after its name: its values, then its index.dat staged in the folder
// its CachePath names (made for it when missing), then both put back once the record has
// been read whole. False when the stream ends inside it.
bool RestoreContainer(EraserDlg& dlg, StorageStream& stream, HKey cacheKey,
                      ContainerRecord* record) {
    Files& files = dlg.platform.files;
    if (!ReadContainerHead(stream, record)) {
        return false;
    }
    std::string folder = record->name.empty() ? "" : ContainerFolder(dlg, record->cachePath);
    bool made = !folder.empty() && !FindEntry(files, folder) &&
                files.MakeFolder(folder) == winerr::kSuccess;
    StoredContent content;
    {
        StagedFile index(files, JoinPath(folder, "index.dat"));
        content = index.Read(stream, !folder.empty());
        if (content != StoredContent::kTruncated && ReadContainerTail(stream, record)) {
            PutContainerValues(dlg.platform.registry, cacheKey, *record);
            if (content == StoredContent::kContent && index.Commit() >= 0) {
                return true;
            }
        } else {
            content = StoredContent::kTruncated;
        }
    }
    if (made) {
        (void)files.RemoveFolder(folder);  // made for an index that is not there
    }
    return content != StoredContent::kTruncated;
}

void RestoreContainers(EraserDlg& dlg, StorageStream& stream, HKey cacheKey) {
    for (;;) {
        StoredText name = ReadStoredName(stream);
        ContainerRecord record;
        record.name = name.whole ? name.text : std::string();
        if (name.text.empty() || !RestoreContainer(dlg, stream, cacheKey, &record)) {
            return;
        }
    }
}

// Deletes the typed URLs a snapshot holds (at most as many as the name list holds). Those
// no snapshot can hold (too long, empty) stay: their names go to *kept.
void DeleteTypedUrls(Registry& registry, HKey key, std::vector<std::string>* kept) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0; names.size() < kNameListPlaces; ++index) {
        RegistryValue value;
        if (EnumValueWhole(registry, key, index, kUrlBytes, &value) != winerr::kSuccess) {
            break;
        }
        if (IsSavedTypedUrl(value)) {
            names.push_back(value.name);
        } else if (IsUrlName(value.name)) {
            kept->push_back(value.name);
        }
    }
    for (const std::string& name : names) {
        registry.DeleteValue(key, name);
    }
}

// "url" and the first counter from *counter on whose name no kept value has.
std::string NextUrlName(const std::vector<std::string>& kept, int* counter) {
    for (;; ++*counter) {
        std::string name = "url" + std::to_string(*counter);
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const std::string& k) { return GbkEqualNoCase(k, name); })) {
            return name;
        }
    }
}

// Deletes the values of the Documents list that a snapshot can hold. Those too long for
// its buffers and the unnamed one, which Save passes over, stay, and so do the subkeys.
void DeleteRecentValues(Registry& registry, HKey key) {
    std::vector<std::string> names;
    std::vector<char> data(kRecentDataBytes);
    char name[kMaxPath];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = sizeof name;
        std::uint32_t dataSize = kRecentDataBytes;
        WinError error =
            registry.EnumValue(key, index, name, &nameSize, nullptr, data.data(), &dataSize);
        if (error != winerr::kSuccess && error != winerr::kMoreData) {
            break;
        }
        if (error == winerr::kSuccess && nameSize > 0) {
            names.emplace_back(name, nameSize);
        }
    }
    for (const std::string& value : names) {
        (void)registry.DeleteValue(key, value);
    }
}

// The value records of the Recent stream, put back into key; false when the stream ends
// inside one.
bool RestoreRecentValues(Registry& registry, HKey key, StorageStream& stream) {
    ValueRecord record;
    for (ListRead read; (read = ReadValueRecord(stream, &record)) != ListRead::kEnd;) {
        if (read == ListRead::kCut) {
            return false;
        }
        // A value cut to the buffer would be another value: it is left out.
        if (record.whole && record.name.whole) {
            // One byte more than the data: RegSetValueExA reads the byte after string
            // data, and a NUL there would be stored as a terminator the value did not have.
            std::string data = record.data + 'x';
            registry.SetValue(key, record.name.text, record.type, data.data(),
                              static_cast<std::uint32_t>(record.data.size()));
        }
    }
    return true;
}

// Opens a stream of the snapshot; a stream that cannot be opened is the item's failure,
// under the stream's name.
std::unique_ptr<StorageStream> OpenItemStream(StorageFile& file, const char* streamName,
                                              CategoryResult* result) {
    std::unique_ptr<StorageStream> stream;
    HResult opened = file.OpenStream(streamName, snapshot::kOpenMode, &stream);
    if (opened != hresult::kOk) {
        result->Fail(streamName, static_cast<std::uint32_t>(opened));
        stream.reset();
    }
    return stream;
}

// The start of an item after the first: the separator, its heading and a blank line, then
// its stream opened; null when it cannot be, with `failure` written.
std::unique_ptr<StorageStream> StartItem(EraserDlg& dlg, StorageFile& file, const char* heading,
                                         const char* streamName, const char* failure,
                                         CategoryResult* result) {
    Plain(dlg, kSeparator);
    Strong(dlg, heading);
    Plain(dlg, " ");
    std::unique_ptr<StorageStream> stream = OpenItemStream(file, streamName, result);
    if (!stream) {
        Strong(dlg, failure);
    }
    return stream;
}

// Each item counts what it lists once it is back (history URLs, cache entries, typed URLs,
// cookie entries, the start page, Recent files).
CategoryResult RestoreHistoryItem(EraserDlg& dlg, StorageFile& file) {
    Strong(dlg, "正在还原历史记录...");
    Plain(dlg, "");
    CategoryResult result;
    std::unique_ptr<StorageStream> stream = OpenItemStream(file, snapshot::kHistory, &result);
    if (!stream) {
        Strong(dlg, "无法还原历史记录 <失败>");
        return result;
    }
    result.items = RestoreHistory(dlg, *stream);
    stream.reset();
    Plain(dlg, " ");
    Strong(dlg, result.items > 0 || AlwaysReportsRestored(dlg) ? "历史记录已还原 <OK>"
                                                               : "没有要还原的历史记录 <OK>");
    return result;
}

CategoryResult RestoreTemporaryInternetFilesItem(EraserDlg& dlg, StorageFile& file) {
    CategoryResult result;
    std::unique_ptr<StorageStream> stream =
        StartItem(dlg, file, "正在还原 Internet 临时文件...", snapshot::kSaveDate,
                  "无法还原 Internet 临时文件 <失败>", &result);
    if (!stream) {
        return result;
    }
    FileTime saveTime;
    bool dated = ReadSaveDate(*stream, &saveTime);
    stream.reset();
    if (!dated) {
        Plain(dlg, "无法还原 Internet 临时文件 <失败>");
        result.Fail(snapshot::kSaveDate, static_cast<std::uint32_t>(hresult::kFail));
        return result;
    }
    if (file.OpenStream(snapshot::kTemporaryInternetFiles, snapshot::kOpenMode, &stream) ==
        hresult::kOk) {
        result.items = RestoreTemporaryInternetFiles(dlg, *stream, saveTime);
    }
    if (result.items == 0) {
        Strong(dlg, "没有要还原的 Internet 临时文件 <OK>");
        return result;
    }
    Plain(dlg, " ");
    Strong(dlg, "Internet 临时文件已被还原 <OK>");
    return result;
}

CategoryResult RestoreTypedUrlsItem(EraserDlg& dlg, StorageFile& file) {
    CategoryResult result;
    std::unique_ptr<StorageStream> stream = StartItem(
        dlg, file, "正在还原分类 URL...", snapshot::kTypedUrls, "无法还原分类 URL <失败>", &result);
    if (!stream) {
        return result;
    }
    UrlsRestored restored = RestoreTypedUrls(dlg, *stream, &result);
    if (restored == UrlsRestored::kNone) {
        Strong(dlg, "没有要还原的分类 URL <OK>");
        return result;
    }
    // A URL the registry refused has its own "<失败>" line; the item is then not back.
    Plain(dlg, " ");
    Strong(dlg,
           restored == UrlsRestored::kAll ? "分类 URL 已被还原 <OK>" : "无法还原分类 URL <失败>");
    return result;
}

CategoryResult RestoreCookiesItem(EraserDlg& dlg, StorageFile& file) {
    CategoryResult result;
    std::unique_ptr<StorageStream> stream = StartItem(
        dlg, file, "正在还原 Cookies...", snapshot::kCookies, "无法还原 Cookies <失败>", &result);
    if (!stream) {
        return result;
    }
    result.items = RestoreCookies(dlg, *stream);
    Strong(dlg, result.items > 0 || AlwaysReportsRestored(dlg) ? "Cookies 已还原 <OK>"
                                                               : "没有要还原的 Cookies <OK>");
    return result;
}

CategoryResult RestoreStartPageItem(EraserDlg& dlg, StorageFile& file) {
    CategoryResult result;
    std::unique_ptr<StorageStream> stream = StartItem(
        dlg, file, "正在还原首页...", snapshot::kStartPage, "无法还原首页 <失败>", &result);
    if (!stream) {
        return result;
    }
    std::string page;
    bool read = ReadStartPageText(*stream, &page);
    stream.reset();
    if (!read) {
        Plain(dlg, "无法还原首页 <失败>");
        result.Fail(snapshot::kStartPage, static_cast<std::uint32_t>(hresult::kFail));
        return result;
    }
    WinError applied = ApplyStartPage(dlg, page);
    Plain(dlg, page);
    Plain(dlg, "");
    // The page is back only when the registry took it.
    Strong(dlg, applied == winerr::kSuccess ? "首页已还原 <OK>" : "无法还原首页 <失败>");
    if (applied == winerr::kSuccess) {
        result.items = 1;
    } else {
        result.Fail(page, applied);
    }
    return result;
}

// The history as it is now gives way to the saved one: the history object is emptied,
// its index files zero-filled and its containers removed, silently.
void ClearHistoryForRestore(EraserDlg& dlg) {
    std::unique_ptr<UrlHistoryStore> store;
    if (dlg.platform.urlHistory.Create(UrlHistoryInterface::kStg2, &store) == hresult::kOk) {
        (void)store->ClearHistory();
        store.reset();
    }
    FillHistoryIndexFilesSilently(dlg);
}

}  // namespace

// A stream saved without any Extensible Cache key holds no history to put back: the
// history is then left as it is rather than cleared for nothing.
int RestoreHistory(EraserDlg& dlg, StorageStream& stream) {
    GatherCacheFolders(dlg);
    RegKey key(dlg.platform.registry);
    HKey root;
    std::string keyPath;
    if (!OpenExtensibleCache(&key, &root, &keyPath)) {
        return 0;
    }
    StoredText first = ReadStoredName(stream);
    if (first.present) {
        ClearHistoryForRestore(dlg);
        std::string now[2];
        HistoryIndexFiles(dlg, &now[0], &now[1]);
        auto isIndexFile = [&](const StoredText& path) {
            return path.whole && !path.text.empty() &&
                   (GbkEqualNoCase(path.text, now[0]) || GbkEqualNoCase(path.text, now[1]));
        };
        Files& files = dlg.platform.files;
        FileRecord record = ReadFileContent(files, stream, first.text, isIndexFile(first));
        StoredText second = ReadStoredName(stream);
        if (record != FileRecord::kStreamEnded && !second.text.empty()) {
            record = ReadFileContent(files, stream, second.text, isIndexFile(second));
        }
        if (record != FileRecord::kStreamEnded) {
            RestoreContainers(dlg, stream, key.Get());
        }
    }
    key.Close();
    NotifyIEWindowsOfMruChange(dlg.platform.windows, dlg.window);
    std::vector<std::string> urls;
    ListHistoryUrls(dlg, &urls);
    return static_cast<int>(urls.size());
}

int RestoreTemporaryInternetFiles(EraserDlg& dlg, StorageStream& stream, FileTime saveTime) {
    RestoreFileList(dlg, stream, CacheIndexFolders(dlg));
    int listed = 0;
    UrlCacheWalk walk(dlg.platform.urlCache);
    for (bool more = walk.First(); more; more = walk.Next()) {
        std::string url = walk.SourceUrl();
        if (walk.EntryExists(url)) {
            if (walk.LastAccessTime().AsUint64() > saveTime.AsUint64()) {
                (void)dlg.platform.urlCache.DeleteEntry(url);
            } else if (url.compare(0, 7, "Cookie:") != 0) {
                Plain(dlg, "还原: " + url);
                ++listed;
            }
        }
        dlg.PumpMessages();
    }
    return listed;
}

UrlsRestored RestoreTypedUrls(EraserDlg& dlg, StorageStream& stream, CategoryResult* result) {
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    if (key.Create(regroot::kCurrentUser, iename::kTypedUrlsKey, regaccess::kAllAccess) !=
        winerr::kSuccess) {
        return UrlsRestored::kNone;
    }
    std::vector<std::string> kept;
    DeleteTypedUrls(registry, key.Get(), &kept);
    UrlsRestored restored = UrlsRestored::kNone;
    std::string url;
    for (int counter = 1; ReadTypedUrl(stream, &url); ++counter) {
        WinError error = registry.SetValue(key.Get(), NextUrlName(kept, &counter), regtype::kSz,
                                           url.c_str(), static_cast<std::uint32_t>(url.size()));
        bool written = error == winerr::kSuccess;
        Plain(dlg, "正在还原分类 URL " + url + (written ? " <OK>" : " <失败>"));
        if (written) {
            ++result->items;
        } else {
            result->Fail(url, error);
        }
        restored =
            !written || restored == UrlsRestored::kSome ? UrlsRestored::kSome : UrlsRestored::kAll;
    }
    return restored;
}

int RestoreCookies(EraserDlg& dlg, StorageStream& stream) {
    RestoreFileList(dlg, stream, CookieFolders(dlg));
    int listed = ListCookieEntries(dlg);
    if (listed > 0) {
        Plain(dlg, "");
    }
    return listed;
}

WinError ApplyStartPage(EraserDlg& dlg, const std::string& text) {
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    if (WinError opened =
            key.Open(regroot::kCurrentUser, iename::kMainKey, regaccess::kAllAccess)) {
        return opened;
    }
    std::string current;
    if (WinError queried = QueryStartPage(registry, key.Get(), &current)) {
        Plain(dlg, "无法更改起始页");
        return queried;
    }
    if (current == text) {
        Plain(dlg, "起始页被设置为 " + current);
        return winerr::kSuccess;
    }
    WinError written = registry.SetValue(key.Get(), iename::kStartPageValue, regtype::kSz,
                                         text.c_str(), static_cast<std::uint32_t>(text.size()));
    // "<失败>" follows without a blank, as the program has always written it.
    Plain(dlg, "还原起始页: 从 " + current + " 到 " + text +
                   (written == winerr::kSuccess ? " <OK>" : "<失败>"));
    return written;
}

CategoryResult RestoreRecentDocuments(EraserDlg& dlg, StorageStream& stream) {
    CategoryResult result;
    Strong(dlg, "正在还原“文档”列表...");
    Plain(dlg, " ");
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    if (key.Create(regroot::kCurrentUser, kRecentDocsKey, regaccess::kAllAccess) !=
        winerr::kSuccess) {
        Strong(dlg, "没有要还原的“文档”列表 <OK>");
        return result;
    }
    DeleteRecentValues(registry, key.Get());
    bool whole = RestoreRecentValues(registry, key.Get(), stream);
    key.Close();
    std::string recent;
    std::vector<std::string> folders;
    if (LookUpSpecialFolder(dlg, csidl::kRecent, &recent)) {
        folders.push_back(recent);
    }
    bool restored = false;
    for (StoredText name = ReadStoredPath(stream); whole && !name.text.empty();) {
        StoredText path = ReadStoredPath(stream);
        bool allowed = path.whole && IsFileInFolders(path.text, folders);
        // A path that cannot be read ends the list, as any unreadable text does.
        FileRecord record = path.present
                                ? ReadFileContent(dlg.platform.files, stream, path.text, allowed)
                                : FileRecord::kStreamEnded;
        bool done = record == FileRecord::kRestored || record == FileRecord::kNothingStored;
        Plain(dlg, "正在还原文档列表" + name.text + (done ? " <OK>" : " <失败>"));
        restored = true;
        if (done) {
            ++result.items;
        } else {
            // Its record could not be written back whole (held, read-only, out of place).
            result.Fail(name.text, winerr::kWriteFault);
        }
        if (record == FileRecord::kStreamEnded) {
            break;
        }
        name = ReadStoredPath(stream);
    }
    if (restored) {
        Plain(dlg, " ");
        Strong(dlg, "正在还原“文档”列表 <OK>");
    } else {
        Strong(dlg, "没有要还原的“文档”列表 <OK>");
    }
    return result;
}

bool EraserDlg::RestoreState() {
    if (!StartCommand(*this, "正在还原状态...")) {
        return false;
    }
    Plain(*this, kSeparator);
    std::string path = SnapshotPath(platform.system);
    std::unique_ptr<StorageFile> file;
    if (path.empty() ||
        platform.storage.OpenDocfile(path, snapshot::kOpenMode, &file) != hresult::kOk) {
        Plain(*this, kNoSnapshot);
        Plain(*this, kSaveFirst);
        if (messageBoxes != nullptr) {
            messageBoxes->ShowInformation(std::string(kNoSnapshot) + "\n" + kSaveFirst, "信息");
        }
        busy = false;
        return false;
    }
    report.push_back({"history", true, RestoreHistoryItem(*this, *file)});
    report.push_back(
        {"temporary_internet_files", true, RestoreTemporaryInternetFilesItem(*this, *file)});
    report.push_back({"typed_urls", true, RestoreTypedUrlsItem(*this, *file)});
    report.push_back({"cookies", true, RestoreCookiesItem(*this, *file)});
    report.push_back({"start_page", true, RestoreStartPageItem(*this, *file)});
    Plain(*this, kSeparator);
    bool restored = false;
    report.push_back({"recent_documents", true, CategoryResult()});
    std::unique_ptr<StorageStream> stream =
        OpenItemStream(*file, snapshot::kRecent, &report.back().result);
    if (!stream) {
        Strong(*this, "无法打开“文档”列表流!");
    } else {
        report.back().result = RestoreRecentDocuments(*this, *stream);
        Plain(*this, kSeparator);
        stream.reset();
        file.reset();
        Plain(*this, " ");
        Plain(*this, "状态已还原 <OK>");
        ShowCompletion();
        restored = true;
    }
    busy = false;
    return restored;
}
