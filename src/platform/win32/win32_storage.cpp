#include "platform/win32/win32_storage.h"

#include <windows.h>
// windows.h first: objbase.h needs its types.
#include <objbase.h>

#include <vector>

#include "platform/files.h"

static_assert(stgm::kRead == STGM_READ && stgm::kReadWrite == STGM_READWRITE);
static_assert(stgm::kShareExclusive == STGM_SHARE_EXCLUSIVE && stgm::kCreate == STGM_CREATE);
static_assert(stgerr::kFileNotFound == STG_E_FILENOTFOUND);
static_assert(stgerr::kPathNotFound == STG_E_PATHNOTFOUND);
static_assert(stgerr::kAccessDenied == STG_E_ACCESSDENIED);
static_assert(stgerr::kShareViolation == STG_E_SHAREVIOLATION);
static_assert(stgerr::kMediumFull == STG_E_MEDIUMFULL);
static_assert(stgerr::kFileAlreadyExists == STG_E_FILEALREADYEXISTS);
static_assert(fileseek::kBegin == STREAM_SEEK_SET && fileseek::kCurrent == STREAM_SEEK_CUR &&
              fileseek::kEnd == STREAM_SEEK_END);

namespace {

// A GBK path in UTF-16 through the ANSI code page, so that folders named in Chinese
// survive; empty when it cannot be converted.
std::wstring Wide(const std::string& ansi) {
    int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.c_str(), -1, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.c_str(), -1, wide.data(), size);
    wide.resize(size - 1);
    return wide;
}

class ComStream : public StorageStream {
public:
    explicit ComStream(IStream* stream) : stream_(stream) {}
    ~ComStream() override { stream_->Release(); }
    ComStream(const ComStream&) = delete;
    ComStream& operator=(const ComStream&) = delete;

    HResult Read(void* buffer, std::uint32_t size, std::uint32_t* done) override {
        ULONG count = 0;
        HRESULT result = stream_->Read(buffer, size, &count);
        *done = count;
        return result;
    }
    HResult Write(const void* data, std::uint32_t size, std::uint32_t* done) override {
        ULONG count = 0;
        HRESULT result = stream_->Write(data, size, &count);
        *done = count;
        return result;
    }

private:
    IStream* stream_;
};

class ComStorageFile : public StorageFile {
public:
    explicit ComStorageFile(IStorage* storage) : storage_(storage) {}
    ~ComStorageFile() override { storage_->Release(); }
    ComStorageFile(const ComStorageFile&) = delete;
    ComStorageFile& operator=(const ComStorageFile&) = delete;

    HResult CreateStream(const std::string& name, std::uint32_t mode,
                         std::unique_ptr<StorageStream>* out) override {
        IStream* stream = nullptr;
        HRESULT result = storage_->CreateStream(Wide(name).c_str(), mode, 0, 0, &stream);
        if (SUCCEEDED(result)) {
            *out = std::make_unique<ComStream>(stream);
        }
        return result;
    }
    HResult OpenStream(const std::string& name, std::uint32_t mode,
                       std::unique_ptr<StorageStream>* out) override {
        IStream* stream = nullptr;
        HRESULT result = storage_->OpenStream(Wide(name).c_str(), nullptr, mode, 0, &stream);
        if (SUCCEEDED(result)) {
            *out = std::make_unique<ComStream>(stream);
        }
        return result;
    }

private:
    IStorage* storage_;
};

// Called after the storage call: its arguments are evaluated in no fixed order.
HResult Finish(HRESULT result, IStorage* storage, std::unique_ptr<StorageFile>* out) {
    if (SUCCEEDED(result)) {
        *out = std::make_unique<ComStorageFile>(storage);
    }
    return result;
}

}  // namespace

HResult Win32Storage::CreateDocfile(const std::string& path, std::uint32_t mode,
                                    std::unique_ptr<StorageFile>* out) {
    std::wstring wide = Wide(path);
    if (wide.empty()) {
        return stgerr::kPathNotFound;
    }
    IStorage* storage = nullptr;
    HRESULT result = StgCreateDocfile(wide.c_str(), mode, 0, &storage);
    return Finish(result, storage, out);
}

HResult Win32Storage::OpenDocfile(const std::string& path, std::uint32_t mode,
                                  std::unique_ptr<StorageFile>* out) {
    std::wstring wide = Wide(path);
    if (wide.empty()) {
        return stgerr::kPathNotFound;
    }
    IStorage* storage = nullptr;
    HRESULT result = StgOpenStorage(wide.c_str(), nullptr, mode, nullptr, 0, &storage);
    return Finish(result, storage, out);
}
