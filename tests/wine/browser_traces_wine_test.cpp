// The Mozilla and AOL erasers on the real platform: a Mozilla profile and AOL organize
// folders in a Chinese XP profile, localstore.rdf rewritten through Wine's file calls,
// the aol.exe command in the real HKEY_CLASSES_ROOT, and the program's own Test and
// Clear.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: the shell header builds on it.
#include <shlwapi.h>

#include "app/eraser_dlg.h"
#include "browsers/localstore_text.h"
#include "clean/erasers.h"
#include "platform/win32/win32_platform.h"
#include "wine/wine_support.h"
#include "wine/xp_profile_wine.h"

namespace {

constexpr char kAolKey[] = "Applications\\aol.exe";
constexpr char kAolCommandKey[] = "Applications\\aol.exe\\shell\\open\\command";
constexpr char kCommonOrganize[] =
    "C:\\Documents and Settings\\All Users\\Application Data\\AOL\\C_America Online "
    "9.0\\organize";
constexpr char kInstallRoot[] = "C:\\corvane-aol";
constexpr char kInstallFolder[] = "C:\\corvane-aol\\America Online 9.0";

// Names in an organize folder: the traces, and what is no trace.
const char* const kAolTraces[] = {"a.arl", "b.AUT", "c.ARL", "d.aut"};
const char* const kNotAolTraces[] = {"e.Arl", ".arl", "f.arl.bak", "g.dat"};

std::string In(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

bool HasAolKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kAolKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

class BrowserTracesUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(HasAolKey()) << "the prefix should not know aol.exe";
        dlg.DetectOsVersion();
        profile = xp.appData + "\\Mozilla\\Profiles\\default\\k3x9q2vd.slt";
        for (const std::string& folder :
             {profile, std::string(kCommonOrganize), std::string(kInstallFolder) + "\\organize"}) {
            MakeFolders(folder);
        }
    }
    void TearDown() override {
        SHDeleteKeyA(HKEY_CLASSES_ROOT, kAolKey);
        DeleteSettingsKey();
    }

    // Creates the missing folders of path; the first one created goes at the end.
    void MakeFolders(const std::string& path) {
        bool created = false;
        for (size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
            std::string folder = path.substr(0, at);
            if (!PathExists(folder) && CreateDirectoryA(folder.c_str(), nullptr) && !created) {
                created = true;
                cleanup.paths.push_back(folder);
            }
            if (at == std::string::npos) {
                return;
            }
        }
    }
    void PutAolCommand(const std::string& command) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, kAolCommandKey, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }
    // Writes every name of both lists into folder.
    void SeedOrganize(const std::string& folder) {
        for (const auto* names : {&kAolTraces, &kNotAolTraces}) {
            for (const char* name : *names) {
                ASSERT_TRUE(WriteFileBytes(In(folder, name), name));
            }
        }
    }
    // Whether each trace of folder is there (present) and every other file still is.
    void ExpectOrganize(const std::string& folder, bool tracesPresent) {
        for (const char* name : kAolTraces) {
            EXPECT_EQ(tracesPresent, PathExists(In(folder, name))) << folder << " " << name;
        }
        for (const char* name : kNotAolTraces) {
            EXPECT_TRUE(PathExists(In(folder, name))) << folder << " " << name;
        }
    }

    WineXpProfile xp;
    RemoveAtEnd cleanup;  // goes before the profile does
    Win32Platform win32;
    EraserDlg dlg{win32.platform};
    std::string profile;
};

TEST_F(BrowserTracesUnderWine, MozillaProfileLosesHistoryCookiesAndUrlBarEntries) {
    const std::string history = In(profile, "history.dat");
    const std::string cookies = In(profile, "cookies.txt");
    const std::string localstore = In(profile, "localstore.rdf");
    // The sequence opens across the first block's end and closes across the third's.
    const std::string before = Localstore(990, 2920, 6000);
    ASSERT_TRUE(WriteFileBytes(history, "// <!-- <mdb:mork:z v=\"1.4\"/> -->\r\n"));
    ASSERT_TRUE(WriteFileBytes(cookies, ".example.com\tTRUE\t/\tFALSE\t1893456000\tid\t42\r\n"));
    ASSERT_TRUE(WriteFileBytes(localstore, before));

    EXPECT_TRUE(EraseMozillaCookies(dlg));
    EXPECT_FALSE(PathExists(cookies));
    EXPECT_TRUE(PathExists(history));
    EXPECT_TRUE(EraseMozillaHistory(dlg));
    EXPECT_FALSE(PathExists(history));
    EXPECT_FALSE(EraseMozillaHistory(dlg));
    EXPECT_TRUE(EraseMozillaUrlBarHistory(dlg));
    EXPECT_EQ(WithoutUrlBarHistory(before), ReadFileBytes(localstore));
    EXPECT_FALSE(EraseMozillaUrlBarHistory(dlg)) << "the sequence is empty now";
    EXPECT_EQ(0, dlg.log.LineCount());
}

