// The Mozilla and AOL erasers on the in-memory platform, for what Wine cannot produce:
// the listing order of profile folders, files that stay locked (with the tries and
// pauses between them), a write to localstore.rdf failing part of the way, and a command
// value longer than its buffer. Real files and the real registry are checked under Wine.
#include "browsers/browser_traces.h"

#include <gtest/gtest.h>

#include "clean/erasers.h"
#include "machine.h"

namespace {

const std::string kMozilla =
    "file C:\\Documents and Settings\\user\\Application Data\\Mozilla\\Profiles\\default\\";
const std::string kOrganize =
    "file C:\\Documents and Settings\\All Users\\Application Data\\AOL\\C_America Online 9.0"
    "\\organize\\";
const std::string kFirstCookies = kMozilla + "b0first.slt\\cookies.txt = c";
const Lines kProfiles = {kMozilla + "a-notes.txt = listed first, but a file", kFirstCookies,
                         kMozilla + "c0second.slt\\cookies.txt = c",
                         kMozilla + "c0second.slt\\history.dat = h"};
const Lines kAol = {kOrganize + "a.arl = a", kOrganize + "a.aut = a", kOrganize + "b.AUT = a",
                    kOrganize + "b.ARL = a", kOrganize + "b.Arl = a", kOrganize + ".arl = a"};
const std::string kCommand =
    "value HKCR\\Applications\\aol.exe\\shell\\open\\command| = \"C:\\AOL 9.0\\aol.exe\" ";
const std::string kInstalled = "file C:\\AOL 9.0\\organize\\a.arl = a";
using Pauses = std::vector<std::uint32_t>;

struct BrowserTraces : Machine {
    // Runs step on the machine as it stands: its result, the lines of the state it
    // removes and the pauses it makes. Faults last for the one step.
    void Check(bool (*step)(EraserDlg&), bool result, const Lines& gone, Pauses pauses = {}) {
        const Lines before = State(mem);
        mem.system.pauses.clear();
        EXPECT_EQ(result, step(dlg));
        EXPECT_EQ(Without(before, gone), State(mem));
        EXPECT_EQ(pauses, mem.system.pauses);
        mem.files.faults.Clear();
    }
    // EraseAolTraces as a step of Check, which looks for a result it does not give.
    template <bool testMode>
    static bool Aol(EraserDlg& dlg) {
        EraseAolTraces(dlg, testMode);
        return true;
    }
};

// Only the first profile folder listed is looked at; a file that stays locked is tried
// 11 times, 500 ms apart, and left.
TEST_F(BrowserTraces, MozillaFilesOfTheFirstProfile) {
    Seed(mem, kProfiles);
    Check(EraseMozillaHistory, false, {});
    mem.files.faults.Fail("Files.RemoveFile", winerr::kSharingViolation, "", 2);
    Check(EraseMozillaCookies, true, {kFirstCookies}, Pauses(2, 500));
    Seed(mem, {kMozilla + "b0first.slt\\history.dat = h"});
    mem.files.faults.Fail("Files.RemoveFile", winerr::kSharingViolation);
    Check(EraseMozillaHistory, true, {}, Pauses(10, 500));
}

// With a keep list cookies.txt is rewritten: its header and the kept hosts' lines stay
// byte for byte, across the 10000-byte pieces it is read in. A write that fails, or a file
// the browser holds for all 11 tries, leaves it as it was and nothing beside it.
TEST_F(BrowserTraces, MozillaCookiesOfKeptHostsStay) {
    const std::string path = kFirstCookies.substr(5, kFirstCookies.size() - 9);
    const std::string head = "# Netscape HTTP Cookie File\r\n\r\n", kept = ".keep.test\tTRUE\t/\tx\r\n",
                      other = "other.test\tFALSE\t/\ty\n", httpOnly = "#HttpOnly_a.keep.test\tz\n",
                      last = "#HttpOnly_b.test\tw\nKEEP.test\tno end";
    std::string before = head + kept, after = before;
    for (int i = 0; i < 600; ++i) {
        before += other + kept + httpOnly;
        after += kept + httpOnly;
    }
    Seed(mem, kProfiles);
    mem.files.AddFile(path, before + last);
    dlg.settings.keepCookies = {"keep.test"};
    EXPECT_EQ(1803u, MozillaCookieHosts(dlg).size());  // the header belongs to no host
    mem.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, 9000);
    Check(EraseMozillaCookies, true, {});
    FileHandle held;
    ASSERT_EQ(0u, mem.files.Open(path, fileaccess::kRead, 0, filecreate::kOpenExisting, 0, &held));
    Check(EraseMozillaCookies, true, {}, Pauses(10, 500));
    mem.files.Close(held);
    EXPECT_TRUE(EraseMozillaCookies(dlg));
    EXPECT_EQ(after + "KEEP.test\tno end", mem.files.Content(path));
}

