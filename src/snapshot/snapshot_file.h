// The snapshot file state.spp beside the executable: a compound file of seven streams,
// and the primitives that alone know their byte encodings. Integers are 32-bit
// little-endian; texts are counted blocks that hold their NUL; stored file contents and
// the paths of stored files are scrambled with one XOR byte. File contents move between
// file and stream through one fixed buffer, whatever their size.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_time.h"
#include "platform/files.h"
#include "platform/storage.h"
#include "platform/system.h"

namespace snapshot {
constexpr char kFileName[] = "state.spp";
constexpr std::uint32_t kCreateMode = stgm::kCreate | stgm::kReadWrite | stgm::kShareExclusive;
constexpr std::uint32_t kOpenMode = stgm::kRead | stgm::kShareExclusive;
constexpr std::uint8_t kScrambleByte = 0xC6;
constexpr std::int32_t kNoContentMarker = -1;
// Texts read back hold at most this many bytes with their NUL (paths, names); a typed URL
// or the start page at most kUrlBytes, a Documents-list value's data kRecentDataBytes.
constexpr std::uint32_t kTextCapacity = 260;
constexpr std::uint32_t kUrlBytes = 1000;
constexpr std::uint32_t kRecentDataBytes = 5000;

constexpr char kSaveDate[] = "SaveDate";
constexpr char kHistory[] = "History";
constexpr char kTypedUrls[] = "TypedURLs";
constexpr char kTemporaryInternetFiles[] = "TemporaryInternetFiles";
constexpr char kCookies[] = "Cookies";
constexpr char kStartPage[] = "StartPage";
constexpr char kRecent[] = "Recent";
}  // namespace snapshot

// Whether a text block's bytes are scrambled (the paths and names of stored files).
enum class Scramble { kNo, kYes };

// The path of state.spp in the executable's folder; empty when the executable's path
// cannot be read whole into 260 bytes (cut, it would name another folder).
std::string SnapshotPath(System& system);

// XORs each byte with the scrambling byte; its own inverse.
void ScrambleBytes(char* bytes, size_t count);

// Save's side of one stream. Every record goes through it, and the first write that fails
// (a full disk, a short write) stops it: the stream then holds whole records and at most
// one cut one, which a restore reads as the end of its list, never a record made of the
// pieces of two.
class StreamWriter {
public:
    explicit StreamWriter(StorageStream& stream) : stream_(stream) {}
    // Writes all of data; false, without writing, once a write has failed.
    bool Write(const void* data, std::uint32_t size);
    // Gives the stream up after a record that cannot be completed.
    void Stop() {
        ok_ = false;
        error_ = error_ != hresult::kOk ? error_ : hresult::kFail;
    }
    // Whether every write so far went through whole.
    bool ok() const { return ok_; }
    // The answer of the write that failed (a write cut short or a record given up: E_FAIL).
    HResult error() const { return error_; }

private:
    StorageStream& stream_;
    bool ok_ = true;
    HResult error_ = hresult::kOk;
};

// A counted block: the length, then the bytes. A negative length writes bytes as a
// string with its NUL. Null bytes write nothing and give false.
bool WriteBlock(StreamWriter& out, const char* bytes, std::int32_t length);
// A text block (the NUL stays 0 when scrambled).
bool WriteText(StreamWriter& out, const std::string& text, Scramble scramble = Scramble::kNo);
bool WriteDword(StreamWriter& out, std::uint32_t value);
// Raw bytes without a length; *length becomes what was written. True when all were.
bool WriteRawText(StreamWriter& out, const char* bytes, std::uint32_t* length);
// A file content record of path: its size and scrambled content, or the no-content
// marker when path is empty, missing, a folder, 2 GiB or more, or cannot be opened. A
// file that stops reading part of the way stops the stream (its size is written
// already). The size stored, or -1.
std::int64_t WriteFileContent(Files& files, StreamWriter& out, const std::string& path);

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
StoredText ReadText(StorageStream& stream, std::uint32_t capacity = snapshot::kTextCapacity,
                    Scramble scramble = Scramble::kNo);
