// The Mozilla and AOL erasers on the in-memory platform, for what Wine cannot produce:
// the listing order of profile folders, files that stay locked (with the tries and
// pauses between them), a write to localstore.rdf failing part of the way, and a command
// value longer than its buffer. Real files and the real registry are checked under Wine.
#include "browsers/browser_traces.h"

#include <gtest/gtest.h>

#include <functional>

#include "browsers/localstore_text.h"
#include "clean/erasers.h"
#include "machine.h"

namespace {

const std::string kMozilla =
    "C:\\Documents and Settings\\user\\Application Data\\Mozilla\\Profiles\\default\\";
const std::string kOrganize =
    "C:\\Documents and Settings\\All Users\\Application Data\\AOL\\C_America Online "
    "9.0\\organize\\";
const std::string kFirstCookies = "file " + kMozilla + "b0first.slt\\cookies.txt = c";
const Lines kProfiles = {"file " + kMozilla + "a-notes.txt = listed first, but a file",
                         kFirstCookies, "file " + kMozilla + "c0second.slt\\cookies.txt = c",
                         "file " + kMozilla + "c0second.slt\\history.dat = h"};
const std::string kArl = "file " + kOrganize + "someone.arl = a";
const Lines kAol = {kArl,
                    "file " + kOrganize + "someone.aut = a",
                    "file " + kOrganize + "x.AUT = a",
                    "file " + kOrganize + "x.ARL = a",
                    "file " + kOrganize + "x.Arl = a",
                    "file " + kOrganize + ".arl = a"};
const std::string kCommand =
    "value HKCR\\Applications\\aol.exe\\shell\\open\\command| = \"C:\\AOL 9.0\\aol.exe\" ";
const std::string kInstalled = "file C:\\AOL 9.0\\organize\\someone.arl = a";
using Pauses = std::vector<std::uint32_t>;
using Step = std::function<bool(EraserDlg&)>;

Step Aol(bool testMode) {
    return [testMode](EraserDlg& dlg) {
        EraseAolTraces(dlg, testMode);
        return true;
    };
}

std::function<void(MemoryPlatform&)> Fail(const std::string& call, WinError error,
                                          const std::string& match = "", int times = -1) {
    return [=](MemoryPlatform& m) {
        (call[0] == 'F' ? m.files.faults : m.shell.faults).Fail(call, error, match, times);
    };
}

struct Row {
    Row(const char* name, Step step, bool result, Lines seed, Lines gone, Pauses pauses = {},
        std::function<void(MemoryPlatform&)> faults = nullptr)
        : name(name),
          step(step),
          result(result),
          seed(seed),
          gone(gone),
          pauses(pauses),
          faults(faults) {}
    const char* name;
    Step step;
    bool result;
    Lines seed;
    Lines gone;
    Pauses pauses;
    std::function<void(MemoryPlatform&)> faults;
};

class BrowserTraces : public Machine, public ::testing::WithParamInterface<Row> {};

TEST_P(BrowserTraces, RemoveWhatTheyFind) {
    const Row& row = GetParam();
    Seed(mem, row.seed);
    const Lines before = State(mem);
    if (row.faults) {
        row.faults(mem);
    }
    EXPECT_EQ(row.result, row.step(dlg));
    EXPECT_EQ(Without(before, row.gone), State(mem));
    EXPECT_EQ(row.pauses, mem.system.pauses);
}

// Mozilla files are tried 11 times, 500 ms apart; AOL files 7 times, 400 ms apart. Only
// the first profile folder listed is looked at. An AOL command value of 260 bytes and its
// NUL is ignored, not cut.
INSTANTIATE_TEST_SUITE_P(
    Rows, BrowserTraces,
    ::testing::Values(
        Row("HistoryOnlyInTheFirstProfile", EraseMozillaHistory, false, kProfiles, {}),
        Row("CookiesOfTheFirstProfile", EraseMozillaCookies, true, kProfiles, {kFirstCookies}),
        Row("NoAppData", EraseMozillaCookies, false, kProfiles, {}, {},
            Fail("Shell.SpecialFolderPath", winerr::kFileNotFound)),
        Row("LockedHistory", EraseMozillaHistory, true, {"file " + kMozilla + "x\\history.dat = h"},
            {}, Pauses(10, 500), Fail("Files.RemoveFile", winerr::kSharingViolation)),
        Row("CookiesFreedOnTheThirdTry", EraseMozillaCookies, true, {kFirstCookies},
            {kFirstCookies}, Pauses(2, 500),
            Fail("Files.RemoveFile", winerr::kSharingViolation, "", 2)),
        Row("AolClear", Aol(false), true, kAol, {kAol[1], kAol[2], kAol[3]}, Pauses(6, 400),
            Fail("Files.RemoveFile", winerr::kSharingViolation, "someone.arl")),
        Row("AolTest", Aol(true), true, kAol, {}),
        Row("AolCommandTooLong", Aol(false), true, {kCommand + std::string(239, 'x'), kInstalled},
            {}),
        Row("AolCommandFits", Aol(false), true, {kCommand + std::string(238, 'x'), kInstalled},
            {kInstalled})),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// The file is rewritten from the sequence's start to its end, so a write that fails
// after n bytes leaves exactly the first n bytes of the result in place and the rest as
// it was: no shorter, and no byte written twice.
class UrlBarHistory : public Machine {};

TEST_F(UrlBarHistory, RewriteEndsAtTheFirstFailedWrite) {
    const std::string path = kMozilla + "x.slt\\localstore.rdf";
    const std::string before = Localstore(990, 2920, 6000), after = WithoutUrlBarHistory(before);
    const size_t start = before.find(kUrlBarOpen) + sizeof kUrlBarOpen - 1;
    for (size_t allowed : {size_t{0}, size_t{700}, size_t{3080}, size_t{3500},
                           before.size() - start - 1, before.size() - start}) {
        mem.files.faults.Clear();
        mem.files.AddFile(path, before);
        mem.files.faults.FailAfterBytes("Files.Write", winerr::kDiskFull, allowed);
        EXPECT_EQ(allowed == before.size() - start, EraseMozillaUrlBarHistory(dlg)) << allowed;
        EXPECT_EQ(after.substr(0, start + allowed) + before.substr(start + allowed),
                  mem.files.Content(path));
        EXPECT_EQ(0u, mem.files.OpenHandleCount());
    }
}

TEST(CommonAppData, OfEachWindowsVersion) {
    EXPECT_EQ("C:\\Documents and Settings\\All Users\\Application Data",
              MakeCommonAppData("C:\\Documents and Settings\\someone\\Application Data", 6));
    EXPECT_EQ("C:\\WINDOWS\\Profiles\\someone\\All Users\\Application Data",
              MakeCommonAppData("C:\\WINDOWS\\Profiles\\someone\\Application Data", 3));
    EXPECT_EQ("C:\\WINNT\\Profiles\\All Users\\Application Data\\",
              MakeCommonAppData("C:\\WINNT\\Profiles\\someone\\Application Data\\", 4));
    // A user name whose second byte is 0x5C, the byte of a backslash.
    EXPECT_EQ("C:\\Documents and Settings\\All Users\\Application Data",
              MakeCommonAppData("C:\\Documents and Settings\\\x81\x5C\\Application Data", 6));
    EXPECT_EQ("C:\\Application Data", MakeCommonAppData("C:\\Application Data", 3));
    EXPECT_EQ("C:\\Documents and Settings\\someone\\application data",
              MakeCommonAppData("C:\\Documents and Settings\\someone\\application data", 6));
}

}  // namespace
