// Files and folders through the ANSI calls of KERNEL32, all present since Windows 95.
#pragma once

#include "platform/files.h"

class Win32Files : public Files {
public:
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
};
