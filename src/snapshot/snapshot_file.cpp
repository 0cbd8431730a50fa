#include "snapshot/snapshot_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "clean/folder_ops.h"
#include "platform/gbk.h"

namespace {

// Stream and file data move in chunks of this size.
constexpr std::uint32_t kChunk = 10000;

bool WriteAll(StorageStream& stream, const void* data, std::uint32_t size) {
    std::uint32_t done = 0;
    return stream.Write(data, size, &done) == hresult::kOk && done == size;
}

bool ReadAll(StorageStream& stream, void* buffer, std::uint32_t size) {
    std::uint32_t done = 0;
    return stream.Read(buffer, size, &done) == hresult::kOk && done == size;
}

// Reads and drops count bytes; false when the stream ends before.
bool Skip(StorageStream& stream, std::uint32_t count) {
    std::vector<char> scratch(std::min(count, kChunk));
    while (count > 0) {
        std::uint32_t part = std::min(count, kChunk);
        if (!ReadAll(stream, scratch.data(), part)) {
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

// The whole content of path, at most `size` bytes; false when a read fails.
bool ReadWholeFile(Files& files, const std::string& path, std::uint64_t size,
                   std::string* content) {
    FileScope file(files);
    if (file.Open(path, fileaccess::kRead,
                  fileshare::kRead | fileshare::kWrite | fileshare::kDelete,
                  filecreate::kOpenExisting) != winerr::kSuccess) {
        return false;
    }
    content->resize(size);
    std::uint64_t done = 0;
    while (done < size) {
        std::uint32_t part =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(size - done, kChunk));
        std::uint32_t got = 0;
        if (files.Read(file.Get(), content->data() + done, part, &got) != winerr::kSuccess) {
            return false;
        }
        if (got == 0) {
            break;  // the file shrank since it was listed: what is there is its content
        }
        done += got;
    }
    content->resize(done);
    return true;
}

bool WriteChunks(Files& files, FileHandle file, const char* data, std::uint64_t size) {
    for (std::uint64_t done = 0; done < size;) {
        std::uint32_t part =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(size - done, kChunk));
        std::uint32_t written = 0;
        if (files.Write(file, data + done, part, &written) != winerr::kSuccess || written != part) {
            return false;
        }
        done += part;
    }
    return true;
}

// Writes content to a new file at path; a file that cannot be completed is removed again
// rather than left cut short.
bool WriteNewFile(Files& files, const std::string& path, const std::string& content) {
    FileScope file(files);
    if (file.Open(path, fileaccess::kWrite, fileshare::kRead, filecreate::kCreateNew) !=
        winerr::kSuccess) {
        return false;
    }
    if (WriteChunks(files, file.Get(), content.data(), content.size())) {
        return true;
    }
    file.Close();
    (void)files.RemoveFile(path);
    return false;
}

// Overwrites a file that cannot be moved aside (held open, typically an index.dat in
// use) from its first byte, the rest of its old length with zeros, so no old data
// survives beyond the new content. Its old bytes are read first and written back when the
// new ones cannot all be written: the file is never left half one and half the other. The
// file's resulting size, or -1.
std::int64_t OverwriteInPlace(Files& files, const std::string& path, const std::string& content,
                              std::uint64_t oldSize) {
    std::string old, whole = content;
    if (!ReadWholeFile(files, path, oldSize, &old)) {
        return -1;
    }
    whole.resize(std::max(old.size(), content.size()), '\0');
    FileScope file(files);
    if (file.Open(path, fileaccess::kWrite, fileshare::kRead | fileshare::kWrite,
                  filecreate::kOpenExisting) != winerr::kSuccess) {
        return -1;
    }
    if (WriteChunks(files, file.Get(), whole.data(), whole.size())) {
        return static_cast<std::int64_t>(whole.size());
    }
    if (files.Seek(file.Get(), 0, fileseek::kBegin, nullptr) == winerr::kSuccess) {
        (void)WriteChunks(files, file.Get(), old.data(), old.size());
    }
    return -1;
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

bool WriteBlock(StorageStream& stream, const char* bytes, std::int32_t length) {
    if (bytes == nullptr) {
        return false;
    }
    std::uint32_t size = length < 0 ? static_cast<std::uint32_t>(std::strlen(bytes) + 1)
                                    : static_cast<std::uint32_t>(length);
    return WriteDword(stream, size) && WriteAll(stream, bytes, size);
}

bool WriteText(StorageStream& stream, const std::string& text, bool scrambled) {
    std::string bytes = text;
    if (scrambled) {
        ScrambleBytes(bytes.data(), bytes.size());
    }
    return WriteBlock(stream, bytes.c_str(), static_cast<std::int32_t>(bytes.size() + 1));
}

bool WriteDword(StorageStream& stream, std::uint32_t value) {
    unsigned char bytes[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    return WriteAll(stream, bytes, 4);
}

bool WriteRawText(StorageStream& stream, const char* bytes, std::uint32_t* length) {
    std::uint32_t done = 0;
    bool written = stream.Write(bytes, *length, &done) == hresult::kOk && done >= *length;
    *length = done;
    return written;
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

StoredText ReadText(StorageStream& stream, std::uint32_t capacity, bool scrambled) {
    std::vector<char> buffer(capacity);
    std::uint32_t length = ReadBlock(stream, buffer.data(), capacity);
    if (length <= 1) {
        return {"", true, length == 1};
    }
    std::uint32_t kept = std::min(length - 1, capacity);
    if (scrambled) {
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

std::int64_t WriteFileContent(Files& files, StorageStream& stream, const std::string& path) {
    FindData entry;
    std::string content;
    bool readable = !path.empty() && FindEntry(files, path, &entry) &&
                    (entry.attributes & fileattr::kDirectory) == 0 && entry.size < 0x80000000u &&
                    ReadWholeFile(files, path, entry.size, &content);
    if (!readable) {
        WriteDword(stream, static_cast<std::uint32_t>(snapshot::kNoContentMarker));
        return -1;
    }
    ScrambleBytes(content.data(), content.size());
    std::uint32_t size = static_cast<std::uint32_t>(content.size());
    if (!WriteDword(stream, size) || !WriteAll(stream, content.data(), size)) {
        return -1;
    }
    return size;
}

StoredContent ReadFileRecord(StorageStream& stream, std::string* content) {
    std::uint32_t stored = 0;
    if (!ReadDword(stream, &stored)) {
        return StoredContent::kTruncated;
    }
    if (static_cast<std::int32_t>(stored) < 0) {
        return StoredContent::kNoContent;
    }
    // Read in chunks: a damaged size cannot make this allocate more than the stream holds.
    content->clear();
    char chunk[kChunk];
    for (std::uint32_t left = stored; left > 0;) {
        std::uint32_t part = std::min(left, kChunk);
        if (!ReadAll(stream, chunk, part)) {
            return StoredContent::kTruncated;
        }
        content->append(chunk, part);
        left -= part;
    }
    ScrambleBytes(content->data(), content->size());
    return StoredContent::kContent;
}

std::int64_t PutFileContent(Files& files, const std::string& path, const std::string& content) {
    const auto size = static_cast<std::int64_t>(content.size());
    FindData current;
    if (!FindEntry(files, path, &current)) {
        return WriteNewFile(files, path, content) ? size : -1;
    }
    if (current.attributes & (fileattr::kReadOnly | fileattr::kDirectory)) {
        return -1;  // it can be neither deleted nor written
    }
    // The current file steps aside under a name of its own and comes back when the new
    // one cannot be completed. A name taken already keeps it in place.
    const std::string aside = path + "~";
    if (files.RenameFile(path, aside) != winerr::kSuccess) {
        return OverwriteInPlace(files, path, content, current.size);
    }
    if (!WriteNewFile(files, path, content)) {
        (void)files.RenameFile(aside, path);
        return -1;
    }
    (void)files.RemoveFile(aside);
    return size;
}

std::int64_t ReadFileContent(Files& files, StorageStream& stream, const std::string& path,
                             bool apply) {
    std::string content;
    if (ReadFileRecord(stream, &content) != StoredContent::kContent || !apply) {
        return -1;
    }
    return PutFileContent(files, path, content);
}
