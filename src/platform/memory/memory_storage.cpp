#include "platform/memory/memory_storage.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "platform/gbk.h"

namespace {

// STGM's access field holds read (0), write (1) or read-write (2); Windows refuses the
// fourth value as it refuses any flag it does not know.
constexpr std::uint32_t kAccessField = 0x3;
constexpr HResult kInvalidFlag = static_cast<HResult>(0x800300FFu);  // STG_E_INVALIDFLAG

HResult ModeError(std::uint32_t mode) {
    return (mode & kAccessField) == kAccessField ? kInvalidFlag : hresult::kOk;
}

}  // namespace

// A stream keeps its docfile in use, as a COM stream holds its root storage.
class MemoryStorageStream : public StorageStream {
public:
    MemoryStorageStream(MemoryStorage& storage, std::shared_ptr<MemoryStorage::Docfile> file,
                        std::string name, bool writable)
        : storage_(storage), file_(std::move(file)), name_(std::move(name)), writable_(writable) {
        bytes_ = file_->streams[MemoryStorage::Key(name_)];
        ++file_->users;
    }
    ~MemoryStorageStream() override { --file_->users; }

    HResult Read(void* buffer, std::uint32_t size, std::uint32_t* done) override {
        *done = 0;
        if (HResult fault = storage_.Check("Storage.Read", name_)) {
            return fault;
        }
        size_t available = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
        WinError shortRead = winerr::kSuccess;
        std::uint64_t count = storage_.faults.Allow("Storage.Read", name_,
                                                    std::min<size_t>(size, available), &shortRead);
        std::memcpy(buffer, bytes_->data() + position_, count);
        position_ += count;
        *done = static_cast<std::uint32_t>(count);
        return static_cast<HResult>(shortRead);
    }

    HResult Write(const void* data, std::uint32_t size, std::uint32_t* done) override {
        *done = 0;
        if (!writable_) {
            return stgerr::kAccessDenied;
        }
        if (HResult fault = storage_.Check("Storage.Write", name_)) {
            return fault;
        }
        WinError shortWrite = winerr::kSuccess;
        std::uint64_t count = storage_.faults.Allow("Storage.Write", name_, size, &shortWrite);
        if (bytes_->size() < position_ + count) {
            bytes_->resize(position_ + count);
        }
        std::memcpy(bytes_->data() + position_, data, count);
        position_ += count;
        *done = static_cast<std::uint32_t>(count);
        return static_cast<HResult>(shortWrite);
    }

private:
    MemoryStorage& storage_;
    std::shared_ptr<MemoryStorage::Docfile> file_;
    std::shared_ptr<std::string> bytes_;
    std::string name_;
    bool writable_;
    size_t position_ = 0;
};

class MemoryStorageFile : public StorageFile {
public:
    MemoryStorageFile(MemoryStorage& storage, std::shared_ptr<MemoryStorage::Docfile> file,
                      bool writable)
        : storage_(storage), file_(std::move(file)), writable_(writable) {
        ++file_->users;
    }
    ~MemoryStorageFile() override { --file_->users; }

    HResult CreateStream(const std::string& name, std::uint32_t mode,
                         std::unique_ptr<StorageStream>* out) override {
        if (!writable_) {
            return stgerr::kAccessDenied;
        }
        if (HResult fault = storage_.Check("Storage.CreateStream", name)) {
            return fault;
        }
        if (HResult invalid = ModeError(mode)) {
            return invalid;
        }
        auto it = file_->streams.find(MemoryStorage::Key(name));
        if (it != file_->streams.end() && (mode & stgm::kCreate) == 0) {
            return stgerr::kFileAlreadyExists;
        }
        file_->streams[MemoryStorage::Key(name)] = std::make_shared<std::string>();
        *out = std::make_unique<MemoryStorageStream>(storage_, file_, name, /*writable=*/true);
        return hresult::kOk;
    }

    HResult OpenStream(const std::string& name, std::uint32_t mode,
                       std::unique_ptr<StorageStream>* out) override {
        if (HResult fault = storage_.Check("Storage.OpenStream", name)) {
            return fault;
        }
        if (HResult invalid = ModeError(mode)) {
            return invalid;
        }
        if (file_->streams.count(MemoryStorage::Key(name)) == 0) {
            return stgerr::kFileNotFound;
        }
        bool writable = writable_ && (mode & stgm::kReadWrite) != 0;
        *out = std::make_unique<MemoryStorageStream>(storage_, file_, name, writable);
        return hresult::kOk;
    }

private:
    MemoryStorage& storage_;
    std::shared_ptr<MemoryStorage::Docfile> file_;
    bool writable_;
};

std::string MemoryStorage::Key(const std::string& path) {
    return GbkAsciiLower(path);
}

HResult MemoryStorage::CreateDocfile(const std::string& path, std::uint32_t mode,
                                     std::unique_ptr<StorageFile>* out) {
    if (HResult fault = Check("Storage.CreateDocfile", path)) {
        return fault;
    }
    if (HResult invalid = ModeError(mode)) {
        return invalid;
    }
    std::shared_ptr<Docfile>& file = files_[Key(path)];
    if (file && file->users > 0) {
        return stgerr::kShareViolation;
    }
    if (file && (mode & stgm::kCreate) == 0) {
        return stgerr::kFileAlreadyExists;
    }
    file = std::make_shared<Docfile>();
    *out = std::make_unique<MemoryStorageFile>(*this, file, /*writable=*/true);
    return hresult::kOk;
}

HResult MemoryStorage::OpenDocfile(const std::string& path, std::uint32_t mode,
                                   std::unique_ptr<StorageFile>* out) {
    if (HResult fault = Check("Storage.OpenDocfile", path)) {
        return fault;
    }
    if (HResult invalid = ModeError(mode)) {
        return invalid;
    }
    auto it = files_.find(Key(path));
    if (it == files_.end()) {
        return stgerr::kFileNotFound;
    }
    if (it->second->users > 0) {
        return stgerr::kShareViolation;
    }
    *out = std::make_unique<MemoryStorageFile>(*this, it->second, (mode & stgm::kReadWrite) != 0);
    return hresult::kOk;
}

std::string MemoryStorage::Stream(const std::string& path, const std::string& name) const {
    auto file = files_.find(Key(path));
    if (file == files_.end() || file->second->streams.count(Key(name)) == 0) {
        return "(none)";
    }
    return *file->second->streams.at(Key(name));
}

void MemoryStorage::AddDocfile(const std::string& path,
                               const std::map<std::string, std::string>& streams) {
    auto file = std::make_shared<Docfile>();
    for (const auto& [name, bytes] : streams) {
        file->streams[Key(name)] = std::make_shared<std::string>(bytes);
    }
    files_[Key(path)] = file;
}
