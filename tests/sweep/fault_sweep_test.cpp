// Every platform call a command makes, failed in turn: on a profile with traces in every
// category and browsers open, each call the clean run makes fails once, alone, with the
// error Windows would give. The command must still end with its closing line and leave the
// window free; Test may change nothing; Clear and Restore may not touch what lies beside
// their targets, nor say <OK> of a target they left undone; Restore, run over a profile
// cleared and used since the save, may not lose a file: each one it finds stays as it was
// or holds what was saved.
#include <map>
#include <set>

#include "clean/eraser_rows.h"

namespace {

const std::string kMozilla = "file $Profile\\Application Data\\Mozilla\\Profiles\\default\\x.slt\\";
const std::string kKeptLine = "keep.test\tk\n";
const std::string kAol =
    "file C:\\Documents and Settings\\All Users\\Application Data\\AOL\\"
    "C_America Online 9.0\\organize\\";
const std::string kAutoComplete =
    "key HKCU\\Software\\Microsoft\\Protected Storage System "
    "Provider\\S-1-5-21-1004336348-1177238915-682003330-1000\\Data\\"
    "e161255a-37c3-11d2-bcaa-00c04fd929db\\"
    "e161255a-37c3-11d2-bcaa-00c04fd929db\\email:StringIndex";
// clang-format off
const Lines kTraces = Expand({
    "cache Cookie:user@a.test/", "file $Cookies\\user@a[1].txt = c", "cache http://a.test/page.htm",
    "file $Cache\\Content.IE5\\index.dat = CACHE", "file $Cache\\Content.IE5\\X1\\page[1].htm = p",
    "history http://h.test/", "file $History\\History.IE5\\index.dat = HIST",
    "file $History\\History.IE5\\MSHist01\\index.dat = Client UrlCache MMF Ver 5.2",
    "value HKCU\\$Typed|url1 = http://t.test/" + std::string(400, 'q'),  // longer than a log line
    "value HKCU\\$RunMru|a = cmd\\1", "value HKCU\\$RunMru|MRUList = a", "value HKCU\\$Main|起始页 = http://s.test/",
    "file $Temp\\a.tmp = t", "bin 10", "file $Recent\\doc.lnk = L",
    "value HKCU\\$AcMru\\5603|000 = 税务 申报", kAutoComplete, kMozilla + "cookies.txt = " + kKeptLine + "o.test\to",
    kMozilla + "history.dat = h", kMozilla + "localstore.rdf = <RDF:Seq about=\"nc:urlbar-history\"><li/></RDF:Seq>", kAol + "me.arl = a"});
// What Clear leaves by design and Restore puts back: a history container's registration and
// the Documents list.
const Lines kLeft = Expand({
    "value HKCU\\$Ext5\\MSHist01|CachePath = $History\\History.IE5\\MSHist01\\",
    "value HKCU\\$Ext5\\MSHist01|CachePrefix = :2006",
    "value HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs|MRUList = a"});
// What lies beside the targets and must stay as it is.
const Lines kCanaries = Expand({
    "file $Profile\\My Documents\\keep.doc = k", "file $Recent\\Desktop.INI = i", kMozilla + "prefs.js = k",
    kAol + "keep.txt = k", "file C:\\Documents and Settings\\user\\Local Settings\\keep.txt = k",
    "readonly $Temp\\kept.tmp = r", "file $Temp\\sub\\b.tmp = t",
    "value HKCU\\$Main|Search Page = http://search.test/", "value HKCU\\Software\\Microsoft\\Internet Explorer|Keep = k",
    "value HKCU\\Software\\Microsoft\\Search Assistant|Keep = k",
    "value HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer|Keep = k",
    "value HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings|Keep = k"});
// clang-format on
// The cookies of the keep list's host, in each place a cookie lives: no command may lose
// one, whatever call fails.
const Lines kKept =
    Expand({"cache Cookie:user@keep.test/ = $Cookies\\user@keep[1].txt",
            "file $Cookies\\user@keep[1].txt = k", "file $Cookies\\index.dat = INDEX"});

enum Command { kTest, kClear, kSave, kRestore };
const char* const kCommandNames[] = {"Test", "Clear", "Save", "Restore"};
// The line a command ends with when all went well.
const std::string kSuccess[] = {"完成!", "完成!", "状态已保存 <OK>", "状态已还原 <OK>"};
// What the log says when a call fails that the program reports ("command call", or
// "command call argument"): a line it must hold, the last one when the command cannot go
// on without the call; an empty line for a command that stops there without a word.
struct Report {
    const char* line;
    bool closes;
};
// clang-format off
const std::map<std::string, Report> kReports = {
    {"Save System.ModuleFileName", {"无法创建文件!", true}},
    {"Save Storage.CreateDocfile", {"无法创建文件!", true}},
    {"Save Storage.CreateStream SaveDate", {"无法创建流!", true}},
    {"Save Storage.CreateStream History", {"", true}},
    {"Save Storage.CreateStream TypedURLs", {"无法创建流!", true}},
    {"Save Storage.CreateStream TemporaryInternetFiles", {"无法创建流!", true}},
    {"Save Storage.CreateStream Cookies", {"", true}},
    {"Save Storage.CreateStream StartPage", {"", true}},
    {"Save Storage.CreateStream Recent", {"", true}},
    {"Save Storage.Write", {"状态未保存 <失败>", true}},
    {"Restore System.ModuleFileName", {"如果您想要还原状态，您应该事先保存!", true}},
    {"Restore Storage.OpenDocfile", {"如果您想要还原状态，您应该事先保存!", true}},
    {"Restore Storage.OpenStream Recent", {"**无法打开“文档”列表流!", true}},
    {"Restore Storage.OpenStream History", {"**无法还原历史记录 <失败>", false}},
    {"Restore Storage.OpenStream SaveDate", {"**无法还原 Internet 临时文件 <失败>", false}},
    {"Restore Storage.OpenStream TemporaryInternetFiles", {"**没有要还原的 Internet 临时文件 <OK>", false}},
    {"Restore Storage.OpenStream TypedURLs", {"**无法还原分类 URL <失败>", false}},
    {"Restore Storage.OpenStream Cookies", {"**无法还原 Cookies <失败>", false}},
    {"Restore Storage.OpenStream StartPage", {"**无法还原首页 <失败>", false}},
    {"Restore Registry.SetValue url1", {"**无法还原分类 URL <失败>", false}},
    {"Clear Shell.EmptyRecycleBin", {"**回收站已清空... 请手动清空回收站! <失败>", false}},
    {"Clear Shell.Export SHEmptyRecycleBinA", {"**回收站已清空... 外壳版本太旧了! 请手动清空回收站! <失败>", false}},
    {"Clear Registry.SetValue 起始页", {"**\\\n无法删除 IE 起始页", false}}};
// clang-format on

std::set<std::string> reportsMet;  // the keys of kReports that a run met

// The error each call fails with, as Windows would give it: the first entry that begins
// the call's name. Writes and stream reads are cut short, moving half their bytes first.
// clang-format off
const std::pair<const char*, std::uint32_t> kErrors[] = {
    {"Files.Write", winerr::kDiskFull}, {"Files.FindFirst", winerr::kFileNotFound},
    {"Files.", winerr::kSharingViolation}, {"UrlCache.", winerr::kSharingViolation},
    {"Storage.Write", stgerr::kMediumFull}, {"UrlHistory.", hresult::kOutOfMemory}, {"Storage.", hresult::kFail},
    {"Shell.QueryRecycleBin", hresult::kFail}, {"Shell.EmptyRecycleBin", hresult::kFail},
    {"Security.", 8 /* ERROR_NOT_ENOUGH_MEMORY */}, {"", winerr::kAccessDenied}};
// clang-format on

void FailNth(FaultPlan& plan, const std::string& call, int n) {
    auto error = std::find_if(std::begin(kErrors), std::end(kErrors),
                              [&](const auto& e) { return call.rfind(e.first, 0) == 0; });
    bool partway = call == "Files.Write" || call == "Storage.Write" || call == "Storage.Read";
    plan.FailNth(call, n, error->second, partway);
}

// A Chinese XP profile with every trace and canary, each browser open, and a snapshot
// saved of it. For Restore the traces are then cleared, a document used again, and the
// history index held open.
struct World : Machine {
    explicit World(Command command) {
        Seed(mem, Join({kTraces, kLeft, kCanaries, kKept}));
        dlg.settings.closeBrowserPolicy = 1;
        dlg.settings.keepCookies = {"keep.test"};
        for (const char* browser : {"IEFrame", "MozillaWindowClass", "AOL Frame25"}) {
            mem.windows.Add(browser, true, [this](HWnd window, const SentMessage&) {
                mem.windows.Destroy(window);
                return 0;
            });
        }
        EXPECT_TRUE(dlg.SaveState());
        saved = State(mem);
        if (command == kRestore) {
            dlg.OnClear();
            Seed(mem, {Expand("file $Recent\\doc.lnk = used since")});
            Hold(mem, "$History\\History.IE5\\index.dat", fileaccess::kRead,  // the browser's
                 fileshare::kRead | fileshare::kWrite);
        }
        dlg.log.ClearLog();
    }
    void TestBody() override {}
    // Whether a snapshot command reports success; Test and Clear report nothing.
    bool Run(Command command) {
        if (command == kTest) {
            dlg.OnTest();
        } else if (command == kClear) {
            dlg.OnClear();
        }
        return command <= kClear || (command == kSave ? dlg.SaveState() : dlg.RestoreState());
    }
    using Machine::dlg;
    using Machine::mem;
    Lines saved;  // the state the snapshot holds
};

// Whether lines hold line, or line followed by zeros: a file that cannot be moved aside
// keeps its length, zeros after what was put in it.
bool Has(const Lines& lines, const std::string& line) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.rfind(line, 0) == 0 && l.find_first_not_of('\0', line.size()) == l.npos;
    });
}

