#include "snapshot/snapshot_file.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "clean/folder_ops.h"
#include "platform/gbk.h"

namespace {

// Stream and file data move in chunks of this size.
constexpr std::uint32_t kChunk = 10000;

bool ReadAll(StorageStream& stream, void* buffer, std::uint32_t size) {
    std::uint32_t done = 0;
    return stream.Read(buffer, size, &done) == hresult::kOk && done == size;
}

// Reads and drops count bytes; false when the stream ends before.
bool Skip(StorageStream& stream, std::uint32_t count) {
    char scratch[kChunk];
    while (count > 0) {
        std::uint32_t part = std::min(count, kChunk);
        if (!ReadAll(stream, scratch, part)) {
            return false;
        }
        count -= part;
    }
    return true;
}

std::uint32_t LittleEndian(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// Fills count bytes of file with zeros from its file pointer.
bool WriteZeros(Files& files, FileHandle file, std::uint64_t count) {
    static const char kZeros[kChunk] = {};
    for (std::uint64_t left = count; left > 0;) {
        auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kChunk));
        if (!WriteWhole(files, file, kZeros, part)) {
            return false;
        }
        left -= part;
    }
    return true;
}

// Copies the first `size` bytes of one open file to another, from where their file
// pointers stand; false when either stops first.
bool CopyBytes(Files& files, FileHandle from, FileHandle to, std::uint64_t size) {
    char chunk[kChunk];
    for (std::uint64_t left = size; left > 0;) {
        auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kChunk));
        std::uint32_t got = 0;
        if (files.Read(from, chunk, part, &got) != winerr::kSuccess || got != part ||
            !WriteWhole(files, to, chunk, part)) {
            return false;
        }
        left -= part;
    }
    return true;
}

bool OpenShared(FileScope* file, const std::string& path, std::uint32_t access) {
    return file->Open(path, access, fileshare::kRead | fileshare::kWrite | fileshare::kDelete,
                      filecreate::kOpenExisting) == winerr::kSuccess;
}

// A copy of path's first `size` bytes in a new file beside it; its path, or empty.
std::string BackUp(Files& files, const std::string& path, std::uint64_t size) {
    FileScope from(files);
    FileScope to(files);
    if (!OpenShared(&from, path, fileaccess::kRead)) {
        return {};
    }
    std::string backup = CreateBeside(path, &to);
    if (!backup.empty() && !CopyBytes(files, from.Get(), to.Get(), size)) {
        to.Close();
        (void)files.RemoveFile(backup);
        backup.clear();
    }
    return backup;
}

// Overwrites a file that cannot be moved aside (held open, typically an index.dat in
// use) with the staged bytes from its first byte and the rest of its old length with
// zeros, so no old data survives beyond the new content. Its old bytes are copied aside
// first and written back when the new ones cannot all be written: the file is never left
// half one and half the other. The file's resulting size, or -1.
std::int64_t OverwriteInPlace(Files& files, const std::string& path, const std::string& staged,
                              std::uint64_t size, std::uint64_t oldSize) {
    std::string backup = BackUp(files, path, oldSize);
    if (backup.empty()) {
        return -1;
    }
    std::int64_t result = -1;
    {
        FileScope from(files);
        FileScope file(files);
        if (OpenShared(&from, staged, fileaccess::kRead) &&
            file.Open(path, fileaccess::kWrite, fileshare::kRead | fileshare::kWrite,
                      filecreate::kOpenExisting) == winerr::kSuccess) {
            if (CopyBytes(files, from.Get(), file.Get(), size) &&
                WriteZeros(files, file.Get(), oldSize > size ? oldSize - size : 0)) {
                result = static_cast<std::int64_t>(std::max(size, oldSize));
            } else if (files.Seek(file.Get(), 0, fileseek::kBegin, nullptr) == winerr::kSuccess &&
                       OpenShared(&from, backup, fileaccess::kRead)) {
                (void)CopyBytes(files, from.Get(), file.Get(), oldSize);
            }
        }
    }
    (void)files.RemoveFile(backup);
    return result;
}

}  // namespace

std::string SnapshotPath(System& system) {
    char path[kMaxPath];
    std::uint32_t length = system.ModuleFileName(path, kMaxPath);
    if (length == 0 || length >= kMaxPath) {
        return {};
    }
    std::string module(path, length);
    size_t slash = GbkLastSeparator(module);
    if (slash == std::string::npos) {
        return {};
    }
    std::string result = module.substr(0, slash + 1) + snapshot::kFileName;
    return FitsMaxPath(result) ? result : std::string();
}

