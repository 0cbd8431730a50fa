// The snapshot file state.spp beside the executable: a compound file of seven streams,
// and the primitives that alone know their byte encodings. Integers are 32-bit
// little-endian; texts are counted blocks that hold their NUL; stored file contents and
// the paths of stored files are scrambled with one XOR byte.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/storage.h"
#include "platform/system.h"

namespace snapshot {
constexpr char kFileName[] = "state.spp";
constexpr std::uint32_t kCreateMode = stgm::kCreate | stgm::kReadWrite | stgm::kShareExclusive;
constexpr std::uint32_t kOpenMode = stgm::kRead | stgm::kShareExclusive;
constexpr std::uint8_t kScrambleByte = 0xC6;
constexpr std::int32_t kNoContentMarker = -1;
// Texts read back hold at most this many bytes with their NUL (paths, names).
constexpr std::uint32_t kTextCapacity = 260;

constexpr char kSaveDate[] = "SaveDate";
constexpr char kHistory[] = "History";
constexpr char kTypedUrls[] = "TypedURLs";
constexpr char kTemporaryInternetFiles[] = "TemporaryInternetFiles";
constexpr char kCookies[] = "Cookies";
constexpr char kStartPage[] = "StartPage";
constexpr char kRecent[] = "Recent";
}  // namespace snapshot

// The path of state.spp in the executable's folder; empty when the executable's path
// cannot be read whole into 260 bytes (cut, it would name another folder).
std::string SnapshotPath(System& system);

// XORs each byte with the scrambling byte; its own inverse.
void ScrambleBytes(char* bytes, size_t count);

// A counted block: the length, then the bytes. A negative length writes bytes as a
// string with its NUL. Null bytes write nothing and give false.
bool WriteBlock(StorageStream& stream, const char* bytes, std::int32_t length);
// A text block, scrambled or not (the NUL stays 0).
bool WriteText(StorageStream& stream, const std::string& text, bool scrambled = false);
bool WriteDword(StorageStream& stream, std::uint32_t value);
// Raw bytes without a length; *length becomes what was written. True when all were.
bool WriteRawText(StorageStream& stream, const char* bytes, std::uint32_t* length);

// Reads a counted block into buffer: its first `capacity` bytes, the rest passed over
// so that the stream stays on the next record. The stored length, or 0 when the block
// is not there whole (a failed read, or the end of the stream).
std::uint32_t ReadBlock(StorageStream& stream, char* buffer, std::uint32_t capacity);
// A text block read back: the text up to its NUL within what fit. `whole` is false when
// the stored text was longer than the capacity: a path so cut is never used.
struct StoredText {
    std::string text;
    bool whole = true;
    bool present = false;  // the block was there (an empty text included)
};
StoredText ReadText(StorageStream& stream, std::uint32_t capacity, bool scrambled = false);
// A DWORD field; false at the end of the stream.
bool ReadDword(StorageStream& stream, std::uint32_t* value);
// Bytes up to a NUL, the end of the stream or `max` bytes. True when at least one byte
// other than NUL was taken.
bool ReadRawText(StorageStream& stream, std::uint32_t max, std::string* text);

// A file content record of path: its size and scrambled content, or the no-content
// marker when path is empty, missing, cannot be read whole or is 2 GiB or more. The size
// stored, or -1.
std::int64_t WriteFileContent(Files& files, StorageStream& stream, const std::string& path);

// A file content record read back.
enum class StoredContent { kContent, kNoContent, kTruncated };
StoredContent ReadFileRecord(StorageStream& stream, std::string* content);
// Puts content at path: the file is replaced by a new one once that is complete, or, when
// it cannot be moved aside (an index.dat in use), overwritten in place from its first
// byte with the rest of its old length filled with zeros, its old bytes put back when
// that fails. A read-only file or a folder stays. The file's resulting size, or -1 when
// it could not be written.
std::int64_t PutFileContent(Files& files, const std::string& path, const std::string& content);
// ReadFileRecord, then PutFileContent when the record holds content and `apply` allows
// it: nothing is touched before the whole record has been read.
std::int64_t ReadFileContent(Files& files, StorageStream& stream, const std::string& path,
                             bool apply = true);