// What a log line names a trace by: a file's name, an entry's URL, a value's text when
// it is long enough not to turn up by chance; empty for the rest.
std::string NameOf(const std::string& trace) {
    auto [kind, rest] = seed::Split(trace, " ");
    auto [where, data] = seed::Split(rest, " = ");
    return kind == "file"                         ? where.substr(where.rfind('\\') + 1)
           : kind == "cache" || kind == "history" ? where
           : kind == "value" && data.size() > 3   ? data
                                                  : "";
}

// The line of lines about the same file as line; empty when there is none.
std::string SameFile(const Lines& lines, const std::string& line) {
    std::string head = seed::Split(line, " = ").first + " = ";
    auto at = std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(head, 0) == 0; });
    return at == lines.end() ? "" : *at;
}

// A run with the n-th call of that name failed (none when n is 0), what it left, and the
// checks made of it, each returning its complaint or nothing.
struct Outcome {
    Outcome(Command command, const std::string& call, int n) : command(command), call(call), n(n) {}
    Command command;
    std::string call;
    int n;
    bool ok = false;    // the command's answer
    bool busy = false;  // left set after the command
    Lines before, after, saved, log;
    Lines undone;                     // traces Clear left, saved ones Restore did not put back
    std::map<std::string, int> made;  // how often the run made each call
    const Report* report = nullptr;   // null when the failure goes unreported
    std::string closing;              // the line the log must end with

