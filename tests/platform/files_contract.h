// Behaviour that every Files implementation shares with the Win32 file calls. The suite
// is instantiated for the in-memory double (natively) and for the Win32 calls (under
// Wine); where the two disagree, the double is wrong.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"

template <typename FilesType>
class FilesContract : public ::testing::Test {
protected:
    static constexpr char kRoot[] = "C:\\corvane-contract";

    void SetUp() override {
        RemoveAll(kRoot);
        ASSERT_EQ(winerr::kSuccess, files.MakeFolder(kRoot));
    }
    void TearDown() override { RemoveAll(kRoot); }

    static std::string At(const std::string& name) { return std::string(kRoot) + "\\" + name; }

    // Creates (or truncates) a file holding content.
    void MakeFile(const std::string& path, const std::string& content) {
        FileHandle file;
        ASSERT_EQ(winerr::kSuccess,
                  files.Open(path, fileaccess::kWrite, fileshare::kNone, filecreate::kCreateAlways,
                             fileattr::kNormal, &file));
        std::uint32_t done = 0;
        EXPECT_EQ(winerr::kSuccess, files.Write(file, content.data(),
                                                static_cast<std::uint32_t>(content.size()), &done));
        EXPECT_EQ(content.size(), done);
        files.Close(file);
    }
    WinError OpenHeld(const std::string& path, std::uint32_t access, std::uint32_t share,
                      FileHandle* out) {
        return files.Open(path, access, share, filecreate::kOpenExisting, fileattr::kNormal, out);
    }
    // The probe of a test run: write access, sharing deletion only.
    WinError Probe(const std::string& path) {
        FileHandle file;
        WinError error = OpenHeld(path, fileaccess::kWrite, fileshare::kDelete, &file);
        if (error == winerr::kSuccess) {
            files.Close(file);
        }
        return error;
    }
    std::vector<FindData> List(const std::string& pattern) {
        std::vector<FindData> entries;
        FindHandle handle;
        FindData entry;
        if (files.FindFirst(pattern, &handle, &entry) != winerr::kSuccess) {
            return entries;
        }
        do {
            entries.push_back(entry);
        } while (files.FindNext(handle, &entry) == winerr::kSuccess);
        EXPECT_EQ(winerr::kSuccess, files.EndFind(handle));
        return entries;
    }
    void RemoveAll(const std::string& folder) {
        for (const FindData& entry : List(folder + "\\*.*")) {
            std::string path = folder + "\\" + entry.name;
            if (entry.name == "." || entry.name == "..") {
                continue;
            }
            (void)files.SetAttributes(path, fileattr::kNormal);
            if (entry.attributes & fileattr::kDirectory) {
                RemoveAll(path);
            } else {
                (void)files.RemoveFile(path);
            }
        }
        (void)files.RemoveFolder(folder);
    }

    FilesType files;
};

TYPED_TEST_SUITE_P(FilesContract);

TYPED_TEST_P(FilesContract, WrittenBytesReadBackWithSizeAndSeek) {
    FileHandle file;
    ASSERT_EQ(
        winerr::kSuccess,
        this->files.Open(this->At("data.bin"), fileaccess::kRead | fileaccess::kWrite,
                         fileshare::kNone, filecreate::kCreateAlways, fileattr::kNormal, &file));
    std::uint32_t done = 0;
    ASSERT_EQ(winerr::kSuccess, this->files.Write(file, "hello", 5, &done));
    std::uint64_t position = 99;
    ASSERT_EQ(winerr::kSuccess, this->files.Seek(file, 8, fileseek::kBegin, &position));
    EXPECT_EQ(8u, position);
    ASSERT_EQ(winerr::kSuccess, this->files.Write(file, "!", 1, &done));
    std::uint64_t size = 0;
    ASSERT_EQ(winerr::kSuccess, this->files.GetSize(file, &size));
    EXPECT_EQ(9u, size);
    EXPECT_EQ(winerr::kNegativeSeek, this->files.Seek(file, -1, fileseek::kBegin, nullptr));
    ASSERT_EQ(winerr::kSuccess, this->files.Seek(file, -9, fileseek::kEnd, &position));
    EXPECT_EQ(0u, position);
    char buffer[16] = {};
    ASSERT_EQ(winerr::kSuccess, this->files.Read(file, buffer, sizeof buffer, &done));
    EXPECT_EQ(9u, done);
    EXPECT_EQ(std::string("hello\0\0\0!", 9), std::string(buffer, done));
    ASSERT_EQ(winerr::kSuccess, this->files.Read(file, buffer, sizeof buffer, &done));
    EXPECT_EQ(0u, done);  // at the end: success, nothing read
    EXPECT_EQ(winerr::kSuccess, this->files.Close(file));
}

