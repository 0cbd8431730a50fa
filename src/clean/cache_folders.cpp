#include "clean/cache_folders.h"

#include <cstring>

#include "clean/folder_ops.h"
#include "clean/shell_calls.h"
#include "platform/gbk.h"
#include "state/eraser_dlg.h"

namespace {

struct ContainerKey {
    HKey root;
    const char* path;
};

constexpr char kCache5[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Extensible Cache";
constexpr char kCache4[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Extensible Cache";

// Tried in this order; the first that opens is the one read.
constexpr ContainerKey kContainerKeys[] = {
    {regroot::kCurrentUser, kCache5},
    {regroot::kLocalMachine, kCache5},
    {regroot::kCurrentUser, kCache4},
    {regroot::kLocalMachine, kCache4},
};

constexpr std::uint32_t kSubkeyNameBytes = 200;
constexpr std::uint32_t kVariableBytes = 100;

}  // namespace

// "%" is never a GBK trail byte, so a byte search finds only real ones.
bool ExpandPathVariable(Environment& environment, std::string* path) {
    size_t open = path->find('%');
    size_t close = open == std::string::npos ? open : path->find('%', open + 1);
    if (close == std::string::npos) {
        return true;
    }
    char value[kVariableBytes];
    std::uint32_t length =
        environment.GetVariable(path->substr(open + 1, close - open - 1), value, sizeof value);
    // A variable that is not set (or set to nothing) would leave the path at the root of
    // the current drive: such a path names no folder of ours.
    if (length == 0 || length >= sizeof value) {
        return false;
    }
    *path = path->substr(0, open) + std::string(value, length) + path->substr(close + 1);
    return true;
}

bool OpenExtensibleCache(RegKey* key, HKey* root, std::string* path) {
    for (const ContainerKey& candidate : kContainerKeys) {
        if (key->Open(candidate.root, candidate.path, regaccess::kAllAccess) == winerr::kSuccess) {
            *root = candidate.root;
            *path = candidate.path;
            return true;
        }
    }
    return false;
}

namespace {

// path without its last component: back over trailing separators (not the first
// character), then back to the separator before them. Empty when there is none.
std::string CutLastComponent(const std::string& path) {
    size_t end = path.size();
    while (end > 1 && IsGbkPathSeparatorAt(path, end - 1)) {
        --end;
    }
    size_t separator = GbkLastSeparator(path, end);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

// The folder that holds the container of subkey `name`; false when it has none to give.
bool ContainerParent(EraserDlg& dlg, HKey root, const std::string& keyPath, const std::string& name,
                     std::string* parent) {
    Registry& registry = dlg.platform.registry;
    RegKey container(registry);
    if (container.Open(root, keyPath + "\\" + name, regaccess::kRead) != winerr::kSuccess) {
        return false;
    }
    char value[kMaxPath];
    std::uint32_t size = sizeof value;
    if (registry.QueryValue(container.Get(), "CachePath", nullptr, value, &size) !=
        winerr::kSuccess) {
        return false;
    }
    std::string path(value, strnlen(value, size));
    if (!ExpandPathVariable(dlg.platform.environment, &path) || !FitsMaxPath(path)) {
        return false;
    }
    if (!path.empty() && path.back() == '\\' && IsGbkPathSeparatorAt(path, path.size() - 1)) {
        path.pop_back();
    }
    if (path.size() <= 1) {
        return false;
    }
    *parent = CutLastComponent(path);
    return !parent->empty();
}

// The history folder that holds index.dat (the folder itself or its History.IE5), and
// that folder's second copy.
void AddHistoryFolders(EraserDlg& dlg) {
    Files& files = dlg.platform.files;
    std::string history;
    if (!LookUpSpecialFolder(dlg, csidl::kHistory, &history)) {
        return;
    }
    if (!FindEntry(files, JoinPath(history, "index.dat"))) {
        history = JoinPath(history, "History.IE5");
        if (!FindEntry(files, JoinPath(history, "index.dat"))) {
            return;
        }
    }
    dlg.indexDatPaths.insert(history);
    std::string alternate;
    if (FindAlternateCacheFolder(dlg, history, kHistoryWord, &alternate)) {
        dlg.indexDatPaths.insert(alternate);
    }
}

}  // namespace

void GatherCacheFolders(EraserDlg& dlg) {
    dlg.indexDatPaths.clear();
    Registry& registry = dlg.platform.registry;
    RegKey key(registry);
    HKey root;
    std::string keyPath;
    if (!OpenExtensibleCache(&key, &root, &keyPath)) {
        return;
    }
    for (std::uint32_t index = 0;; ++index) {
        char name[kSubkeyNameBytes];
        std::uint32_t size = sizeof name;
        if (registry.EnumKey(key.Get(), index, name, &size) != winerr::kSuccess) {
            break;
        }
        std::string parent;
        if (ContainerParent(dlg, root, keyPath, std::string(name, size), &parent)) {
            dlg.indexDatPaths.insert(parent);
        }
    }
    key.Close();
    AddHistoryFolders(dlg);
}

bool FindAlternateCacheFolder(EraserDlg& dlg, const std::string& path, const std::string& word,
                              std::string* out) {
    size_t at = GbkFindNoCase(path, word);
    if (at == std::string::npos) {
        return false;
    }
    std::string alternate;
    size_t cacheWord = GbkFindNoCase(path, kTempInternetFilesWord);
    bool win9x = dlg.osVersion == osver::kWin98 || dlg.osVersion == osver::kWinMe;
    if (win9x && cacheWord != std::string::npos) {
        alternate = path.substr(0, cacheWord) + "Local Settings\\";
        size_t inWord = GbkFindNoCase(word, kTempInternetFilesWord);
        if (inWord != std::string::npos) {
            alternate += word.substr(inWord);
        }
    } else {
        char temp[kMaxPath];
        std::uint32_t length = dlg.platform.environment.TempPath(temp, sizeof temp);
        if (length == 0 || length >= sizeof temp || length != strnlen(temp, sizeof temp)) {
            return false;
        }
        size_t separator = GbkLastSeparator(path, at);
        size_t tail = separator == std::string::npos ? 0 : separator + 1;
        alternate = JoinPath(std::string(temp, length), path.substr(tail));
    }
    if (GbkEqualNoCase(alternate, path) || !FindEntry(dlg.platform.files, alternate)) {
        return false;
    }
    *out = alternate;
    return true;
}

std::vector<std::string> CacheFolderAndCopy(EraserDlg& dlg, CsidlFolder csidl,
                                            const std::string& word) {
    std::string folder;
    if (!LookUpSpecialFolder(dlg, csidl, &folder) || GbkFind(folder, word) == std::string::npos) {
        return {};
    }
    std::vector<std::string> folders{folder};
    std::string alternate;
    if (FindAlternateCacheFolder(dlg, folder, word, &alternate)) {
        folders.push_back(alternate);
    }
    return folders;
}
