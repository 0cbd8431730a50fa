// Files and folders as the core sees them: the ANSI file calls of KERNEL32, one method
// each, with the Win32 error code as the result. Paths are GBK byte strings; names are
// compared without regard to case, as the file system does.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/win_error.h"

// Bytes of a path buffer, terminator included: a path is at most 259 bytes long.
constexpr std::uint32_t kMaxPath = 260;

namespace fileattr {
constexpr std::uint32_t kReadOnly = 0x01;
constexpr std::uint32_t kHidden = 0x02;
constexpr std::uint32_t kSystem = 0x04;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kNormal = 0x80;
constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace fileattr

namespace fileaccess {
constexpr std::uint32_t kRead = 0x80000000u;
constexpr std::uint32_t kWrite = 0x40000000u;
constexpr std::uint32_t kDelete = 0x00010000u;
}  // namespace fileaccess

namespace fileshare {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kRead = 1;
constexpr std::uint32_t kWrite = 2;
constexpr std::uint32_t kDelete = 4;
}  // namespace fileshare

namespace filecreate {
constexpr std::uint32_t kCreateNew = 1;
constexpr std::uint32_t kCreateAlways = 2;
constexpr std::uint32_t kOpenExisting = 3;
constexpr std::uint32_t kOpenAlways = 4;
}  // namespace filecreate

namespace fileseek {
constexpr std::uint32_t kBegin = 0;
constexpr std::uint32_t kCurrent = 1;
constexpr std::uint32_t kEnd = 2;
}  // namespace fileseek

// What a folder listing tells of one entry (WIN32_FIND_DATAA, the fields the core reads).
struct FindData {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::string name;  // as the file system spells it
};

// An open listing or an open file. Plain values; FindScope and FileScope own them.
struct FindHandle {
    std::uintptr_t value = 0;
};
struct FileHandle {
    std::uintptr_t value = 0;
};

class Files {
public:
    virtual ~Files() = default;

    // FindFirstFileA. A pattern without wildcards finds the entry of that name; one that
    // ends in a backslash finds nothing. kPathNotFound when the folder is missing,
    // kFileNotFound when nothing matches. On failure the outputs are untouched.
    [[nodiscard]] virtual WinError FindFirst(const std::string& pattern, FindHandle* handle,
                                             FindData* entry) = 0;
    // FindNextFileA; kNoMoreFiles after the last entry.
    [[nodiscard]] virtual WinError FindNext(FindHandle handle, FindData* entry) = 0;
    virtual WinError EndFind(FindHandle handle) = 0;

    // DeleteFileA: a read-only file or a folder gives kAccessDenied, a file that another
    // handle holds open without delete sharing kSharingViolation.
    [[nodiscard]] virtual WinError RemoveFile(const std::string& path) = 0;
    // MoveFileA: gives a file or folder another name, also a read-only one. kAlreadyExists
    // when `to` exists, a sharing violation while another handle holds the file without
    // delete sharing.
    [[nodiscard]] virtual WinError RenameFile(const std::string& from, const std::string& to) = 0;
    // GetFileAttributesA and SetFileAttributesA.
    [[nodiscard]] virtual WinError GetAttributes(const std::string& path,
                                                 std::uint32_t* attributes) = 0;
    [[nodiscard]] virtual WinError SetAttributes(const std::string& path,
                                                 std::uint32_t attributes) = 0;
    // SetFileSecurityA(path, DACL_SECURITY_INFORMATION, descriptor): the file's access
    // list becomes the DACL of the self-relative descriptor of size bytes.
    [[nodiscard]] virtual WinError SetSecurity(const std::string& path, const void* descriptor,
                                               std::uint32_t size) = 0;
    // CreateDirectoryA with default security, and RemoveDirectoryA (empty folders only).
    [[nodiscard]] virtual WinError MakeFolder(const std::string& path) = 0;
    [[nodiscard]] virtual WinError RemoveFolder(const std::string& path) = 0;

    // CreateFileA with no security attributes and no template. access is a combination
    // of fileaccess bits, share of fileshare bits, disposition a filecreate value.
    [[nodiscard]] virtual WinError Open(const std::string& path, std::uint32_t access,
                                        std::uint32_t share, std::uint32_t disposition,
                                        std::uint32_t attributes, FileHandle* out) = 0;
    // ReadFile and WriteFile at the file pointer. *done is what was moved, also when a
    // write fails part of the way.
    [[nodiscard]] virtual WinError Read(FileHandle file, void* buffer, std::uint32_t size,
                                        std::uint32_t* done) = 0;
    [[nodiscard]] virtual WinError Write(FileHandle file, const void* data, std::uint32_t size,
                                         std::uint32_t* done) = 0;
    // SetFilePointer with its high part; newPosition may be null.
    [[nodiscard]] virtual WinError Seek(FileHandle file, std::int64_t distance,
                                        std::uint32_t method, std::uint64_t* newPosition) = 0;
    // GetFileSize with its high part.
    [[nodiscard]] virtual WinError GetSize(FileHandle file, std::uint64_t* size) = 0;
    // CloseHandle.
    virtual WinError Close(FileHandle file) = 0;
};

// Owns one listing and ends it when it goes out of scope.
class FindScope {
public:
    explicit FindScope(Files& files) : files_(files) {}
    ~FindScope() {
        if (open_) {
            files_.EndFind(handle_);
        }
    }
    FindScope(const FindScope&) = delete;
    FindScope& operator=(const FindScope&) = delete;

    // Starts the listing; false when FindFirst fails (entry untouched then).
    bool First(const std::string& pattern, FindData* entry) {
        open_ = files_.FindFirst(pattern, &handle_, entry) == winerr::kSuccess;
        return open_;
    }
    // The next entry; false at the end of the listing and on any failure, which ends a
    // walk instead of repeating the entry it stands on.
    bool Next(FindData* entry) { return files_.FindNext(handle_, entry) == winerr::kSuccess; }

private:
    Files& files_;
    FindHandle handle_{};
    bool open_ = false;
};

// Owns one open file and closes it when it goes out of scope.
class FileScope {
public:
    explicit FileScope(Files& files) : files_(files) {}
    ~FileScope() { Close(); }
    FileScope(const FileScope&) = delete;
    FileScope& operator=(const FileScope&) = delete;

    [[nodiscard]] WinError Open(const std::string& path, std::uint32_t access, std::uint32_t share,
                                std::uint32_t disposition) {
        Close();
        WinError error = files_.Open(path, access, share, disposition, fileattr::kNormal, &file_);
        open_ = error == winerr::kSuccess;
        return error;
    }
    void Close() {
        if (open_) {
            open_ = false;
            files_.Close(std::exchange(file_, FileHandle{}));
        }
    }
    FileHandle Get() const { return file_; }

private:
    Files& files_;
    FileHandle file_{};
    bool open_ = false;
};
