// The Mozilla and AOL erasers on the in-memory platform, for what Wine cannot produce:
// the listing order of profile folders, files that stay locked (with the tries and
// pauses between them), a write to localstore.rdf failing part of the way, and a command
// value longer than its buffer. Real files and the real registry are checked under Wine.
#include "browsers/browser_traces.h"

#include <gtest/gtest.h>

#include "browsers/localstore_text.h"
#include "clean/erasers.h"
#include "clean/xp_profile.h"

namespace {

using Pauses = std::vector<std::uint32_t>;

class BrowserTraces : public XpProfile {
protected:
    static constexpr char kAppData[] = "C:\\Documents and Settings\\user\\Application Data";
    static constexpr char kOrganize[] =
        "C:\\Documents and Settings\\All Users\\Application Data\\AOL\\C_America Online "
        "9.0\\organize";

    BrowserTraces() { mem.shell.specialFolders[csidl::kAppData] = kAppData; }

    static std::string Profiles() { return std::string(kAppData) + "\\Mozilla\\Profiles\\default"; }
    // Opens path as another program holding it would: reading and writing, sharing
    // nothing.
    FileHandle Hold(const std::string& path) {
        FileHandle held;
        EXPECT_EQ(winerr::kSuccess,
                  mem.files.Open(path, fileaccess::kRead | fileaccess::kWrite, fileshare::kNone,
                                 filecreate::kOpenExisting, 0, &held));
        return held;
    }
    void PutAolCommand(const std::string& command) {
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess,
                  key.Create(regroot::kClassesRoot, "Applications\\aol.exe\\shell\\open\\command",
                             regaccess::kAllAccess));
        ASSERT_EQ(winerr::kSuccess,
                  mem.registry.SetValue(key.Get(), "", regtype::kSz, command.c_str(),
                                        static_cast<std::uint32_t>(command.size() + 1)));
    }
};

TEST_F(BrowserTraces, OnlyTheFirstListedProfileFolderIsTreated) {
    const std::string first = In(Profiles(), "b0first.slt");
    const std::string second = In(Profiles(), "c0second.slt");
    mem.files.AddFile(In(Profiles(), "a-notes.txt"), "listed first, but a file");
    mem.files.AddFile(In(first, "cookies.txt"), "c");
    mem.files.AddFile(In(second, "cookies.txt"), "c");
    mem.files.AddFile(In(second, "history.dat"), "h");
    std::string folder;
    ASSERT_TRUE(FindMozillaProfileFolder(dlg, &folder));
    EXPECT_EQ(first, folder);
    EXPECT_FALSE(EraseMozillaHistory(dlg));
    EXPECT_TRUE(mem.files.Exists(In(second, "history.dat")));
    EXPECT_TRUE(EraseMozillaCookies(dlg));
    EXPECT_FALSE(mem.files.Exists(In(first, "cookies.txt")));
    EXPECT_TRUE(mem.files.Exists(In(second, "cookies.txt")));
    EXPECT_EQ(Pauses{}, mem.system.pauses);

    mem.shell.faults.Fail("Shell.SpecialFolderPath", winerr::kFileNotFound);  // answers FALSE
    EXPECT_FALSE(FindMozillaProfileFolder(dlg, &folder));
}

TEST_F(BrowserTraces, LockedMozillaFileIsTriedElevenTimesThenLeft) {
    const std::string profile = In(Profiles(), "x.slt");
    mem.files.AddFile(In(profile, "history.dat"), "h");
    mem.files.AddFile(In(profile, "cookies.txt"), "c");
    FileHandle held = Hold(In(profile, "history.dat"));
    EXPECT_TRUE(EraseMozillaHistory(dlg));
    mem.files.Close(held);
    EXPECT_TRUE(mem.files.Exists(In(profile, "history.dat")));
    EXPECT_EQ(Pauses(10, 500), mem.system.pauses);

    mem.system.pauses.clear();
    mem.files.faults.Fail("Files.RemoveFile", winerr::kSharingViolation, "cookies.txt", 2);
    EXPECT_TRUE(EraseMozillaCookies(dlg));
    EXPECT_FALSE(mem.files.Exists(In(profile, "cookies.txt")));
    EXPECT_EQ(Pauses(2, 500), mem.system.pauses);
}

