// Feeds arbitrary bytes to the snapshot's record readers alone, with no command around
// them: the first byte picks how many of the next bytes are the readers to call in turn,
// the rest is the stream they read. Every reader must end inside what it was given, keep
// its record within its buffer, and leave no handle or staged file behind. On start it
// fills an empty corpus folder with the streams of a real save.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "fuzz/saved_profile.h"
#include "snapshot/snapshot_file.h"

namespace {

// A stream over the fuzzer's bytes, read as a docfile's stream reads: whole, or up to its
// end.
class BytesStream : public StorageStream {
public:
    BytesStream(const std::uint8_t* data, size_t size) : data_(data), left_(size) {}
    HResult Read(void* buffer, std::uint32_t size, std::uint32_t* done) override {
        *done = static_cast<std::uint32_t>(std::min<size_t>(size, left_));
        std::memcpy(buffer, data_, *done);
        data_ += *done;
        left_ -= *done;
        return hresult::kOk;
    }
    HResult Write(const void*, std::uint32_t, std::uint32_t* done) override {
        *done = 0;
        return stgerr::kAccessDenied;
    }

private:
    const std::uint8_t* data_;
    size_t left_;
};

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// A text read back never holds a NUL nor more than its buffer; a whole one left its NUL
// room in it.
void CheckText(const StoredText& text, std::uint32_t capacity) {
    Check(text.text.size() + text.whole <= capacity && text.text.find('\0') == std::string::npos);
    Check(text.present || (text.text.empty() && text.whole));
}

const std::string kFolder = "C:\\c";
const std::string kTarget = kFolder + "\\a.txt";

// The file system is by far the slowest part of a run: one file record an input may
// stage and commit, the others are read past.
void ReadOne(std::uint8_t reader, StorageStream& stream, MemoryFiles& files, bool* staged) {
    std::string text;
    std::uint32_t dword = 0;
    char block[16];
    switch (reader % 9) {
        case 0:
        case 1:
            CheckText(reader % 9 ? ReadStoredName(stream) : ReadStoredPath(stream),
                      snapshot::kTextCapacity);
            break;
        case 2:
            Check(!ReadTypedUrl(stream, &text) ||
                  (text.size() <= snapshot::kUrlBytes && text.find('\0') == std::string::npos));
            break;
        case 3:
            Check(!ReadStartPageText(stream, &text) || text.size() < snapshot::kUrlBytes);
            break;
        case 4: {
            ContainerRecord record;
            if (ReadContainerHead(stream, &record)) {
                CheckText(record.cachePath, snapshot::kTextCapacity);
            }
            if (ReadContainerTail(stream, &record)) {
                CheckText(record.prefix, snapshot::kTextCapacity);
            }
            break;
        }
        case 5: {
            ValueRecord record;
            if (ReadValueRecord(stream, &record) == ListRead::kRecord) {
                CheckText(record.name, snapshot::kTextCapacity);
                Check(!record.name.text.empty() &&
                      record.data.size() <= snapshot::kRecentDataBytes);
            }
            break;
        }
        case 6: {
            FileTime time;
            (void)(ReadSaveDate(stream, &time) && ReadDword(stream, &dword));
            break;
        }
        case 7:
            (void)ReadBlock(stream, block, sizeof block);
            break;
        default: {
            bool allowed = (reader & 0x80) && !std::exchange(*staged, true);
            FileRecord what = ReadFileContent(files, stream, kTarget, allowed);
            Check(what != FileRecord::kRestored || files.Exists(kTarget));
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The readers of each stream's records, in the order of kStreams.
    const std::string kReaders[] = {"\6",
                                    std::string("\1\x88\1\4\x88\1", 6),
                                    "\2\2",
                                    "\0\x88\0",
                                    std::string("\0\x88\0\x88\0", 5),
                                    "\3",
                                    std::string("\5\5\0\0\x88\0", 6)};
    fuzz::WriteSeeds(*argc, *argv, [&](int stream) {
        return static_cast<char>(kReaders[stream].size() - 1) + kReaders[stream];
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    size_t readers = std::min<size_t>(data[0] % 32 + 1, size - 1);
    BytesStream stream(data + 1 + readers, size - 1 - readers);
    static MemoryFiles files;  // one for the run: a fresh one per input costs more than the reads
    files.AddFolder(kFolder);
    bool staged = false;
    for (size_t i = 0; i < readers; ++i) {
        ReadOne(data[1 + i], stream, files, &staged);
    }
    Check(files.OpenHandleCount() == 0);
    FindData found;
    int entries = 0;
    FindScope find(files);
    for (bool more = staged && find.First(kFolder + "\\*", &found); more;
         more = find.Next(&found)) {
        entries += found.name != "." && found.name != "..";
    }
    Check(entries <= 1);  // the target alone: nothing staged is left behind
    (void)files.RemoveFile(kTarget);
    return 0;
}