    std::string CallNeverMade() const {
        return (made.count(call) ? made.at(call) : 0) < n ? " the call was never made;" : "";
    }
    // An empty closing line: the command stops without a word, and not with success.
    std::string WrongClosingLine() const {
        bool right = !log.empty() &&
                     (closing.empty() ? log.back() != kSuccess[command] : log.back() == closing);
        return right ? "" : " ends with \"" + (log.empty() ? "" : log.back()) + "\";";
    }
    std::string ReportMissing() const {
        bool said = report == nullptr || closing.empty() || Has(log, report->line);
        return said ? "" : " does not say \"" + std::string(report->line) + "\";";
    }
    std::string WrongAnswer() const {
        bool wrong = command >= kSave && ok != (kSuccess[command] == closing);
        return wrong ? " answers " + std::to_string(ok) + ";" : "";
    }
    std::string StaysBusy() const { return busy ? " stays busy;" : ""; }
    std::string TestChangedMachine() const {
        return command == kTest && before != after ? " Test changed the machine;" : "";
    }
    // The canaries, and the kept cookies in each place a cookie lives.
    std::string TouchedCanary() const {
        std::string problems;
        for (const std::string& canary : Join({kCanaries, kKept})) {
            std::string line =
                canary.rfind("cache ", 0) == 0 ? seed::Split(canary, " = ").first : canary;
            problems += Has(after, line) ? "" : " touched " + line + ";";
        }
        std::string mozilla = SameFile(after, Expand(kMozilla + "cookies.txt = "));
        return problems +
               (mozilla.find(kKeptLine) == mozilla.npos ? " lost the Mozilla line;" : "");
    }
    // A trace the command left undone that an <OK> line of the log names.
    std::string OkForUndone() const {
        for (const std::string& trace : undone) {
            for (const std::string& line : log) {
                if (!NameOf(trace).empty() && line.find(NameOf(trace)) != std::string::npos &&
                    line.find("<OK>") != std::string::npos) {
                    return " says \"" + line + "\" of " + trace + ";";
                }
            }
        }
        return "";
    }
    // A clean Clear takes every trace.
    std::string CleanClearLeftTrace() const {
        bool left = command == kClear && n == 0 && !undone.empty();
        return left ? " left " + undone.front() + ";" : "";
    }
    std::string RestoreLostFile() const {
        std::string problems;
        for (const std::string& line : command == kRestore ? before : Lines{}) {
            std::string now = SameFile(after, line), kept = SameFile(saved, line);
            if (line.rfind("file ", 0) == 0 && now != line && (kept.empty() || !Has({now}, kept))) {
                problems += " lost " + line + ";";
            }
        }
        return problems;
    }
};

