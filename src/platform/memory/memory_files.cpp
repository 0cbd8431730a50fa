#include "platform/memory/memory_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/gbk.h"

namespace {

constexpr std::uint32_t kSettableAttributes =
    fileattr::kReadOnly | fileattr::kHidden | fileattr::kSystem | fileattr::kArchive;

// A full path's root (a drive "C:" or a share "\\server\share") and the names below it.
bool ParsePath(const std::string& path, std::string* drive, std::vector<std::string>* names) {
    std::vector<std::string> parts = SplitGbkFilePath(path);
    size_t rootParts = 1;
    if (path.size() >= 2 && IsGbkPathSeparatorAt(path, 0) && IsGbkPathSeparatorAt(path, 1)) {
        if (parts.size() < 2) {
            return false;
        }
        rootParts = 2;
        *drive = "\\\\" + parts[0] + "\\" + parts[1];
    } else if (path.size() >= 2 && path[1] == ':' &&
               std::isalpha(static_cast<unsigned char>(path[0])) && parts[0].size() == 2) {
        *drive = parts[0];  // not "C:name", which is relative to the drive's current folder
    } else {
        return false;
    }
    names->assign(parts.begin() + rootParts, parts.end());
    return true;
}

// "*" and "*.*" match every name, with or without a dot, as on Windows; any other
// pattern is a name, matched without regard to case.
bool Matches(const std::string& name, const std::string& pattern) {
    return pattern == "*.*" || pattern == "*" || GbkEqualNoCase(name, pattern);
}

// How DeleteFileA and MoveFileA open a file: for deletion, sharing everything.
constexpr std::uint32_t kShareAll = fileshare::kRead | fileshare::kWrite | fileshare::kDelete;

bool Wants(std::uint32_t access, std::uint32_t bit) {
    return (access & bit) != 0;
}

constexpr std::uint32_t kDataAccess = fileaccess::kRead | fileaccess::kWrite | fileaccess::kDelete;

}  // namespace

bool MemoryFiles::NameLess::operator()(const std::string& a, const std::string& b) const {
    return GbkAsciiLower(a) < GbkAsciiLower(b);
}

MemoryFiles::MemoryFiles() {
    AddFolder("C:\\");
}

MemoryFiles::NodePtr MemoryFiles::Inside(const NodePtr& folder) {
    return folder->target ? folder->target : folder;
}

WinError MemoryFiles::Resolve(const std::string& path, NodePtr* out) {
    std::string drive;
    std::vector<std::string> names;
    if (!ParsePath(path, &drive, &names)) {
        return winerr::kPathNotFound;
    }
    return ResolveNames(drive, names, out);
}

WinError MemoryFiles::ResolveNames(const std::string& drive, const std::vector<std::string>& names,
                                   NodePtr* out) {
    auto root = drives_.find(drive);
    if (root == drives_.end()) {
        return winerr::kPathNotFound;
    }
    NodePtr node = root->second;
    for (size_t i = 0; i < names.size(); ++i) {
        bool last = i + 1 == names.size();
        if (!node->IsFolder()) {
            return winerr::kPathNotFound;
        }
        NodePtr folder = Inside(node);
        auto child = folder->children.find(names[i]);
        if (child == folder->children.end()) {
            return last ? winerr::kFileNotFound : winerr::kPathNotFound;
        }
        node = child->second;
    }
    *out = node;
    return winerr::kSuccess;
}

WinError MemoryFiles::ResolveParent(const std::string& path, NodePtr* parent, std::string* leaf) {
    std::string drive;
    std::vector<std::string> names;
    if (!ParsePath(path, &drive, &names) || names.empty()) {
        return winerr::kPathNotFound;
    }
    *leaf = names.back();
    names.pop_back();
    WinError error = ResolveNames(drive, names, parent);
    if (error == winerr::kFileNotFound || (error == winerr::kSuccess && !(*parent)->IsFolder())) {
        return winerr::kPathNotFound;
    }
    return error;
}

