// The AutoComplete step on Wine's real registry and security calls. The area is seeded
// with the Win32 calls themselves (the user's SID from the process token, access lists
// that let only LocalSystem in), the step runs through Win32Platform, and the registry
// is read back the same way. NT 4, 2000 and XP take the NT road below the current
// user's SID key; 98 and Server 2003 the 9x road below the local machine.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they build on.
#include <sddl.h>
#include <shlwapi.h>

#include <map>
#include <string>
#include <vector>

#include "app/eraser_dlg.h"
#include "autocomplete/autocomplete_eraser.h"
#include "autocomplete/key_access.h"
#include "clean/erasers.h"
#include "platform/gbk.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"
#include "wine/wine_support.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kProvider = autocomplete::kProviderPath;
const std::string kGuid = autocomplete::kTypeKey;
const std::string kEmailLine = "Form: \"email\" - cleared";
const std::string kSearchLine = "Form: \"q\" (Search engines form)  - cleared";
const Lines kItems = {"email:StringIndex", "email:StringData", "q:StringIndex", "q:StringData"};

bool NtRoad() {
    std::string winver = CurrentWinver();
    return winver == "winxp" || winver == "win2k" || winver == "nt40";
}

std::vector<BYTE> TokenUserSid() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buffer[256];
    DWORD length = 0;
    GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &length);
    CloseHandle(token);
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

std::string SidText(const void* sid) {
    char* text = nullptr;
    ConvertSidToStringSidA(const_cast<void*>(sid), &text);
    std::string out = text != nullptr ? text : "";
    LocalFree(text);
    return out;
}

std::string UserName() {
    char name[260];
    DWORD size = sizeof name;
    GetUserNameA(name, &size);
    return name;
}

// A DACL descriptor letting only LocalSystem in, or (lock false) a null DACL.
LONG SetList(HKEY root, const std::string& path, bool lock) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &key);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID system = nullptr;
    AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system);
    BYTE acl[64];
    InitializeAcl(reinterpret_cast<PACL>(acl), sizeof acl, ACL_REVISION);
    AddAccessAllowedAceEx(reinterpret_cast<PACL>(acl), ACL_REVISION, CONTAINER_INHERIT_ACE,
                          KEY_ALL_ACCESS, system);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, lock ? reinterpret_cast<PACL>(acl) : nullptr,
                              FALSE);
    status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    FreeSid(system);
    RegCloseKey(key);
    return status;
}

// Opens every key below path again (the owner may always change a list), then deletes,
// each key named below its parent: the paths from the root may be too long to name.
void Remove(HKEY parent, const std::string& path) {
    SetList(parent, path, false);
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char name[600];
        std::string last;
        while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS && name != last) {
            last = name;
            Remove(key, name);
        }
        RegCloseKey(key);
    }
    SHDeleteKeyA(parent, path.c_str());
}

bool Exists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, READ_CONTROL, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::vector<BYTE> AccessList(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    std::vector<BYTE> descriptor(1024);
    DWORD size = static_cast<DWORD>(descriptor.size());
    if (RegOpenKeyExA(root, path.c_str(), 0, READ_CONTROL, &key) != ERROR_SUCCESS ||
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.data(), &size) !=
            ERROR_SUCCESS) {
        size = 0;
    }
    RegCloseKey(key);
    descriptor.resize(size);
    return descriptor;
}

class AutoCompleteUnderWine : public ::testing::Test {
protected:
    AutoCompleteUnderWine()
        : sidText(SidText(TokenUserSid().data())),
          ntUserKey(kProvider + sidText),
          ntTypeKey(ntUserKey + "\\Data\\" + kGuid),
          nineXUserKey(kProvider + UserName()),
          nineXTypeKey(nineXUserKey + "\\Data\\" + kGuid) {}

