// What Save state and Restore rely on of compound files, checked on the in-memory double
// and on ole32. StorageTraits<T>::Folder names a writable folder with Chinese characters
// in its name (GBK), so that the path conversion is part of the contract.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/rows.h"
#include "platform/storage.h"

template <typename StorageType>
struct StorageTraits;

template <typename StorageType>
class StorageContract : public ::testing::Test {
protected:
    static constexpr std::uint32_t kCreate =
        stgm::kCreate | stgm::kReadWrite | stgm::kShareExclusive;
    static constexpr std::uint32_t kOpen = stgm::kRead | stgm::kShareExclusive;

    // "hresult bytes" of reading stream `name` whole, in reads of at most 7000 bytes.
    std::string ReadStream(StorageFile& file, const char* name) {
        std::unique_ptr<StorageStream> stream;
        HResult result = file.OpenStream(name, kOpen, &stream);
        if (result != hresult::kOk) {
            return Hex(result);
        }
        std::string bytes;
        char buffer[7000];
        std::uint32_t done = 0;
        do {
            result = stream->Read(buffer, sizeof buffer, &done);
            bytes.append(buffer, done);
        } while (result == hresult::kOk && done != 0);
        return Hex(result) + " " + bytes;
    }

    StorageType storage;
    const std::string path = StorageTraits<StorageType>::Folder() + "\\state.spp";
};

TYPED_TEST_SUITE_P(StorageContract);

TYPED_TEST_P(StorageContract, StreamsWrittenReadBackExclusively) {
    using C = StorageContract<TypeParam>;
    const std::string big(5000, 'b');  // past the 4096 bytes kept in the mini stream
    std::unique_ptr<StorageFile> file;
    ASSERT_EQ(hresult::kOk, this->storage.CreateDocfile(this->path, C::kCreate, &file));
    std::uint32_t done = 0;
    for (const char* name : {"SaveDate", "History"}) {
        std::unique_ptr<StorageStream> stream;
        ASSERT_EQ(hresult::kOk, file->CreateStream(name, C::kCreate, &stream));
        const std::string& bytes = name[0] == 'S' ? std::string("12345678") : big;
        EXPECT_EQ(hresult::kOk, stream->Write(bytes.data(), bytes.size(), &done));
        EXPECT_EQ(bytes.size(), done);
    }
    std::unique_ptr<StorageFile> second;
    EXPECT_EQ(stgerr::kShareViolation, this->storage.OpenDocfile(this->path, C::kOpen, &second));
    file.reset();

    ASSERT_EQ(hresult::kOk, this->storage.OpenDocfile(this->path, C::kOpen, &file));
    EXPECT_EQ("0 12345678", this->ReadStream(*file, "savedate"));
    EXPECT_EQ("0 " + big, this->ReadStream(*file, "History"));
    EXPECT_EQ(Hex(stgerr::kFileNotFound), this->ReadStream(*file, "Cookies"));
    file.reset();

    // Created again, the file holds none of the earlier streams.
    ASSERT_EQ(hresult::kOk, this->storage.CreateDocfile(this->path, C::kCreate, &file));
    file.reset();
    ASSERT_EQ(hresult::kOk, this->storage.OpenDocfile(this->path, C::kOpen, &file));
    EXPECT_EQ(Hex(stgerr::kFileNotFound), this->ReadStream(*file, "History"));
    file.reset();
    EXPECT_EQ(Hex(0x800300FF), Hex(this->storage.OpenDocfile(this->path, 3, &file)));  // 4th mode
    EXPECT_EQ(stgerr::kFileNotFound,
              this->storage.OpenDocfile(this->path + ".missing", C::kOpen, &file));
}

REGISTER_TYPED_TEST_SUITE_P(StorageContract, StreamsWrittenReadBackExclusively);