MemoryFiles::NodePtr MemoryFiles::Ensure(const std::string& path, bool folder) {
    std::string drive;
    std::vector<std::string> names;
    if (!ParsePath(path, &drive, &names)) {
        return nullptr;
    }
    NodePtr& root = drives_[drive];
    if (!root) {
        root = std::make_shared<Node>();
        root->name = drive;
        root->attributes = fileattr::kDirectory;
    }
    NodePtr node = root;
    for (size_t i = 0; i < names.size(); ++i) {
        bool last = i + 1 == names.size();
        NodePtr inside = Inside(node);
        NodePtr& child = inside->children[names[i]];
        if (!child) {
            child = std::make_shared<Node>();
            child->name = names[i];
            child->parent = inside.get();
            child->attributes = (last && !folder) ? fileattr::kArchive : fileattr::kDirectory;
        }
        node = child;
    }
    return node;
}

void MemoryFiles::AddFolder(const std::string& path) {
    Ensure(path, /*folder=*/true);
}

void MemoryFiles::AddFile(const std::string& path, const std::string& content,
                          std::uint32_t attributes) {
    if (NodePtr node = Ensure(path, /*folder=*/false)) {
        node->data = content;
        node->attributes = attributes & kSettableAttributes;
    }
}

void MemoryFiles::AddJunction(const std::string& path, const std::string& target) {
    NodePtr to;
    if (Resolve(target, &to) != winerr::kSuccess) {
        return;
    }
    if (NodePtr node = Ensure(path, /*folder=*/true)) {
        node->attributes = fileattr::kDirectory | fileattr::kReparsePoint;
        node->target = Inside(to);
    }
}

bool MemoryFiles::Exists(const std::string& path) {
    NodePtr node;
    return Resolve(path, &node) == winerr::kSuccess;
}

WinError MemoryFiles::SetSecurity(const std::string& path, const void* descriptor,
                                  std::uint32_t size) {
    if (WinError fault = faults.Check("Files.SetSecurity", path)) {
        return fault;
    }
    NodePtr node;
    if (WinError error = Resolve(path, &node)) {
        return error;
    }
    node->security.assign(static_cast<const char*>(descriptor), size);
    return winerr::kSuccess;
}

std::string MemoryFiles::Content(const std::string& path) {
    NodePtr node;
    return Resolve(path, &node) == winerr::kSuccess ? node->data : std::string();
}

FindData MemoryFiles::EntryOf(const Node& node) {
    FindData entry;
    entry.attributes = node.attributes == 0 ? fileattr::kNormal : node.attributes;
    entry.size = node.data.size();
    entry.name = node.name;
    return entry;
}

std::vector<FindData> MemoryFiles::List(const NodePtr& folder, bool isRoot,
                                        const std::string& pattern) {
    std::vector<FindData> entries;
    if (!isRoot) {
        for (const char* dots : {".", ".."}) {
            if (Matches(dots, pattern)) {
                entries.push_back(FindData{fileattr::kDirectory, 0, dots});
            }
        }
    }
    for (const auto& child : Inside(folder)->children) {
        if (Matches(child.second->name, pattern)) {
            entries.push_back(EntryOf(*child.second));
        }
    }
    return entries;
}

WinError MemoryFiles::FindFirst(const std::string& pattern, FindHandle* handle, FindData* entry) {
    if (WinError fault = faults.Check("Files.FindFirst", pattern)) {
        return fault;
    }
    NodePtr folder;
    std::string leaf;
    if (WinError error = ResolveParent(pattern, &folder, &leaf)) {
        return error;
    }
    Listing listing;
    listing.entries = List(folder, folder->parent == nullptr && !folder->target, leaf);
    if (listing.entries.empty()) {
        return winerr::kFileNotFound;
    }
    *entry = listing.entries.front();
    handle->value = nextHandle_;
    nextHandle_ += 4;
    finds_[handle->value] = std::move(listing);
    return winerr::kSuccess;
}

WinError MemoryFiles::FindNext(FindHandle handle, FindData* entry) {
    Listing& listing = finds_.at(handle.value);
    if (listing.next >= listing.entries.size()) {
        return winerr::kNoMoreFiles;
    }
    if (WinError fault = faults.Check("Files.FindNext", listing.entries[listing.next].name)) {
        return fault;
    }
    *entry = listing.entries[listing.next++];
    return winerr::kSuccess;
}