    void SetUp() override {
        hadProvider[0] = Exists(HKEY_CURRENT_USER, kProvider);
        hadProvider[1] = Exists(HKEY_LOCAL_MACHINE, kProvider);
        CleanUp();
    }
    void TearDown() override {
        CleanUp();
        if (!hadProvider[0]) {
            SHDeleteKeyA(HKEY_CURRENT_USER, kProvider.c_str());
        }
        if (!hadProvider[1]) {
            SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProvider.c_str());
        }
        EXPECT_EQ(hadProvider[0], Exists(HKEY_CURRENT_USER, kProvider));
        EXPECT_EQ(hadProvider[1], Exists(HKEY_LOCAL_MACHINE, kProvider));
        DeleteSettingsKey();
    }
    void CleanUp() {
        Remove(HKEY_CURRENT_USER, ntUserKey);
        Remove(HKEY_LOCAL_MACHINE, nineXUserKey);
    }

    // The area below root; the NT one with every key locked to LocalSystem, as Windows
    // keeps it, the 9x one with Wine's default lists (Windows 9x has none). The items are
    // made below the subtype key. Returns the paths of the keys above them.
    Lines Seed(HKEY root, const std::string& userKey, const Lines& items) {
        const bool lock = root == HKEY_CURRENT_USER;
        const std::string typeKey = userKey + "\\Data\\" + kGuid;
        Lines paths = {userKey, userKey + "\\Data", userKey + "\\Data\\other-type", typeKey,
                       typeKey + "\\" + kGuid};
        for (const std::string& path : paths) {
            CreateKey(root, path);
        }
        HKEY subtype = nullptr;
        RegOpenKeyExA(root, paths.back().c_str(), 0, KEY_ALL_ACCESS, &subtype);
        for (const std::string& item : items) {
            CreateKey(subtype, item);
            if (lock) {
                EXPECT_EQ(ERROR_SUCCESS, SetList(subtype, item, true)) << item;
            }
        }
        RegCloseKey(subtype);
        for (const std::string& path : paths) {
            if (lock) {
                EXPECT_EQ(ERROR_SUCCESS, SetList(root, path, true)) << path;
            }
        }
        return paths;
    }
    static void CreateKey(HKEY parent, const std::string& path) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr))
            << path;
        RegCloseKey(key);
    }
    // The lists of the items below the subtype key, reached through a handle that asks
    // for no right.
    std::map<std::string, std::vector<BYTE>> ItemLists(HKEY root, const std::string& userKey,
                                                       const Lines& items) {
        std::map<std::string, std::vector<BYTE>> lists;
        HKEY subtype = nullptr;
        std::string path = userKey + "\\Data\\" + kGuid + "\\" + kGuid;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, path.c_str(), 0, 0, &subtype));
        for (const std::string& item : items) {
            lists[item] = AccessList(subtype, item);
        }
        RegCloseKey(subtype);
        return lists;
    }
    std::map<std::string, std::vector<BYTE>> AccessLists(HKEY root, const Lines& paths) {
        std::map<std::string, std::vector<BYTE>> lists;
        for (const std::string& path : paths) {
            lists[path] = AccessList(root, path);
        }
        return lists;
    }
    Lines Erase(bool testMode, bool* found) {
        Win32Platform win32;
        EraserDlg dlg(win32.platform);
        *found = EraseAutoComplete(dlg, testMode, dlg.log);
        Lines lines;
        for (const LogLine& line : dlg.log.Lines()) {
            lines.push_back(line.text);
        }
        return lines;
    }

    const std::string sidText;
    const std::string ntUserKey;
    const std::string ntTypeKey;
    const std::string nineXUserKey;
    const std::string nineXTypeKey;
    bool hadProvider[2] = {};
};

TEST_F(AutoCompleteUnderWine, UserSidAndItsTextMatchTheToken) {
    Win32Platform win32;
    ByteBlock sid;
    ASSERT_TRUE(GetCurrentUserSid(win32.platform, &sid));
    std::vector<BYTE> token = TokenUserSid();
    EXPECT_EQ(token, std::vector<BYTE>(sid.begin(), sid.begin() + token.size()));
    char text[keyaccess::kSidTextSize];
    std::uint32_t length = sizeof text;
    ASSERT_TRUE(FormatSidString(sid, text, &length));
    EXPECT_EQ(sidText, text);
    EXPECT_EQ(0u, sidText.find("S-1-5-21-"));

    // Two SIDs of other shapes, as ADVAPI32 writes them.
    for (const ByteBlock& other :
         {WriteSid({1, kNtAuthority, {18}}),
          WriteSid({1, {{0, 0, 0, 0, 0, 9}}, {1, 2, 3, 4, 4294967295u}})}) {
        length = sizeof text;
        ASSERT_TRUE(FormatSidString(other, text, &length));
        EXPECT_EQ(SidText(other.data()), text);
    }
}

