#include "platform/win32/win32_files.h"

#include <windows.h>

static_assert(kMaxPath == MAX_PATH);
static_assert(winerr::kNoMoreFiles == ERROR_NO_MORE_FILES);
static_assert(winerr::kPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(winerr::kAccessDenied == ERROR_ACCESS_DENIED);
static_assert(winerr::kFileExists == ERROR_FILE_EXISTS);
static_assert(winerr::kDiskFull == ERROR_DISK_FULL);
static_assert(winerr::kNegativeSeek == ERROR_NEGATIVE_SEEK);
static_assert(winerr::kDirNotEmpty == ERROR_DIR_NOT_EMPTY);
static_assert(winerr::kAlreadyExists == ERROR_ALREADY_EXISTS);
static_assert(winerr::kDirectory == ERROR_DIRECTORY);
static_assert(fileattr::kReadOnly == FILE_ATTRIBUTE_READONLY);
static_assert(fileattr::kDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(fileattr::kArchive == FILE_ATTRIBUTE_ARCHIVE);
static_assert(fileattr::kNormal == FILE_ATTRIBUTE_NORMAL);
static_assert(fileattr::kReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(fileaccess::kRead == GENERIC_READ && fileaccess::kWrite == GENERIC_WRITE);
static_assert(fileaccess::kDelete == DELETE);
static_assert(fileshare::kDelete == FILE_SHARE_DELETE);
static_assert(filecreate::kOpenExisting == OPEN_EXISTING);
static_assert(filecreate::kCreateAlways == CREATE_ALWAYS);
static_assert(fileseek::kEnd == FILE_END);

namespace {

HANDLE ToHandle(std::uintptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

WinError LastError() {
    return static_cast<WinError>(GetLastError());
}

WinError Result(BOOL ok) {
    return ok ? winerr::kSuccess : LastError();
}

void Fill(const WIN32_FIND_DATAA& data, FindData* entry) {
    entry->attributes = data.dwFileAttributes;
    entry->size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    entry->name = data.cFileName;
}

}  // namespace

WinError Win32Files::FindFirst(const std::string& pattern, FindHandle* handle, FindData* entry) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    handle->value = reinterpret_cast<std::uintptr_t>(find);
    Fill(data, entry);
    return winerr::kSuccess;
}

WinError Win32Files::FindNext(FindHandle handle, FindData* entry) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(ToHandle(handle.value), &data)) {
        return LastError();
    }
    Fill(data, entry);
    return winerr::kSuccess;
}

WinError Win32Files::EndFind(FindHandle handle) {
    return Result(FindClose(ToHandle(handle.value)));
}

WinError Win32Files::RemoveFile(const std::string& path) {
    return Result(DeleteFileA(path.c_str()));
}

WinError Win32Files::RenameFile(const std::string& from, const std::string& to) {
    return Result(MoveFileA(from.c_str(), to.c_str()));
}

WinError Win32Files::SetSecurity(const std::string& path, const void* descriptor, std::uint32_t) {
    return Result(
        SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, const_cast<void*>(descriptor)));
}

WinError Win32Files::GetAttributes(const std::string& path, std::uint32_t* attributes) {
    DWORD value = GetFileAttributesA(path.c_str());
    if (value == INVALID_FILE_ATTRIBUTES) {
        return LastError();
    }
    *attributes = value;
    return winerr::kSuccess;
}

WinError Win32Files::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return Result(
        SetFileAttributesA(path.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes));
}

WinError Win32Files::MakeFolder(const std::string& path) {
    return Result(CreateDirectoryA(path.c_str(), nullptr));
}

WinError Win32Files::RemoveFolder(const std::string& path) {
    return Result(RemoveDirectoryA(path.c_str()));
}

WinError Win32Files::Open(const std::string& path, std::uint32_t access, std::uint32_t share,
                          std::uint32_t disposition, std::uint32_t attributes, FileHandle* out) {
    HANDLE file =
        CreateFileA(path.c_str(), access, share, nullptr, disposition, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    out->value = reinterpret_cast<std::uintptr_t>(file);
    return winerr::kSuccess;
}

WinError Win32Files::Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) {
    DWORD count = 0;
    BOOL ok = ReadFile(ToHandle(file.value), buffer, size, &count, nullptr);
    *done = count;
    return Result(ok);
}

WinError Win32Files::Write(FileHandle file, const void* data, std::uint32_t size,
                           std::uint32_t* done) {
    DWORD count = 0;
    BOOL ok = WriteFile(ToHandle(file.value), data, size, &count, nullptr);
    *done = count;
    return Result(ok);
}

WinError Win32Files::Seek(FileHandle file, std::int64_t distance, std::uint32_t method,
                          std::uint64_t* newPosition) {
    LONG high = static_cast<LONG>(distance >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(ToHandle(file.value), static_cast<LONG>(distance & 0xFFFFFFFF),
                               &high, method);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
        return LastError();
    }
    if (newPosition != nullptr) {
        *newPosition = (std::uint64_t{static_cast<DWORD>(high)} << 32) | low;
    }
    return winerr::kSuccess;
}

WinError Win32Files::GetSize(FileHandle file, std::uint64_t* size) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(ToHandle(file.value), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return LastError();
    }
    *size = (std::uint64_t{high} << 32) | low;
    return winerr::kSuccess;
}

WinError Win32Files::Close(FileHandle file) {
    return Result(CloseHandle(ToHandle(file.value)));
}