WinError MemoryFiles::EndFind(FindHandle handle) {
    return finds_.erase(handle.value) == 1 ? winerr::kSuccess : winerr::kInvalidHandle;
}

// The share check of CreateFile: the new handle must allow what every open handle does
// with the file, and every open handle must allow what the new one asks for. Open
// handles that neither read, write nor delete take no part.
WinError MemoryFiles::CheckSharing(const NodePtr& node, std::uint32_t access,
                                   std::uint32_t share) const {
    static const std::pair<std::uint32_t, std::uint32_t> kPairs[] = {
        {fileaccess::kRead, fileshare::kRead},
        {fileaccess::kWrite, fileshare::kWrite},
        {fileaccess::kDelete, fileshare::kDelete},
    };
    for (const auto& open : files_) {
        const OpenFile& other = open.second;
        if (other.node != node || (other.access & kDataAccess) == 0) {
            continue;
        }
        for (const auto& pair : kPairs) {
            if ((Wants(access, pair.first) && !Wants(other.share, pair.second)) ||
                (Wants(other.access, pair.first) && !Wants(share, pair.second))) {
                return winerr::kSharingViolation;
            }
        }
    }
    return winerr::kSuccess;
}

void MemoryFiles::Detach(const NodePtr& node) {
    if (node->parent != nullptr) {
        node->parent->children.erase(node->name);
        node->parent = nullptr;
    }
}

WinError MemoryFiles::RemoveFile(const std::string& path) {
    if (WinError fault = faults.Check("Files.RemoveFile", path)) {
        return fault;
    }
    NodePtr node;
    if (WinError error = Resolve(path, &node)) {
        return error;
    }
    if (node->IsFolder() || (node->attributes & fileattr::kReadOnly)) {
        return winerr::kAccessDenied;
    }
    if (WinError error = CheckSharing(node, fileaccess::kDelete, kShareAll)) {
        return error;
    }
    Detach(node);
    return winerr::kSuccess;
}

WinError MemoryFiles::RenameFile(const std::string& from, const std::string& to) {
    if (WinError fault = faults.Check("Files.RenameFile", from)) {
        return fault;
    }
    NodePtr node, parent;
    std::string leaf;
    if (WinError error = Resolve(from, &node)) {
        return error;
    }
    if (WinError error = ResolveParent(to, &parent, &leaf)) {
        return error;
    }
    NodePtr folder = Inside(parent);
    if (folder->children.count(leaf) != 0) {
        return winerr::kAlreadyExists;
    }
    if (WinError error = CheckSharing(node, fileaccess::kDelete, kShareAll)) {
        return error;
    }
    Detach(node);
    node->name = leaf;
    node->parent = folder.get();
    folder->children[leaf] = node;
    return winerr::kSuccess;
}

WinError MemoryFiles::GetAttributes(const std::string& path, std::uint32_t* attributes) {
    if (WinError fault = faults.Check("Files.GetAttributes", path)) {
        return fault;
    }
    NodePtr node;
    if (WinError error = Resolve(path, &node)) {
        return error;
    }
    *attributes = EntryOf(*node).attributes;
    return winerr::kSuccess;
}

WinError MemoryFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
    if (WinError fault = faults.Check("Files.SetAttributes", path)) {
        return fault;
    }
    NodePtr node;
    if (WinError error = Resolve(path, &node)) {
        return error;
    }
    constexpr std::uint32_t kKept = fileattr::kDirectory | fileattr::kReparsePoint;
    node->attributes = (node->attributes & kKept) | (attributes & kSettableAttributes);
    return winerr::kSuccess;
}

WinError MemoryFiles::MakeFolder(const std::string& path) {
    if (WinError fault = faults.Check("Files.MakeFolder", path)) {
        return fault;
    }
    return Ensure(path, /*folder=*/true) ? winerr::kSuccess : winerr::kPathNotFound;
}