// Test leaves the organize files; Clear tries each 7 times, 400 ms apart. A command
// value of 260 bytes and its NUL is ignored, not cut.
TEST_F(BrowserTraces, AolOrganizeFiles) {
    Seed(mem, kAol);
    Check(Aol<true>, true, {});
    mem.files.faults.Fail("Files.RemoveFile", winerr::kSharingViolation, "a.arl");
    Check(Aol<false>, true, {kAol[1], kAol[2], kAol[3]}, Pauses(6, 400));
    Seed(mem, {kCommand + std::string(239, 'x'), kInstalled});
    Check(Aol<false>, true, {kAol[0]});
    Seed(mem, {kCommand + std::string(238, 'x')});
    Check(Aol<false>, true, {kInstalled});
}

// n bytes of text without blanks that a short shift of itself does not match.
std::string Text(size_t n) {
    return n == 0 ? "" : Text(n - 1) + static_cast<char>('!' + n % 89);
}

// The URL-bar sequence opens across the end of the first 1000-byte block and closes across
// the end of the third. The file is rewritten from the sequence's start to its end, so a
// write that fails after n bytes leaves exactly the first n bytes of the result in place
// and the rest as it was: no shorter, and no byte written twice.
TEST_F(BrowserTraces, UrlBarRewriteEndsAtTheFirstFailedWrite) {
    const std::string path = kMozilla.substr(5) + "x.slt\\localstore.rdf";
    const std::string head = Text(990) + "<RDF:Seq about=\"nc:urlbar-history\">",
                      tail = "</RDF:Seq>" + Text(3070), before = head + Text(1895) + tail,
                      after = head + tail + std::string(1895, ' ');
    for (size_t allowed : {0, 700, 3080, 3500, 4974, 4975}) {
        mem.files.faults.Clear();
        mem.files.AddFile(path, before);
        mem.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, allowed);
        EXPECT_EQ(allowed == 4975, EraseMozillaUrlBarHistory(dlg)) << allowed;
        EXPECT_EQ(after.substr(0, 1025 + allowed) + before.substr(1025 + allowed),
                  mem.files.Content(path));
        EXPECT_EQ(0u, mem.files.OpenHandleCount());
    }
}

// All Users beside the user's folder, or on Windows 98 inside it; a user name whose
// second byte is 0x5C, the byte of a backslash, is one name.
TEST(CommonAppData, OfEachWindowsVersion) {
    const std::string docs = "C:\\Documents and Settings\\", data = "\\Application Data";
    const std::string profile = "C:\\WINDOWS\\Profiles\\someone";
    EXPECT_EQ(docs + "All Users" + data, MakeCommonAppData(docs + "\x81\x5C" + data, 6));
    EXPECT_EQ(profile + "\\All Users" + data, MakeCommonAppData(profile + data, 3));
    EXPECT_EQ("C:" + data, MakeCommonAppData("C:" + data, 3));
}

}  // namespace