Outcome RunWithFault(Command command, const std::string& call, int n) {
    World world(command);
    Outcome o(command, call, n);
    o.before = State(world.mem);
    for (FaultPlan* plan : world.mem.FaultPlans()) {
        FailNth(*plan, call, n);
        plan->recording = true;
    }
    o.ok = world.Run(command);
    std::string row = kCommandNames[command] + (" " + call), argument;
    for (FaultPlan* plan : world.mem.FaultPlans()) {
        plan->Clear();
        for (const FaultPlan::Call& c : plan->calls) {
            if (++o.made[c.name] == n && c.name == call) {
                argument = c.argument;
            }
        }
    }
    auto report = kReports.find(kReports.count(row) ? row : row + " " + argument);
    o.report = report != kReports.end() ? &report->second : nullptr;
    reportsMet.insert(o.report != nullptr ? report->first : "");
    o.closing = o.report != nullptr && o.report->closes ? o.report->line : kSuccess[command];
    o.busy = world.dlg.busy;
    o.log = LogLines(world.dlg.log);
    o.after = State(world.mem);
    o.saved = world.saved;
    for (const std::string& trace : command == kClear ? kTraces : o.saved) {
        if ((command == kClear || command == kRestore) &&
            Has(o.after, trace) == (command == kClear)) {
            o.undone.push_back(trace);
        }
    }
    return o;
}

// What went wrong in a run with the n-th call of that name failed, or none when n is 0;
// empty when nothing did. calls receives how often the run made each call.
std::string Problems(Command command, const std::string& call, int n,
                     std::map<std::string, int>* calls = nullptr) {
    const Outcome outcome = RunWithFault(command, call, n);
    std::string problems;
    for (auto check : {&Outcome::CallNeverMade, &Outcome::WrongClosingLine, &Outcome::ReportMissing,
                       &Outcome::WrongAnswer, &Outcome::StaysBusy, &Outcome::TestChangedMachine,
                       &Outcome::TouchedCanary, &Outcome::OkForUndone,
                       &Outcome::CleanClearLeftTrace, &Outcome::RestoreLostFile}) {
        problems += (outcome.*check)();
    }
    if (calls != nullptr) {
        *calls = outcome.made;
    }
    return problems;
}

TEST(FaultSweep, EveryCommandSurvivesEachOfItsCallsFailing) {
    for (Command command : {kTest, kClear, kSave, kRestore}) {
        std::map<std::string, int> calls;
        EXPECT_EQ("", Problems(command, "", 0, &calls)) << kCommandNames[command];
        for (const auto& [call, count] : calls) {
            for (int n = 1; n <= count; ++n) {
                EXPECT_EQ("", Problems(command, call, n))
                    << kCommandNames[command] << " " << call << " " << n;
            }
        }
    }
    EXPECT_EQ(kReports.size() + 1, reportsMet.size());  // and "" for the rest
}

// On the seeded profile, Test's report and Clear's agree category by category: what Test
// counts and sizes is what Clear removes, and Clear lists no failure. The figures are the
// profile's own, so that a category counting nothing in both could not agree by chance.
// The cache index is held open, as WinINet holds it: the cache folder's removal leaves it
// to the index.dat step.
TEST(FaultSweep, TestAndClearReportTheSameTraces) {
    struct Row {
        const char* name;
        int items;
        long long bytes;  // -1: none can be known
        int kept = 0;
    };
    // clang-format off
    const Row rows[] = {{"browsers", 2, -1}, {"cookies", 1, 0, 1}, {"mozilla", 2, 6, 1}, {"history", 2, -1}, {"aol", 1, 1},
        {"autocomplete", 1, -1}, {"temporary_internet_files", 1, 0}, {"windows_temp", 1, 1}, {"start_page", 1, -1},
        {"recycle_bin", 1, 10}, {"recent_documents", 1, 1}, {"search_history", 1, -1}, {"index_dat", 3, 36}};
    // clang-format on
    World world(kTest);
    Hold(world.mem, "$Cache\\Content.IE5\\index.dat", fileaccess::kRead | fileaccess::kWrite,
         fileshare::kRead | fileshare::kWrite);
    std::vector<CategoryReport> reports[2];
    for (Command command : {kTest, kClear}) {
        world.Run(command);
        reports[command] = world.dlg.report;
    }
    ASSERT_EQ(std::size(rows), reports[kTest].size());
    for (size_t i = 0; i < std::size(rows); ++i) {
        for (const CategoryReport& c : {reports[kTest][i], reports[kClear][i]}) {
            long long bytes = c.result.bytes ? static_cast<long long>(*c.result.bytes) : -1;
            EXPECT_EQ(
                (std::tuple{rows[i].name, true, rows[i].items, rows[i].bytes, rows[i].kept, 0u}),
                (std::tuple{c.name, c.selected, c.result.items, bytes, c.result.kept,
                            c.result.failed.size()}));
        }
    }
}

}  // namespace