// A DWORD field; false at the end of the stream.
bool ReadDword(StorageStream& stream, std::uint32_t* value);
// Bytes up to a NUL, the end of the stream or `max` bytes. True when at least one byte
// other than NUL was taken.
bool ReadRawText(StorageStream& stream, std::uint32_t max, std::string* text);

// What a file content record held, read back.
enum class StoredContent {
    kContent,    // its bytes are staged beside the target
    kNoContent,  // the no-content marker: the target stays untouched
    kNotStaged,  // bytes the target cannot take (not allowed, read-only, no room)
    kTruncated,  // the stream ends inside the record
};

// A file content record copied from its stream into a new file beside its target, so
// that the target is touched only once the whole record has been read: Commit then puts
// it in place. What is staged and not committed is removed again.
class StagedFile {
public:
    StagedFile(Files& files, std::string target) : files_(files), target_(std::move(target)) {}
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Reads one record; its bytes are staged only when `allowed` and the target can take
    // them. The stream is left on the next record whatever happens to the bytes.
    StoredContent Read(StorageStream& stream, bool allowed);
    // Replaces the target by the staged file, or, when it cannot be moved aside (an
    // index.dat in use), overwrites it in place from its first byte, the rest of its old
    // length with zeros, its old bytes put back when that fails. The target's resulting
    // size, or -1 when it is as it was.
    std::int64_t Commit();

private:
    Files& files_;
    std::string target_;
    std::string staged_;  // empty while nothing is staged
    std::uint32_t size_ = 0;
};

// Whole records as Restore reads them. A record the stream ends inside reads as the end
// of its list; the texts' `whole` tells whether a text fitted its buffer.

// The path of a file record of a list (scrambled), or a file name of the Recent list.
inline StoredText ReadStoredPath(StorageStream& stream) {
    return ReadText(stream, snapshot::kTextCapacity, Scramble::kYes);
}
// A text block not scrambled: a history index file's path, a container's name.
inline StoredText ReadStoredName(StorageStream& stream) {
    return ReadText(stream);
}
// The eight bytes of "SaveDate"; false when they are not all there.
bool ReadSaveDate(StorageStream& stream, FileTime* time);
// An address of "TypedURLs" or "StartPage", up to its NUL or the stream's end; false when
// there is none, or when it is longer than any save stores (the start page).
bool ReadTypedUrl(StorageStream& stream, std::string* url);
bool ReadStartPageText(StorageStream& stream, std::string* page);

// A cache container record but its index.dat's content, which is read in its place
// between the head and the tail (StagedFile::Read).
struct ContainerRecord {
    std::string name;  // empty for a name too long to be read whole
    std::uint32_t limit = 0;
    std::uint32_t options = 0;
    StoredText cachePath;
    StoredText prefix;
    std::uint32_t repair = 0;
};
// The head after the record's name; false when the stream ends inside it.
bool ReadContainerHead(StorageStream& stream, ContainerRecord* record);
// The tail after the index's content.
bool ReadContainerTail(StorageStream& stream, ContainerRecord* record);

// A value record of the Documents list: its name, type and data (kRecentDataBytes at
// most: `whole` is false for data stored longer, a value that is left out).
struct ValueRecord {
    StoredText name;
    std::uint32_t type = 0;
    std::string data;
    bool whole = true;
};
enum class ListRead { kRecord, kEnd, kCut };
ListRead ReadValueRecord(StorageStream& stream, ValueRecord* record);

// What became of one file record of a restore.
enum class FileRecord { kRestored, kNothingStored, kNotRestored, kStreamEnded };
// Reads one file content record and puts it at path when `allowed`.
FileRecord ReadFileContent(Files& files, StorageStream& stream, const std::string& path,
                           bool allowed);