TEST_F(BrowserTracesUnderWine, UrlBarSequencesThatAreLeftOrCut) {
    const std::string head = "<?xml version=\"1.0\"?>\r\n<RDF:RDF>\r\n";
    const std::string toolbars = "  <RDF:Seq about=\"urn:toolbars\"><RDF:li/></RDF:Seq>\r\n";
    const std::string urls = "\r\n    <RDF:li>http://www.example.com/</RDF:li>\r\n  ";
    const std::string foot = "\r\n</RDF:RDF>\r\n";
    const std::string urlBar = std::string(kUrlBarOpen) + urls + kSeqClose;
    struct Case {
        const char* what;
        std::string content;
        bool cut;
    };
    const Case kCases[] = {
        {"adjacent markers", head + kUrlBarOpen + kSeqClose + foot, false},
        {"one byte between", head + kUrlBarOpen + "\n" + kSeqClose + foot, false},
        {"two bytes between", head + kUrlBarOpen + "\r\n" + kSeqClose + foot, true},
        {"an earlier close marker in the same block", head + toolbars + urlBar + foot, false},
        {"an earlier close marker in an earlier block",
         head + toolbars + Filler(" ", 1200) + urlBar + foot, true},
        {"no close marker", head + kUrlBarOpen + urls + foot, false},
        {"no sequence", head + toolbars + foot, false},
        {"many blocks to move and to blank", Localstore(1950, 4100, 9000), true},
    };
    const std::string localstore = In(profile, "localstore.rdf");
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileBytes(localstore, c.content));
        EXPECT_EQ(c.cut, EraseMozillaUrlBarHistory(dlg));
        EXPECT_EQ(c.cut ? WithoutUrlBarHistory(c.content) : c.content, ReadFileBytes(localstore));
    }
}

TEST_F(BrowserTracesUnderWine, AolOrganizeFilesGoInClearOnly) {
    const std::string install = std::string(kInstallFolder) + "\\organize";
    PutAolCommand("\"" + std::string(kInstallFolder) + "\\aol.exe\" -u");
    SeedOrganize(kCommonOrganize);
    SeedOrganize(install);
    EraseAolTraces(dlg, true);
    ExpectOrganize(kCommonOrganize, true);
    ExpectOrganize(install, true);
    EraseAolTraces(dlg, false);
    ExpectOrganize(kCommonOrganize, false);
    ExpectOrganize(install, false);
    EXPECT_EQ(0, dlg.log.LineCount());
}

// The run calls the Mozilla steps in Clear only, and the AOL step does nothing in Test.
TEST_F(BrowserTracesUnderWine, ProgramRemovesThemInClearOnly) {
    StoreSettings(EraserSettings{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1});  // history, cookies
    const std::string cookies = In(profile, "cookies.txt");
    const std::string localstore = In(profile, "localstore.rdf");
    const std::string aol = In(kCommonOrganize, "someone.arl");
    const std::string before = Localstore(300, 700, 1500);
    ASSERT_TRUE(WriteFileBytes(cookies, "cookie"));
    ASSERT_TRUE(WriteFileBytes(In(profile, "history.dat"), "history"));
    ASSERT_TRUE(WriteFileBytes(localstore, before));
    ASSERT_TRUE(WriteFileBytes(aol, "aol"));

    EXPECT_EQ(0, RunCorvane("/test").exitCode);
    EXPECT_TRUE(PathExists(cookies));
    EXPECT_TRUE(PathExists(In(profile, "history.dat")));
    EXPECT_EQ(before, ReadFileBytes(localstore));
    EXPECT_TRUE(PathExists(aol));

    EXPECT_EQ(0, RunCorvane("/clear").exitCode);
    EXPECT_FALSE(PathExists(cookies));
    EXPECT_FALSE(PathExists(In(profile, "history.dat")));
    EXPECT_EQ(WithoutUrlBarHistory(before), ReadFileBytes(localstore));
    EXPECT_FALSE(PathExists(aol));
}

}  // namespace