TEST_F(BrowserTraces, LockedAolFileIsTriedSevenTimesThenLeft) {
    mem.files.AddFile(In(kOrganize, "someone.arl"), "a");
    mem.files.AddFile(In(kOrganize, "someone.aut"), "a");
    FileHandle held = Hold(In(kOrganize, "someone.arl"));
    EraseAolTraces(dlg, false);
    mem.files.Close(held);
    EXPECT_TRUE(mem.files.Exists(In(kOrganize, "someone.arl")));
    EXPECT_FALSE(mem.files.Exists(In(kOrganize, "someone.aut")));
    EXPECT_EQ(Pauses(6, 400), mem.system.pauses);
}

// The file is rewritten from the sequence's start to its end, so a write that fails
// after n bytes leaves exactly the first n bytes of the result in place and the rest as
// it was: no shorter, and no byte written twice.
TEST_F(BrowserTraces, UrlBarRewriteEndsAtTheFirstFailedWrite) {
    const std::string path = In(In(Profiles(), "x.slt"), "localstore.rdf");
    const std::string before = Localstore(990, 2920, 6000);
    const std::string after = WithoutUrlBarHistory(before);
    const size_t start = before.find(kUrlBarOpen) + sizeof kUrlBarOpen - 1;
    const size_t toWrite = before.size() - start;
    for (size_t allowed : {size_t{0}, size_t{700}, size_t{3080}, size_t{3500}, toWrite - 1}) {
        SCOPED_TRACE(allowed);
        mem.files.faults.Clear();
        mem.files.AddFile(path, before);
        mem.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, allowed);
        EXPECT_FALSE(EraseMozillaUrlBarHistory(dlg));
        EXPECT_EQ(after.substr(0, start + allowed) + before.substr(start + allowed),
                  mem.files.Content(path));
        EXPECT_EQ(0u, mem.files.OpenHandleCount());
    }
    mem.files.faults.Clear();
    mem.files.AddFile(path, before);
    mem.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, toWrite);
    EXPECT_TRUE(EraseMozillaUrlBarHistory(dlg));
    EXPECT_EQ(after, mem.files.Content(path));
}

// The command value has a buffer of 260 bytes: a longer one is ignored, not cut to a
// path that happens to name a folder.
TEST_F(BrowserTraces, AolCommandLongerThanItsBufferIsIgnored) {
    const std::string command = "\"C:\\AOL 9.0\\aol.exe\" ";
    mem.files.AddFile("C:\\AOL 9.0\\organize\\someone.arl", "a");
    PutAolCommand(command + std::string(260 - command.size(), 'x'));  // 261 bytes with NUL
    EraseAolTraces(dlg, false);
    EXPECT_TRUE(mem.files.Exists("C:\\AOL 9.0\\organize\\someone.arl"));
    PutAolCommand(command + std::string(259 - command.size(), 'x'));  // 260 bytes: fits
    EraseAolTraces(dlg, false);
    EXPECT_FALSE(mem.files.Exists("C:\\AOL 9.0\\organize\\someone.arl"));
}

TEST(CommonAppData, OfEachWindowsVersion) {
    struct Case {
        const char* path;
        int osVersion;
        const char* common;
    };
    const Case kCases[] = {
        {"C:\\Documents and Settings\\someone\\Application Data", osver::kWinXp,
         "C:\\Documents and Settings\\All Users\\Application Data"},
        {"C:\\WINDOWS\\Application Data", osver::kWin98,
         "C:\\WINDOWS\\All Users\\Application Data"},
        {"C:\\WINDOWS\\Profiles\\someone\\Application Data", osver::kWin98,
         "C:\\WINDOWS\\Profiles\\someone\\All Users\\Application Data"},
        {"C:\\WINNT\\Profiles\\someone\\Application Data\\", osver::kWinNt,
         "C:\\WINNT\\Profiles\\All Users\\Application Data\\"},
        // A user name whose second byte is 0x5C, the byte of a backslash.
        {"C:\\Documents and Settings\\\x81\x5C\\Application Data", osver::kWinXp,
         "C:\\Documents and Settings\\All Users\\Application Data"},
        {"C:\\Application Data", osver::kWin98, "C:\\Application Data"},
        {"C:\\Documents and Settings\\someone\\application data", osver::kWinXp,
         "C:\\Documents and Settings\\someone\\application data"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(c.common, MakeCommonAppData(c.path, c.osVersion)) << c.path;
    }
}

}  // namespace
