// Compound files (structured storage) as the core sees them: a root storage opened in
// direct mode that holds named streams, each COM call with its HRESULT as the result.
// Paths are GBK byte strings, converted to UTF-16 with the ANSI code page at the edge;
// stream names are ASCII. COM must have been initialised on the calling thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/hresult.h"

// STGM bits of the modes the program opens files and streams with.
namespace stgm {
constexpr std::uint32_t kRead = 0x00000000;
constexpr std::uint32_t kReadWrite = 0x00000002;
constexpr std::uint32_t kShareExclusive = 0x00000010;
constexpr std::uint32_t kCreate = 0x00001000;
}  // namespace stgm

// STG_E_* results the core tells apart.
namespace stgerr {
constexpr HResult kFileNotFound = static_cast<HResult>(0x80030002u);
constexpr HResult kPathNotFound = static_cast<HResult>(0x80030003u);
constexpr HResult kAccessDenied = static_cast<HResult>(0x80030005u);
constexpr HResult kShareViolation = static_cast<HResult>(0x80030020u);
constexpr HResult kMediumFull = static_cast<HResult>(0x80030070u);
constexpr HResult kFileAlreadyExists = static_cast<HResult>(0x80030050u);
}  // namespace stgerr

// One IStream, released on destruction.
class StorageStream {
public:
    virtual ~StorageStream() = default;
    // IStream::Read: *done is what was read; at the end of the stream kOk with 0 bytes.
    [[nodiscard]] virtual HResult Read(void* buffer, std::uint32_t size, std::uint32_t* done) = 0;
    // IStream::Write: *done is what was written, also when the write fails part of the way.
    [[nodiscard]] virtual HResult Write(const void* data, std::uint32_t size,
                                        std::uint32_t* done) = 0;
};

// One root IStorage, released on destruction; its streams may outlive it.
class StorageFile {
public:
    virtual ~StorageFile() = default;
    // IStorage::CreateStream(name, mode, 0, 0). *out is set only on success.
    [[nodiscard]] virtual HResult CreateStream(const std::string& name, std::uint32_t mode,
                                               std::unique_ptr<StorageStream>* out) = 0;
    // IStorage::OpenStream(name, null, mode, 0); STG_E_FILENOTFOUND when there is none.
    [[nodiscard]] virtual HResult OpenStream(const std::string& name, std::uint32_t mode,
                                             std::unique_ptr<StorageStream>* out) = 0;
};

class Storage {
public:
    virtual ~Storage() = default;
    // StgCreateDocfile(path, mode, 0): with stgm::kCreate an existing file is replaced.
    [[nodiscard]] virtual HResult CreateDocfile(const std::string& path, std::uint32_t mode,
                                                std::unique_ptr<StorageFile>* out) = 0;
    // StgOpenStorage(path, null, mode, null, 0).
    [[nodiscard]] virtual HResult OpenDocfile(const std::string& path, std::uint32_t mode,
                                              std::unique_ptr<StorageFile>* out) = 0;
};
