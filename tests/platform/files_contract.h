// What the erasers rely on of the file calls, checked on the in-memory double (natively)
// and on the Win32 calls (under Wine): where the two disagree, the double is wrong.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/rows.h"

template <typename FilesType>
class FilesContract : public ::testing::Test {
protected:
    static constexpr char kRoot[] = "C:\\corvane-contract";

    void SetUp() override {
        TearDown();
        ASSERT_EQ(0u, files.MakeFolder(kRoot));
        ASSERT_EQ(0u, files.MakeFolder(At("\\Sub")));
        for (const char* name : {"\\Mixed.TXT", "\\ro", "\\Sub\\f.txt"}) {
            FileHandle file;
            std::uint32_t done = 0;
            ASSERT_EQ(0u, files.Open(At(name), fileaccess::kWrite, 0, filecreate::kCreateAlways,
                                     fileattr::kNormal, &file));
            EXPECT_EQ(0u, files.Write(file, "abc", 3, &done));
            files.Close(file);
        }
        ASSERT_EQ(0u, files.SetAttributes(At("\\ro"), fileattr::kReadOnly));
    }
    void TearDown() override {
        (void)files.SetAttributes(At("\\ro"), fileattr::kNormal);
        for (const char* name : {"\\Mixed.TXT", "\\ro", "\\Sub\\f.txt", "\\Sub", ""}) {
            (void)files.RemoveFile(At(name));
            (void)files.RemoveFolder(At(name));
        }
    }
    static std::string At(const std::string& name) { return kRoot + name; }

    // The entries (folders end in a backslash, files give their size, read-only ones end
    // in "!") and the answer that ended the listing, sorted.
    std::string List(const std::string& pattern) {
        FindHandle handle;
        FindData entry;
        WinError error = files.FindFirst(At(pattern), &handle, &entry);
        std::vector<std::string> names;
        for (; error == winerr::kSuccess; error = files.FindNext(handle, &entry)) {
            bool folder = entry.attributes & fileattr::kDirectory;
            names.push_back(entry.name + (folder ? "\\" : " " + Num(entry.size)) +
                            (entry.attributes & fileattr::kReadOnly ? "!" : ""));
        }
        if (!names.empty()) {
            files.EndFind(handle);
        }
        names.push_back(Num(error));
        return SortedText(names);
    }
    // Opens with sharing (as the erasers open index files unless told) and keeps the
    // handle in *file, or closes it at once.
    std::string Open(const std::string& name, std::uint32_t access,
                     std::uint32_t share = fileshare::kRead | fileshare::kWrite,
                     FileHandle* file = nullptr) {
        FileHandle opened;
        WinError error = files.Open(At(name), access, share, filecreate::kOpenExisting,
                                    fileattr::kNormal, file ? file : &opened);
        if (error == winerr::kSuccess && file == nullptr) {
            files.Close(opened);
        }
        return Num(error);
    }
    std::string Remove(const std::string& name) { return Num(files.RemoveFile(At(name))); }
    std::string Rename(const std::string& from, const std::string& to) {
        return Num(files.RenameFile(At(from), At(to)));
    }

    FilesType files;
};

TYPED_TEST_SUITE_P(FilesContract);

// A listing gives the names as spelt. Writing past the end fills the gap with zeros;
// reading at the end reads nothing. A file is held while another handle has it open
// without sharing what is asked (the erasers' probe asks to write, sharing deletion only);
// it cannot be renamed then either. A read-only file can. A new file is not made over one.
TYPED_TEST_P(FilesContract, ListReadWriteShareAndRemove) {
    Files& files = this->files;
    FileHandle held, reader;
    char buffer[16] = {};
    std::uint32_t done = 0, probe = fileaccess::kWrite;
    auto moved = [&](WinError error) { return Num(error) + " " + std::string(buffer, done); };
    // clang-format off
    ExpectRows({
        {this->List("\\*.*"), "..\\, .\\, 18, Mixed.TXT 3, Sub\\, ro 3!"},
        {this->List("\\MIXED.txt"), "18, Mixed.TXT 3"},
        {this->List(""), "18, corvane-contract\\"},
        {Seq({this->List("\\none\\*.*"), this->List("\\*.none")}), "3 2"},
        {this->Open("\\Mixed.TXT", fileaccess::kRead | fileaccess::kWrite, 0, &held), "0"},
        {moved(files.Read(held, buffer, 2, &done)), "0 ab"},  // from the start
        {Seq({Num(files.Seek(held, 5, fileseek::kBegin, nullptr)), Num(files.Write(held, "!", 1, &done)),
              Num(done)}), "0 0 1"},
        {Seq({this->Open("\\Mixed.TXT", probe, fileshare::kDelete), this->Remove("\\Mixed.TXT")}), "32 32"},
        {this->Rename("\\Mixed.TXT", "\\m"), "32"},
        {Num(files.Seek(held, 0, fileseek::kBegin, nullptr)), "0"},
        {moved(files.Read(held, buffer, sizeof buffer, &done)), std::string("0 abc\0\0!", 8)},
        {moved(files.Read(held, buffer, sizeof buffer, &done)), "0 "},
        {Seq({Num(files.Close(held)), this->Open("\\Mixed.TXT", fileaccess::kRead, fileshare::kRead, &reader)}), "0 0"},
        {this->Open("\\Mixed.TXT", probe, fileshare::kDelete), "32"},
        {this->Open("\\Mixed.TXT", fileaccess::kRead, fileshare::kRead), "0"},
        {Seq({Num(files.Close(reader)), this->Open("\\Mixed.TXT", probe, fileshare::kDelete)}), "0 0"},
        {Seq({this->Rename("\\ro", "\\Sub\\F.TXT"), this->Rename("\\none", "\\m"), this->Rename("\\ro", "\\x\\m"),
              Num(files.Open(this->At("\\ro"), 0, 0, filecreate::kCreateNew, 0, &held))}), "183 2 3 80"},
        {Seq({this->Rename("\\ro", "\\m"), this->List("\\m"), this->Rename("\\M", "\\ro")}), "0 18, m 3! 0"},
        {Seq({this->Remove("\\ro"), Num(files.SetAttributes(this->At("\\ro"), fileattr::kNormal))}), "5 0"},
        {Seq({this->Remove("\\ro"), this->Remove("\\ro")}), "0 2"},
        {Seq({this->Remove("\\Sub"), Num(files.RemoveFolder(this->At("\\Sub")))}), "5 145"},
        {Seq({this->Remove("\\Sub\\F.TXT"), Num(files.RemoveFolder(this->At("\\Sub")))}), "0 0"},
    });
    // clang-format on
}

REGISTER_TYPED_TEST_SUITE_P(FilesContract, ListReadWriteShareAndRemove);