WinError MemoryFiles::RemoveFolder(const std::string& path) {
    if (WinError fault = faults.Check("Files.RemoveFolder", path)) {
        return fault;
    }
    NodePtr node;
    if (WinError error = Resolve(path, &node)) {
        return error;
    }
    if (!node->target && !node->children.empty()) {
        return winerr::kDirNotEmpty;
    }
    Detach(node);  // a junction goes alone; its folder stays
    return winerr::kSuccess;
}

WinError MemoryFiles::Open(const std::string& path, std::uint32_t access, std::uint32_t share,
                           std::uint32_t disposition, std::uint32_t attributes, FileHandle* out) {
    if (WinError fault = faults.Check("Files.Open", path)) {
        return fault;
    }
    NodePtr parent;
    std::string leaf;
    if (WinError error = ResolveParent(path, &parent, &leaf)) {
        return error;
    }
    NodePtr folder = Inside(parent);
    auto existing = folder->children.find(leaf);
    NodePtr node;
    if (existing != folder->children.end()) {
        node = existing->second;
        if (disposition == filecreate::kCreateNew) {
            return winerr::kFileExists;
        }
        if (node->IsFolder() ||
            (Wants(access, fileaccess::kWrite) && (node->attributes & fileattr::kReadOnly))) {
            return winerr::kAccessDenied;
        }
        if (WinError error = CheckSharing(node, access, share)) {
            return error;
        }
    } else {
        if (disposition == filecreate::kOpenExisting) {
            return winerr::kFileNotFound;
        }
        node = std::make_shared<Node>();
        node->name = leaf;
        node->attributes = (attributes & kSettableAttributes) | fileattr::kArchive;
        node->parent = folder.get();
        folder->children[leaf] = node;
    }
    out->value = nextHandle_;
    nextHandle_ += 4;
    files_[out->value] = OpenFile{node, path, access, share};
    return winerr::kSuccess;
}

WinError MemoryFiles::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
    OpenFile* open = &files_.at(file.value);
    *done = 0;  // ReadFile clears the count before it reads
    if (WinError fault = faults.Check("Files.Read", open->path)) {
        return fault;
    }
    if (!Wants(open->access, fileaccess::kRead)) {
        return winerr::kAccessDenied;
    }
    const std::string& data = open->node->data;
    std::uint64_t available = open->position < data.size() ? data.size() - open->position : 0;
    std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, available));
    if (count > 0) {
        std::memcpy(buffer, data.data() + open->position, count);
    }
    open->position += count;
    *done = count;
    return winerr::kSuccess;
}

WinError MemoryFiles::Write(FileHandle file, const void* data, std::uint32_t size,
                            std::uint32_t* done) {
    OpenFile* open = &files_.at(file.value);
    if (!Wants(open->access, fileaccess::kWrite)) {
        return winerr::kAccessDenied;
    }
    *done = 0;
    if (WinError fault = faults.Check("Files.Write", open->path)) {
        return fault;
    }
    WinError cut = winerr::kSuccess;
    std::uint64_t count = faults.Allow("Files.Write", open->path, size, &cut);
    std::string& content = open->node->data;
    if (count > 0) {
        if (content.size() < open->position + count) {
            content.resize(open->position + count, '\0');
        }
        content.replace(open->position, count, static_cast<const char*>(data), count);
    }
    open->position += count;
    *done = static_cast<std::uint32_t>(count);
    return cut;
}

// Only the moves the erasers make: from the start of the file.
WinError MemoryFiles::Seek(FileHandle file, std::int64_t distance, std::uint32_t method,
                           std::uint64_t*) {
    if (WinError fault = faults.Check("Files.Seek", files_.at(file.value).path)) {
        return fault;
    }
    if (method != fileseek::kBegin) {
        return winerr::kInvalidParameter;
    }
    files_.at(file.value).position = static_cast<std::uint64_t>(distance);
    return winerr::kSuccess;
}

WinError MemoryFiles::GetSize(FileHandle file, std::uint64_t* size) {
    if (WinError fault = faults.Check("Files.GetSize", files_.at(file.value).path)) {
        return fault;
    }
    *size = files_.at(file.value).node->data.size();
    return winerr::kSuccess;
}

WinError MemoryFiles::Close(FileHandle file) {
    return files_.erase(file.value) == 1 ? winerr::kSuccess : winerr::kInvalidHandle;
}