// The NT road: Test lists every field and leaves every key and every access list as it
// found them; Clear lists the same, removes the type key and puts the lists back.
TEST_F(AutoCompleteUnderWine, TestChangesNothingClearRemovesTheTypeKey) {
    Lines nt = Seed(HKEY_CURRENT_USER, ntUserKey, kItems);
    Lines nineX = Seed(HKEY_LOCAL_MACHINE, nineXUserKey, {"mail:StringIndex", "q:StringIndex"});
    auto ntBefore = AccessLists(HKEY_CURRENT_USER, nt);
    auto nineXBefore = AccessLists(HKEY_LOCAL_MACHINE, nineX);
    auto ntItemsBefore = ItemLists(HKEY_CURRENT_USER, ntUserKey, kItems);
    const Lines ntLines = {kEmailLine, kSearchLine};
    const Lines nineXLines = {"Form: \"mail\" - cleared", kSearchLine};

    bool found = false;
    EXPECT_EQ(NtRoad() ? ntLines : nineXLines, Erase(true, &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(ntBefore, AccessLists(HKEY_CURRENT_USER, nt));
    EXPECT_EQ(nineXBefore, AccessLists(HKEY_LOCAL_MACHINE, nineX));
    EXPECT_EQ(ntItemsBefore, ItemLists(HKEY_CURRENT_USER, ntUserKey, kItems));
    EXPECT_FALSE(ntItemsBefore.at("q:StringIndex").empty());

    EXPECT_EQ(NtRoad() ? ntLines : nineXLines, Erase(false, &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(!NtRoad(), Exists(HKEY_CURRENT_USER, ntTypeKey));
    EXPECT_EQ(NtRoad(), Exists(HKEY_LOCAL_MACHINE, nineXTypeKey));
    // Whatever still stands has the list it had: the user key, Data and its other type
    // on the road taken, everything on the other.
    for (const auto& [root, paths, before] : {std::tuple(HKEY_CURRENT_USER, nt, ntBefore),
                                              std::tuple(HKEY_LOCAL_MACHINE, nineX, nineXBefore)}) {
        for (const std::string& path : paths) {
            if (Exists(root, path)) {
                EXPECT_EQ(before.at(path), AccessList(root, path)) << path;
            }
        }
        EXPECT_TRUE(Exists(root, paths[2])) << paths[2];
    }

    EXPECT_EQ(Lines{}, Erase(false, &found));
    EXPECT_FALSE(found);
}

// Item keys whose paths from the root are longer than the ANSI calls accept: the one
// whose name fits the 261-byte buffer is listed, the longer one skipped, and both get
// their own lists back.
TEST_F(AutoCompleteUnderWine, NamesBeyondTheBufferAreSkippedNotCut) {
    std::string field;
    for (int i = 0; i < 124; ++i) {
        field += "字";  // with ":StringIndex", 260 bytes in GBK
    }
    const Lines items = {field + ":StringIndex", "字" + field + ":StringIndex"};
    const std::string userKey = NtRoad() ? ntUserKey : nineXUserKey;
    HKEY root = NtRoad() ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    Seed(root, userKey, items);
    auto before = ItemLists(root, userKey, items);
    bool found = false;
    EXPECT_EQ(Lines{"Form: \"" + field + "\" - cleared"}, Erase(true, &found));
    EXPECT_EQ(before, ItemLists(root, userKey, items));
    EXPECT_FALSE(before.at(items[1]).empty());
}

// The whole run as the program prints it, Clear beside Test, with only AutoComplete on.
TEST_F(AutoCompleteUnderWine, ProgramPrintsTheGroupForTestAndClear) {
    Seed(HKEY_CURRENT_USER, ntUserKey, kItems);
    Seed(HKEY_LOCAL_MACHINE, nineXUserKey, {"q:StringIndex"});
    EraserSettings settings;
    for (std::int32_t* field :
         {&settings.clearHistory, &settings.clearCookies, &settings.clearTempInternetFiles,
          &settings.clearIndexDat, &settings.resetStartPage, &settings.emptyRecycleBin,
          &settings.clearRecentDocs, &settings.clearWindowsTemp, &settings.clearSearchHistory}) {
        *field = 0;
    }
    Win32Registry registry;
    SaveSettings(registry, settings);
    const std::string forms =
        NtRoad() ? kEmailLine + "\r\n" + kSearchLine + "\r\n" : kSearchLine + "\r\n";
    struct Row {
        const char* args;
        bool listed;
        const char* opening;
        const char* closing;
    };
    const Row rows[] = {
        {"/test /utf8", true, u8"测试: 正在删除自动完成内容...",
         u8"测试: 自动完成的内容已删除 <OK>"},
        {"/clear /utf8", true, u8"删除自动填表数据...", u8"自动填表数据已删除 <OK>"},
        {"/clear /utf8", false, u8"删除自动填表数据...", u8"没有要删除的自动填表数据 <OK>"},
        {"/test /utf8", false, u8"测试: 正在删除自动完成内容...",
         u8"测试: 没有可以删除的自动完成内容 <OK>"},
    };
    const std::string end = std::string(44, '.') + "\r\n" + u8"完成!\r\n";
    for (const Row& row : rows) {
        ProcessResult result = RunProcess("\"" + ProgramFolder() + "corvane.exe\" " + row.args);
        std::string group = std::string(row.opening) + "\r\n\r\n" +
                            (row.listed ? forms + "\r\n" : "") + row.closing + "\r\n" + end;
        ASSERT_GE(result.out.size(), group.size()) << row.args;
        EXPECT_EQ(group, result.out.substr(result.out.size() - group.size())) << row.args;
        EXPECT_EQ(0, result.exitCode);
    }
}

}  // namespace