TYPED_TEST_P(FilesContract, ListingGivesDotsFirstThenEveryEntryAsSpelt) {
    ASSERT_EQ(winerr::kSuccess, this->files.MakeFolder(this->At("历史")));
    this->MakeFile(this->At("Mixed.TXT"), "abc");
    this->MakeFile(this->At("noext"), "");
    std::vector<FindData> entries = this->List(this->At("*.*"));
    ASSERT_EQ(5u, entries.size());
    EXPECT_EQ(".", entries[0].name);
    EXPECT_EQ("..", entries[1].name);
    std::vector<std::string> names;
    for (size_t i = 2; i < entries.size(); ++i) {
        names.push_back(entries[i].name);
        bool folder = entries[i].name == "历史";
        EXPECT_EQ(folder, (entries[i].attributes & fileattr::kDirectory) != 0) << entries[i].name;
        if (entries[i].name == "Mixed.TXT") {
            EXPECT_EQ(3u, entries[i].size);
            EXPECT_NE(0u, entries[i].attributes & fileattr::kArchive);
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"Mixed.TXT", "noext", "历史"}), names);
}

TYPED_TEST_P(FilesContract, ListingFailuresAndSingleEntries) {
    this->MakeFile(this->At("index.dat"), "12345");
    FindHandle handle{0xbd};
    FindData entry;
    entry.name = "untouched";
    EXPECT_EQ(winerr::kPathNotFound, this->files.FindFirst(this->At("none\\*.*"), &handle, &entry));
    EXPECT_EQ(winerr::kFileNotFound, this->files.FindFirst(this->At("*.none"), &handle, &entry));
    EXPECT_EQ(winerr::kFileNotFound,
              this->files.FindFirst(std::string(this->kRoot) + "\\", &handle, &entry));
    EXPECT_EQ("untouched", entry.name);
    EXPECT_EQ(0xbdu, handle.value);

    ASSERT_EQ(winerr::kSuccess, this->files.FindFirst(this->At("INDEX.DAT"), &handle, &entry));
    EXPECT_EQ("index.dat", entry.name);
    EXPECT_EQ(5u, entry.size);
    EXPECT_EQ(winerr::kNoMoreFiles, this->files.FindNext(handle, &entry));
    this->files.EndFind(handle);

    ASSERT_EQ(winerr::kSuccess, this->files.FindFirst(this->kRoot, &handle, &entry));
    EXPECT_EQ("corvane-contract", entry.name);
    EXPECT_NE(0u, entry.attributes & fileattr::kDirectory);
    this->files.EndFind(handle);
}

TYPED_TEST_P(FilesContract, FileHeldWithoutSharingCanBeNeitherOpenedForWritingNorDeleted) {
    std::string path = this->At("held.tmp");
    this->MakeFile(path, "x");
    FileHandle held;
    ASSERT_EQ(winerr::kSuccess, this->OpenHeld(path, fileaccess::kRead | fileaccess::kWrite,
                                               fileshare::kNone, &held));
    EXPECT_EQ(winerr::kSharingViolation, this->Probe(path));
    EXPECT_EQ(winerr::kSharingViolation, this->files.RemoveFile(path));
    FileHandle reader;
    EXPECT_EQ(
        winerr::kSharingViolation,
        this->OpenHeld(path, fileaccess::kRead, fileshare::kRead | fileshare::kWrite, &reader));
    this->files.Close(held);
    EXPECT_EQ(winerr::kSuccess, this->Probe(path));
    EXPECT_EQ(winerr::kSuccess, this->files.RemoveFile(path));
    EXPECT_EQ(winerr::kFileNotFound, this->files.RemoveFile(path));
}

TYPED_TEST_P(FilesContract, ReaderThatSharesOnlyReadingStopsTheProbeNotOtherReaders) {
    std::string path = this->At("read.tmp");
    this->MakeFile(path, "x");
    FileHandle reader;
    ASSERT_EQ(winerr::kSuccess, this->OpenHeld(path, fileaccess::kRead, fileshare::kRead, &reader));
    EXPECT_EQ(winerr::kSharingViolation, this->Probe(path));
    FileHandle second;
    ASSERT_EQ(winerr::kSuccess, this->OpenHeld(path, fileaccess::kRead, fileshare::kRead, &second));
    this->files.Close(second);
    this->files.Close(reader);
}

