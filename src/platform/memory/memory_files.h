// An in-memory file system with the Win32 semantics the core relies on: drives and
// shares (\\server\share), folders and files with case-insensitive names kept as they
// were spelt, attributes, share modes checked between handles (a file held open without
// sharing can be neither opened for writing nor deleted), read-only files refusing
// deletion and writing, junctions, and the error codes of the ANSI calls. Listings take
// "*.*" or a name; Open makes a missing file unless asked to open an existing one, makes
// no new one over an existing one, and truncates nothing; a file is deleted at once, even while
// open. Calls can be made to fail, writes part of the way.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/memory/fault_plan.h"

class MemoryFiles : public Files {
public:
    MemoryFiles();  // drive C: exists and is empty

    WinError FindFirst(const std::string& pattern, FindHandle* handle, FindData* entry) override;
    WinError FindNext(FindHandle handle, FindData* entry) override;
    WinError EndFind(FindHandle handle) override;
    WinError RemoveFile(const std::string& path) override;
    WinError RenameFile(const std::string& from, const std::string& to) override;
    WinError SetSecurity(const std::string& path, const void* descriptor,
                         std::uint32_t size) override;
    WinError GetAttributes(const std::string& path, std::uint32_t* attributes) override;
    WinError SetAttributes(const std::string& path, std::uint32_t attributes) override;
    WinError MakeFolder(const std::string& path) override;
    WinError RemoveFolder(const std::string& path) override;
    WinError Open(const std::string& path, std::uint32_t access, std::uint32_t share,
                  std::uint32_t disposition, std::uint32_t attributes, FileHandle* out) override;
    WinError Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override;
    WinError Write(FileHandle file, const void* data, std::uint32_t size,
                   std::uint32_t* done) override;
    WinError Seek(FileHandle file, std::int64_t distance, std::uint32_t method,
                  std::uint64_t* newPosition) override;
    WinError GetSize(FileHandle file, std::uint64_t* size) override;
    WinError Close(FileHandle file) override;

    // Set-up for tests: folders on the way are created, a new drive or share included.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& content,
                 std::uint32_t attributes = fileattr::kArchive);
    // A junction at path that leads to the folder target (which must exist).
    void AddJunction(const std::string& path, const std::string& target);
    // Inspection for tests.
    bool Exists(const std::string& path);
    // The content of a file; empty when there is none.
    std::string Content(const std::string& path);
    // Listings and files open and not yet closed; tests use it to find leaked handles.
    size_t OpenHandleCount() const { return finds_.size() + files_.size(); }

    // Calls are named "Files." and the operation ("Files.Open", "Files.FindFirst", ...;
    // EndFind and Close never fail); the argument matched is the path or pattern (for
    // FindNext the name of the entry it would return, for Read, Write, Seek and GetSize
    // the path the file was opened by). FailAfterBytes applies to "Files.Write".
    FaultPlan faults;

private:
    struct Node;
    using NodePtr = std::shared_ptr<Node>;
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Node {
        std::string name;
        std::uint32_t attributes = 0;
        std::string data;
        std::string security;  // the descriptor SetSecurity was given
        std::map<std::string, NodePtr, NameLess> children;
        NodePtr target;  // a junction's folder
        Node* parent = nullptr;
        bool IsFolder() const { return (attributes & fileattr::kDirectory) != 0; }
    };
    struct OpenFile {
        NodePtr node;
        std::string path;
        std::uint32_t access;
        std::uint32_t share;
        std::uint64_t position = 0;
    };
    struct Listing {
        std::vector<FindData> entries;
        size_t next = 1;
    };

    WinError Resolve(const std::string& path, NodePtr* out);
    WinError ResolveNames(const std::string& drive, const std::vector<std::string>& names,
                          NodePtr* out);
    WinError ResolveParent(const std::string& path, NodePtr* parent, std::string* leaf);
    static NodePtr Inside(const NodePtr& folder);
    NodePtr Ensure(const std::string& path, bool folder);
    WinError CheckSharing(const NodePtr& node, std::uint32_t access, std::uint32_t share) const;
    static void Detach(const NodePtr& node);
    static FindData EntryOf(const Node& node);
    std::vector<FindData> List(const NodePtr& folder, bool isRoot, const std::string& pattern);

    std::map<std::string, NodePtr, NameLess> drives_;
    std::map<std::uintptr_t, Listing> finds_;
    std::map<std::uintptr_t, OpenFile> files_;
    std::uintptr_t nextHandle_ = 0x100;
};
