// Save state and Restore of corvane.exe installed in a folder with Chinese characters:
// state.spp is a compound file whose streams ole32 reads back, and what Save stored comes
// back byte for byte, registry value types and the typed URLs' order
// included (a string written without its terminator reads back with one, as on NT).
// WinINet's cache entries last used after the save are dropped by Restore.
#include <windows.h>
// windows.h first: the security headers build on it.
#include <sddl.h>
// windows.h first: WinINet builds on it.
#include <wininet.h>
// windows.h first: the shell folders build on it.
#include <gmock/gmock.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/win32/win32_storage.h"
#include "wine/wine_support.h"

namespace {

constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kRecentDocs[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
constexpr char kMain[] = "Software\\Microsoft\\Internet Explorer\\Main";

std::string Folder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

void SetValue(const char* key, const char* name, DWORD type, const std::string& data) {
    HKEY handle = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                    nullptr);
    RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(handle);
}

// "type:data" of a value, "none" when it cannot be read.
std::string Value(const char* key, const char* name) {
    HKEY handle = nullptr;
    char data[1000];
    DWORD type = 0, size = sizeof data;
    LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle);
    if (error == ERROR_SUCCESS) {
        error =
            RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(handle);
    }
    return error == ERROR_SUCCESS ? std::to_string(type) + ":" + std::string(data, size) : "none";
}

// The last access time of a cache entry, as a FILETIME set through WinINet.
bool SetLastAccess(const std::string& url, DWORD high) {
    INTERNET_CACHE_ENTRY_INFOA info = {};
    info.dwStructSize = sizeof info;
    info.LastAccessTime = {0, high};
    return SetUrlCacheEntryInfoA(url.c_str(), &info, CACHE_ENTRY_ACCTIME_FC) != FALSE;
}

// The streams of a compound file that can be opened, as ole32 reads them.
std::map<std::string, std::string> Streams(const std::string& path) {
    const char* const kNames[] = {"Cookies",  "History",   "Recent",
                                  "SaveDate", "StartPage", "TemporaryInternetFiles",
                                  "TypedURLs"};
    CoInitialize(nullptr);
    Win32Storage storage;
    std::unique_ptr<StorageFile> file;
    std::map<std::string, std::string> streams;
    (void)storage.OpenDocfile(path, stgm::kRead | stgm::kShareExclusive, &file);
    for (const char* name : kNames) {
        std::unique_ptr<StorageStream> stream;
        char buffer[4096];
        std::uint32_t done = 0;
        if (file &&
            file->OpenStream(name, stgm::kRead | stgm::kShareExclusive, &stream) == hresult::kOk) {
            for (std::string& bytes = streams[name];
                 stream->Read(buffer, sizeof buffer, &done) == hresult::kOk && done > 0;) {
                bytes.append(buffer, done);
            }
        }
    }
    file.reset();
    CoUninitialize();
    return streams;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool InCache(const std::string& url) {
    DWORD size = 0;
    return GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

class SnapshotUnderWine : public WineTest {
protected:
    void SetUp() override {
        redirectCacheFolders = false;
        WineTest::SetUp();
        CreateDirectoryA(program.c_str(), nullptr);
        CopyFileA("corvane.exe", (program + "\\corvane.exe").c_str(), FALSE);
    }
    void TearDown() override {
        for (const std::string& path : {cookie, recent}) {
            DeleteFileA(path.c_str());
        }
        SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
        SHDeleteValueA(HKEY_CURRENT_USER, kRecentDocs, "corvane");
        ShellDelete(program, false);
        WineTest::TearDown();
    }
    // The exit code of corvane.exe run from its Chinese folder.
    std::string Run(const char* command) {
        return Child("隐私工具\\corvane.exe " + std::string(command)).Finish()[0];
    }

    const std::string program = "隐私工具";  // beside the tests, in the tests' folder
    const std::string cookie = Folder(CSIDL_COOKIES) + "\\corvane@快照[1].txt";
    const std::string recent = Folder(CSIDL_RECENT) + "\\报告.lnk";
};

// The SIDs of the entries of a file's access list, each with its mask ("S-1-5-18 1f01ff").
Lines AccessEntries(const std::string& path) {
    std::vector<char> descriptor(4096);
    DWORD needed = 0;
    BOOL present = FALSE, defaulted = FALSE;
    ACL* acl = nullptr;
    Lines entries;
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), 4096,
                          &needed) ||
        !GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted) || !present) {
        return {"no access list"};
    }
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        char* sid = nullptr;
        char mask[16];
        GetAce(acl, i, reinterpret_cast<void**>(&ace));
        ConvertSidToStringSidA(&ace->SidStart, &sid);
        std::snprintf(mask, sizeof mask, " %lx", static_cast<unsigned long>(ace->Mask));
        entries.push_back(std::string(sid != nullptr ? sid : "?") + mask);
        LocalFree(sid);
    }
    return entries;
}