void ScrambleBytes(char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ snapshot::kScrambleByte);
    }
}

bool StreamWriter::Write(const void* data, std::uint32_t size) {
    if (!ok_) {
        return false;
    }
    std::uint32_t done = 0;
    HResult answer = stream_.Write(data, size, &done);
    if (answer != hresult::kOk || done != size) {
        ok_ = false;
        error_ = answer != hresult::kOk ? answer : hresult::kFail;
    }
    return ok_;
}

bool WriteBlock(StreamWriter& out, const char* bytes, std::int32_t length) {
    if (bytes == nullptr) {
        return false;
    }
    std::uint32_t size = length < 0 ? static_cast<std::uint32_t>(std::strlen(bytes) + 1)
                                    : static_cast<std::uint32_t>(length);
    return WriteDword(out, size) && out.Write(bytes, size);
}

bool WriteText(StreamWriter& out, const std::string& text, Scramble scramble) {
    std::string bytes = text;
    if (scramble == Scramble::kYes) {
        ScrambleBytes(bytes.data(), bytes.size());
    }
    return WriteBlock(out, bytes.c_str(), static_cast<std::int32_t>(bytes.size() + 1));
}

bool WriteDword(StreamWriter& out, std::uint32_t value) {
    unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return out.Write(bytes, 4);
}

bool WriteRawText(StreamWriter& out, const char* bytes, std::uint32_t* length) {
    bool written = out.Write(bytes, *length);
    if (!written) {
        *length = 0;
    }
    return written;
}

std::int64_t WriteFileContent(Files& files, StreamWriter& out, const std::string& path) {
    FindData entry;
    FileScope file(files);
    bool readable = !path.empty() && FindEntry(files, path, &entry) &&
                    (entry.attributes & fileattr::kDirectory) == 0 && entry.size < 0x80000000u &&
                    OpenShared(&file, path, fileaccess::kRead);
    if (!readable) {
        WriteDword(out, static_cast<std::uint32_t>(snapshot::kNoContentMarker));
        return -1;
    }
    // The size is the listing's: a file that grew since gives its first bytes. One that
    // cannot be read as far (it shrank, or a read fails) stops the stream, since the
    // bytes already in it cannot be taken back.
    const auto size = static_cast<std::uint32_t>(entry.size);
    char chunk[kChunk];
    for (std::uint32_t left = size, first = 1; out.ok() && (left > 0 || first); first = 0) {
        std::uint32_t part = std::min(left, kChunk);
        std::uint32_t got = 0;
        if (part > 0 &&
            (files.Read(file.Get(), chunk, part, &got) != winerr::kSuccess || got != part)) {
            if (first) {
                // Nothing is written yet: the file is stored as one that cannot be read.
                WriteDword(out, static_cast<std::uint32_t>(snapshot::kNoContentMarker));
                return -1;
            }
            out.Stop();
            break;
        }
        ScrambleBytes(chunk, part);
        if (first) {
            WriteDword(out, size);
        }
        if (part > 0) {
            out.Write(chunk, part);
        }
        left -= part;
    }
    return out.ok() ? size : -1;
}

std::uint32_t ReadBlock(StorageStream& stream, char* buffer, std::uint32_t capacity) {
    std::uint32_t length = 0;
    if (!ReadDword(stream, &length)) {
        return 0;
    }
    std::uint32_t kept = std::min(length, capacity);
    if (!ReadAll(stream, buffer, kept) || !Skip(stream, length - kept)) {
        return 0;
    }
    return length;
}

StoredText ReadText(StorageStream& stream, std::uint32_t capacity, Scramble scramble) {
    std::vector<char> buffer(capacity);
    std::uint32_t length = ReadBlock(stream, buffer.data(), capacity);
    if (length <= 1) {
        return {"", true, length == 1};
    }
    std::uint32_t kept = std::min(length - 1, capacity);
    if (scramble == Scramble::kYes) {
        ScrambleBytes(buffer.data(), kept);
    }
    const char* nul = static_cast<const char*>(std::memchr(buffer.data(), '\0', kept));
    StoredText out;
    out.text.assign(buffer.data(), nul != nullptr ? nul - buffer.data() : kept);
    out.whole = length <= capacity;
    out.present = true;
    return out;
}

bool ReadDword(StorageStream& stream, std::uint32_t* value) {
    unsigned char bytes[4];
    if (!ReadAll(stream, bytes, 4)) {
        return false;
    }
    *value = LittleEndian(bytes);
    return true;
}

