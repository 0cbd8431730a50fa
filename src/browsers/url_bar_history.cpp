// Mozilla's URL-bar history: the entries of the "nc:urlbar-history" sequence in the
// profile's localstore.rdf are cut out in place. What follows the sequence's close marker
// moves up to the open marker, and the file keeps its size, ending in as many blanks as
// bytes were removed. The file is read through one 1000-byte block, never whole.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "browsers/browser_traces.h"
#include "clean/erasers.h"
#include "clean/folder_ops.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kLocalstoreFile[] = "localstore.rdf";
constexpr char kOpenMarker[] = "<RDF:Seq about=\"nc:urlbar-history\">";
constexpr char kCloseMarker[] = "</RDF:Seq>";
constexpr std::uint64_t kOpenLength = sizeof kOpenMarker - 1;
static_assert(kOpenLength == 35);

constexpr std::uint32_t kBlockSize = 1000;
// Each block of the search starts this many bytes before the end of the one before, so
// that a marker lying across two blocks is seen whole in the second: the longer marker,
// plus the last byte of a full block, which the search never sees.
constexpr std::uint32_t kOverlap = kOpenLength + 1;

using Block = char[kBlockSize];

// The history as file offsets: from just after the open marker to the close marker.
// 0 where a marker was not found.
struct Span {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
};

// Reads up to a block from offset into block; false when the seek or the read fails.
bool ReadAt(Files& files, FileHandle file, std::uint64_t offset, Block& block,
            std::uint32_t* count) {
    return files.Seek(file, static_cast<std::int64_t>(offset), fileseek::kBegin, nullptr) ==
               winerr::kSuccess &&
           files.Read(file, block, kBlockSize, count) == winerr::kSuccess;
}

// Writes count bytes at offset; false when the seek or the write fails or falls short.
bool WriteAt(Files& files, FileHandle file, std::uint64_t offset, const char* data,
             std::uint32_t count) {
    std::uint32_t done = 0;
    return files.Seek(file, static_cast<std::int64_t>(offset), fileseek::kBegin, nullptr) ==
               winerr::kSuccess &&
           files.Write(file, data, count, &done) == winerr::kSuccess && done == count;
}

// What the search sees of a block of count bytes: up to its first zero byte, at most
// its first 999 bytes, never past what was read.
std::string_view Searched(Block& block, std::uint32_t count) {
    block[kBlockSize - 1] = '\0';
    if (count < kBlockSize) {
        block[count] = '\0';
    }
    return std::string_view(block, strnlen(block, kBlockSize));
}

// Block by block: an open marker sets the start (a later one moves it), and once a start
// is known the first close marker of the block that holds one sets the end, even when it
// stands before the open marker (the span is then empty). Ends at the end of the file or
// at a failed read.
Span FindSpan(Files& files, FileHandle file) {
    Span span;
    Block block;
    for (std::uint64_t offset = 0;;) {
        std::uint32_t count = 0;
        if (!ReadAt(files, file, offset, block, &count)) {
            break;
        }
        std::string_view text = Searched(block, count);
        size_t open = text.find(kOpenMarker);
        if (open != std::string_view::npos) {
            span.start = offset + open + kOpenLength;
        }
        size_t close = text.find(kCloseMarker);
        if (span.start != 0 && close != std::string_view::npos) {
            span.end = offset + close;
            break;
        }
        if (count < kBlockSize) {
            break;  // the end of the file
        }
        offset += count - kOverlap;
    }
    return span;
}

// Copies the bytes from span.end to the end of the file to span.start, a block at a
// time, counting them in *moved. A failed read ends the move; false when a write fails.
bool MoveTail(Files& files, FileHandle file, const Span& span, std::uint64_t* moved) {
    Block block;
    for (;;) {
        std::uint32_t count = 0;
        if (!ReadAt(files, file, span.end + *moved, block, &count)) {
            return true;
        }
        if (!WriteAt(files, file, span.start + *moved, block, count)) {
            return false;
        }
        *moved += count;
        if (count < kBlockSize) {
            return true;
        }
    }
}

// Writes length blanks from offset in pieces of at most a block; false when a write
// fails.
bool Pad(Files& files, FileHandle file, std::uint64_t offset, std::uint64_t length) {
    Block blanks;
    std::memset(blanks, ' ', sizeof blanks);
    for (std::uint64_t written = 0; written < length;) {
        auto piece =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(kBlockSize, length - written));
        if (!WriteAt(files, file, offset + written, blanks, piece)) {
            return false;
        }
        written += piece;
    }
    return true;
}

// The profile's localstore.rdf opened with access, and the span of its URL-bar history;
// false when there is no profile or the file cannot be opened.
bool OpenLocalstore(EraserDlg& dlg, std::uint32_t access, FileScope* file, std::string* path,
                    Span* span) {
    std::string folder;
    if (!FindMozillaProfileFolder(dlg, &folder)) {
        return false;
    }
    *path = JoinPath(folder, kLocalstoreFile);
    if (!FitsMaxPath(*path) || file->Open(*path, access, fileshare::kRead | fileshare::kWrite,
                                          filecreate::kOpenExisting) != winerr::kSuccess) {
        return false;
    }
    *span = FindSpan(dlg.platform.files, file->Get());
    return true;
}

// A marker missing, the close marker first, or at most one byte between them.
bool HoldsHistory(const Span& span) {
    return span.end > span.start + 1;
}

}  // namespace

// Nothing, with the file untouched, when it holds no sequence with more than one byte
// between its markers. A write that fails ends the rewrite at once, and the file is
// reported as failed: every byte before it is already where it belongs and the file never
// gets shorter, since nothing here truncates it. The item's bytes are those cut out.
CategoryResult EraseMozillaUrlBarHistory(EraserDlg& dlg) {
    Files& files = dlg.platform.files;
    FileScope file(files);
    std::string path;
    Span span;
    CategoryResult result = CategoryResult::Sized();
    if (!OpenLocalstore(dlg, fileaccess::kRead | fileaccess::kWrite, &file, &path, &span) ||
        !HoldsHistory(span)) {
        return result;
    }
    std::uint64_t moved = 0;
    if (MoveTail(files, file.Get(), span, &moved) &&
        Pad(files, file.Get(), span.start + moved, span.end - span.start)) {
        result.Count(span.end - span.start);
    } else {
        result.Fail(path, winerr::kWriteFault);
    }
    return result;
}

CategoryResult UrlBarHistoryFound(EraserDlg& dlg) {
    FileScope file(dlg.platform.files);
    std::string path;
    Span span;
    CategoryResult result = CategoryResult::Sized();
    if (OpenLocalstore(dlg, fileaccess::kRead, &file, &path, &span) && HoldsHistory(span)) {
        result.Count(span.end - span.start);
    }
    return result;
}
