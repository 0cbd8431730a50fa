// The Mozilla and AOL erasers on the in-memory platform, for what Wine cannot produce:
// the listing order of profile folders, files that stay locked (with the tries and
// pauses between them), and a command value longer than its buffer. Real files and the real
// registry are checked under Wine.
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
                         kMozilla + "b0first.slt\\localstore.rdf = <RDF:RDF/>",
                         kMozilla + "c0second.slt\\cookies.txt = c",
                         kMozilla + "c0second.slt\\history.dat = h"};
const Lines kAol = {kOrganize + "a.arl = a", kOrganize + "a.aut = a", kOrganize + "b.AUT = a",
                    kOrganize + "b.ARL = a", kOrganize + "b.Arl = a", kOrganize + ".arl = a"};
const std::string kCommand =
    "value HKCR\\Applications\\aol.exe\\shell\\open\\command| = \"C:\\AOL 9.0\\aol.exe\" ";
const std::string kInstalled = "file C:\\AOL 9.0\\organize\\a.arl = a";
using Pauses = std::vector<std::uint32_t>;

struct BrowserTraces : Machine {
    // Runs step on the machine as it stands: whether it found its trace, the lines of the
    // state it removes and the pauses it makes. Faults last for the one step.
    void Check(CategoryResult (*step)(EraserDlg&), bool result, const Lines& gone,
               Pauses pauses = {}) {
        const Lines before = State(mem);
        mem.system.pauses.clear();
        EXPECT_EQ(result, step(dlg).Any());
        EXPECT_EQ(Without(before, gone), State(mem));
        EXPECT_EQ(pauses, mem.system.pauses);
        mem.files.faults.Clear();
    }
    template <bool testMode>
    static CategoryResult Aol(EraserDlg& dlg) {
        return EraseAolTraces(dlg, testMode);
    }
};

// Only the first profile folder listed is looked at; a file that stays locked is tried
// 11 times, 500 ms apart, and left.
TEST_F(BrowserTraces, MozillaFilesOfTheFirstProfile) {
    Seed(mem, kProfiles);
    Check(EraseMozillaHistory, false, {});
    Check(EraseMozillaUrlBarHistory, false, {});  // a file without the URL-bar sequence
    mem.files.faults.Fail("Files.RemoveFile", winerr::kSharingViolation, "", 2);
    Check(EraseMozillaCookies, true, {kFirstCookies}, Pauses(2, 500));
    Seed(mem, {kMozilla + "b0first.slt\\history.dat = h"});
    mem.files.faults.Fail("Files.RemoveFile", winerr::kSharingViolation);
    Check(EraseMozillaHistory, true, {}, Pauses(10, 500));
}

// With a keep list cookies.txt is rewritten: its header and the kept hosts' lines stay
// byte for byte, across the 10000-byte pieces it is read in. A write that fails, or a file
// the browser holds for all 11 tries, leaves it as it was and nothing beside it, and fails.
TEST_F(BrowserTraces, MozillaCookiesOfKeptHostsStay) {
    const std::string path = kFirstCookies.substr(5, kFirstCookies.size() - 9);
    const std::string head = "# Netscape HTTP Cookie File\r\n\r\n",
                      kept = ".keep.test\tTRUE\t/\tx\r\n", other = "other.test\tFALSE\t/\ty\n",
                      httpOnly = "#HttpOnly_a.keep.test\tz\n",
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
    EXPECT_EQ(1, EraseMozillaCookies(dlg).kept);
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

// All Users beside the user's folder, or on Windows 98 inside it; a user name whose
// second byte is 0x5C, the byte of a backslash, is one name (0xFE, the last lead byte).
TEST(CommonAppData, OfEachWindowsVersion) {
    const std::string docs = "C:\\Documents and Settings\\", data = "\\Application Data";
    const std::string profile = "C:\\WINDOWS\\Profiles\\someone";
    EXPECT_EQ(docs + "All Users" + data, MakeCommonAppData(docs + "\xFE\x5C" + data, 6));
    EXPECT_EQ(profile + "\\All Users" + data, MakeCommonAppData(profile + data, 3));
    EXPECT_EQ("C:" + data, MakeCommonAppData("C:" + data, 3));
}

}  // namespace