bool ReadRawText(StorageStream& stream, std::uint32_t max, std::string* text) {
    text->clear();
    char byte = 0;
    std::uint32_t done = 0;
    while (text->size() < max && stream.Read(&byte, 1, &done) == hresult::kOk && done == 1 &&
           byte != '\0') {
        text->push_back(byte);
    }
    return !text->empty();
}

bool ReadSaveDate(StorageStream& stream, FileTime* time) {
    return ReadDword(stream, &time->lowDateTime) && ReadDword(stream, &time->highDateTime);
}

bool ReadTypedUrl(StorageStream& stream, std::string* url) {
    return ReadRawText(stream, snapshot::kUrlBytes, url);
}

// Save stores at most kUrlBytes - 1 bytes: more is no page of ours, and a page cut short
// would be another address.
bool ReadStartPageText(StorageStream& stream, std::string* page) {
    return ReadRawText(stream, snapshot::kUrlBytes, page) && page->size() < snapshot::kUrlBytes;
}

bool ReadContainerHead(StorageStream& stream, ContainerRecord* record) {
    return ReadDword(stream, &record->limit) && ReadDword(stream, &record->options) &&
           (record->cachePath = ReadText(stream)).present;
}

bool ReadContainerTail(StorageStream& stream, ContainerRecord* record) {
    return (record->prefix = ReadText(stream)).present && ReadDword(stream, &record->repair);
}

ListRead ReadValueRecord(StorageStream& stream, ValueRecord* record) {
    record->name = ReadText(stream);
    if (record->name.text.empty()) {
        return record->name.present ? ListRead::kEnd : ListRead::kCut;
    }
    if (!ReadDword(stream, &record->type)) {
        return ListRead::kCut;
    }
    // A block that cannot be read reads as one of no bytes: the list ends at the next name.
    std::vector<char> data(snapshot::kRecentDataBytes);
    std::uint32_t size = ReadBlock(stream, data.data(), snapshot::kRecentDataBytes);
    record->whole = size <= snapshot::kRecentDataBytes;
    record->data.assign(data.data(), std::min(size, snapshot::kRecentDataBytes));
    return ListRead::kRecord;
}

StagedFile::~StagedFile() {
    if (!staged_.empty()) {
        (void)files_.RemoveFile(staged_);
    }
}

StoredContent StagedFile::Read(StorageStream& stream, bool allowed) {
    std::uint32_t stored = 0;
    if (!ReadDword(stream, &stored)) {
        return StoredContent::kTruncated;
    }
    if (static_cast<std::int32_t>(stored) < 0) {
        return StoredContent::kNoContent;
    }
    FindData current;
    FileScope file(files_);
    if (allowed && !(FindEntry(files_, target_, &current) &&
                     (current.attributes & (fileattr::kReadOnly | fileattr::kDirectory)))) {
        staged_ = CreateBeside(target_, &file);
    }
    bool staging = !staged_.empty();
    char chunk[kChunk];
    for (std::uint32_t left = stored; left > 0;) {
        std::uint32_t part = std::min(left, kChunk);
        if (!ReadAll(stream, chunk, part)) {
            return StoredContent::kTruncated;  // the destructor removes what was staged
        }
        ScrambleBytes(chunk, part);
        staging = staging && WriteWhole(files_, file.Get(), chunk, part);
        left -= part;
    }
    file.Close();
    if (!staging && !staged_.empty()) {
        (void)files_.RemoveFile(std::exchange(staged_, std::string()));
    }
    size_ = stored;
    return staging ? StoredContent::kContent : StoredContent::kNotStaged;
}

std::int64_t StagedFile::Commit() {
    if (staged_.empty()) {
        return -1;
    }
    // A file that cannot be moved aside (held open) is overwritten in place.
    FindData current;
    switch (SwapInStaged(files_, staged_, target_, &current)) {
        case SwapResult::kSwapped:
            staged_.clear();
            return static_cast<std::int64_t>(size_);
        case SwapResult::kTargetHeld:
            return OverwriteInPlace(files_, target_, staged_, size_, current.size);
        case SwapResult::kFailed:
            break;
    }
    return -1;
}

FileRecord ReadFileContent(Files& files, StorageStream& stream, const std::string& path,
                           bool allowed) {
    StagedFile staged(files, path);
    switch (staged.Read(stream, allowed)) {
        case StoredContent::kTruncated:
            return FileRecord::kStreamEnded;
        case StoredContent::kNoContent:
            return FileRecord::kNothingStored;
        case StoredContent::kNotStaged:
            return FileRecord::kNotRestored;
        case StoredContent::kContent:
            break;
    }
    return staged.Commit() < 0 ? FileRecord::kNotRestored : FileRecord::kRestored;
}