// Windows also refuses a read-only file to an open for writing; Wine running as root
// does not, so that rule is the double's own (memory_files_test).
TYPED_TEST_P(FilesContract, ReadOnlyFileRefusesDeletionUntilCleared) {
    std::string path = this->At("readonly.tmp");
    this->MakeFile(path, "keep");
    ASSERT_EQ(winerr::kSuccess, this->files.SetAttributes(path, fileattr::kReadOnly));
    std::uint32_t attributes = 0;
    ASSERT_EQ(winerr::kSuccess, this->files.GetAttributes(path, &attributes));
    EXPECT_NE(0u, attributes & fileattr::kReadOnly);
    EXPECT_EQ(winerr::kAccessDenied, this->files.RemoveFile(path));
    FileHandle reader;
    ASSERT_EQ(winerr::kSuccess, this->OpenHeld(path, fileaccess::kRead, fileshare::kRead, &reader));
    this->files.Close(reader);
    ASSERT_EQ(winerr::kSuccess, this->files.SetAttributes(path, fileattr::kNormal));
    EXPECT_EQ(winerr::kSuccess, this->files.RemoveFile(path));
}

TYPED_TEST_P(FilesContract, DeletionSharedByAnOpenHandleTakesTheFileAtItsClose) {
    std::string path = this->At("shared.tmp");
    this->MakeFile(path, "x");
    FileHandle open;
    ASSERT_EQ(winerr::kSuccess,
              this->OpenHeld(path, fileaccess::kRead,
                             fileshare::kRead | fileshare::kWrite | fileshare::kDelete, &open));
    EXPECT_EQ(winerr::kSuccess, this->files.RemoveFile(path));
    this->files.Close(open);
    EXPECT_TRUE(this->List(path).empty());
}

TYPED_TEST_P(FilesContract, FolderRules) {
    std::string folder = this->At("Sub");
    ASSERT_EQ(winerr::kSuccess, this->files.MakeFolder(folder));
    EXPECT_EQ(winerr::kAlreadyExists, this->files.MakeFolder(this->At("SUB")));
    EXPECT_EQ(winerr::kPathNotFound, this->files.MakeFolder(this->At("none\\deeper")));
    this->MakeFile(folder + "\\f.txt", "x");
    EXPECT_EQ(winerr::kAccessDenied, this->files.RemoveFile(folder));
    EXPECT_EQ(winerr::kDirNotEmpty, this->files.RemoveFolder(folder));
    EXPECT_EQ(winerr::kDirectory, this->files.RemoveFolder(folder + "\\f.txt"));
    FileHandle file;
    EXPECT_EQ(winerr::kAccessDenied, this->OpenHeld(folder, fileaccess::kRead, 0, &file));
    ASSERT_EQ(winerr::kSuccess, this->files.RemoveFile(folder + "\\F.TXT"));
    EXPECT_EQ(winerr::kSuccess, this->files.RemoveFolder(folder));
    EXPECT_EQ(winerr::kFileNotFound, this->files.RemoveFolder(folder));
}

TYPED_TEST_P(FilesContract, OpenDispositions) {
    FileHandle file{0xbd};
    EXPECT_EQ(winerr::kFileNotFound,
              this->OpenHeld(this->At("missing"), fileaccess::kRead, fileshare::kRead, &file));
    EXPECT_EQ(winerr::kPathNotFound, this->OpenHeld(this->At("none\\missing"), fileaccess::kRead,
                                                    fileshare::kRead, &file));
    EXPECT_EQ(0xbdu, file.value);
    this->MakeFile(this->At("there.txt"), "old");
    EXPECT_EQ(winerr::kFileExists,
              this->files.Open(this->At("THERE.txt"), fileaccess::kWrite, 0, filecreate::kCreateNew,
                               fileattr::kNormal, &file));
    ASSERT_EQ(winerr::kSuccess,
              this->files.Open(this->At("there.txt"), fileaccess::kWrite, 0,
                               filecreate::kOpenAlways, fileattr::kNormal, &file));
    std::uint64_t size = 0;
    EXPECT_EQ(winerr::kSuccess, this->files.GetSize(file, &size));
    EXPECT_EQ(3u, size);
    std::uint32_t done = 0;
    EXPECT_EQ(winerr::kAccessDenied, this->files.Read(file, &size, 1, &done));
    this->files.Close(file);
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, WrittenBytesReadBackWithSizeAndSeek,
                            ListingGivesDotsFirstThenEveryEntryAsSpelt,
                            ListingFailuresAndSingleEntries,
                            FileHeldWithoutSharingCanBeNeitherOpenedForWritingNorDeleted,
                            ReaderThatSharesOnlyReadingStopsTheProbeNotOtherReaders,
                            ReadOnlyFileRefusesDeletionUntilCleared,
                            DeletionSharedByAnOpenHandleTakesTheFileAtItsClose, FolderRules,
                            OpenDispositions);