TEST_F(SnapshotUnderWine, RoundTripFromAChineseFolder) {
    const std::string cookieBytes("corvane\n1\0\xFF\xFE", 12), link("L\0\x01\xC4\xE3", 5);
    ASSERT_TRUE(WriteFileBytes(cookie, cookieBytes));
    ASSERT_TRUE(WriteFileBytes(recent, link));
    SetValue(kTypedUrls, "url1", REG_SZ, std::string("http://甲.test/\0", 16));
    SetValue(kTypedUrls, "url2", REG_SZ, std::string("http://b.test/\0", 15));
    SetValue(kRecentDocs, "corvane", REG_BINARY, std::string("\x01\x00\xFF", 3));
    SetValue(kMain, "起始页", REG_SZ, std::string("http://首页.test/\0", 17));
    ASSERT_TRUE(Commit("http://kept.test/"));
    ASSERT_TRUE(Commit("http://later.test/"));
    ASSERT_TRUE(SetLastAccess("http://kept.test/", 0x01000000));   // 1987
    ASSERT_TRUE(SetLastAccess("http://later.test/", 0x02000000));  // 2220, after any save

    std::uint64_t before = 0, saved = 0, after = 0;  // FILETIMEs, little-endian as on x86
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&before));
    ASSERT_EQ("0", Run("/save"));
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&after));
    std::map<std::string, std::string> streams = Streams(program + "\\state.spp");
    Lines names;
    for (const auto& stream : streams) {
        names.push_back(stream.first);
    }
    EXPECT_EQ(Lines({"Cookies", "History", "Recent", "SaveDate", "StartPage",
                     "TemporaryInternetFiles", "TypedURLs"}),
              names);
    EXPECT_EQ(std::string("http://甲.test/\0http://b.test/\0", 31), streams["TypedURLs"]);
    EXPECT_EQ("http://首页.test/", streams["StartPage"]);
    ASSERT_EQ(8u, streams["SaveDate"].size());
    std::memcpy(&saved, streams["SaveDate"].data(), 8);
    EXPECT_TRUE(before <= saved && saved <= after) << before << " " << saved << " " << after;
    // It holds the user's traces: nobody but its owner, SYSTEM and the Administrators may
    // open it (Wine keeps what its file modes can: the owner's and SYSTEM's entries).
    for (const std::string& entry : AccessEntries(program + "\\state.spp")) {
        bool ours = entry.rfind("S-1-5-18 ", 0) == 0 || entry.rfind("S-1-5-32-544 ", 0) == 0 ||
                    entry.rfind("S-1-5-21-", 0) == 0;
        EXPECT_TRUE(ours && entry.size() > 7 && entry.substr(entry.size() - 7) == " 1f01ff")
            << entry;
    }

    // Everything changed or gone, then put back.
    DeleteFileA(cookie.c_str());
    WriteFileBytes(recent, "changed, and longer than before");
    SHDeleteKeyA(HKEY_CURRENT_USER, kTypedUrls);
    SetValue(kTypedUrls, "url9", REG_SZ, "http://new.test/");
    SHDeleteValueA(HKEY_CURRENT_USER, kRecentDocs, "corvane");
    SetValue(kMain, "起始页", REG_SZ, "about:blank");
    ASSERT_EQ("0", Run("/restore"));

    EXPECT_EQ(cookieBytes, ReadFileBytes(cookie));
    EXPECT_EQ(link, ReadFileBytes(recent));  // replaced whole, nothing left beside it
    for (const char* beside : {"~", "\\..\\~cv0.tmp"}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((recent + beside).c_str()));
    }
    EXPECT_EQ(std::string("1:http://甲.test/\0", 18), Value(kTypedUrls, "url1"));
    EXPECT_EQ(std::string("1:http://b.test/\0", 17), Value(kTypedUrls, "url2"));
    EXPECT_EQ("none", Value(kTypedUrls, "url9"));
    EXPECT_EQ(std::string("3:\x01\x00\xFF", 5), Value(kRecentDocs, "corvane"));
    EXPECT_EQ(std::string("1:http://首页.test/\0", 20), Value(kMain, "起始页"));
    EXPECT_TRUE(InCache("http://kept.test/"));
    EXPECT_FALSE(InCache("http://later.test/"));
}

}  // namespace
