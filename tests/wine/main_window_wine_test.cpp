// The main window and the About dialog under Wine, driven as a user would from a second
// thread while the window runs on the test's own: layout, the skin's pixels, the log's
// drawing, the buttons' looks, the keyboard, closing during a run, and GDI objects.
#include <gmock/gmock.h>
#include <windows.h>
// windows.h first: the common controls build on it.
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "app/command_line.h"
#include "app/main_dlg.h"
#include "platform/win32/win32_platform.h"
#include "ui/help.h"
#include "wine/window_driver.h"
#include "wine/wine_support.h"

namespace {

using namespace driver;

// The real registry, counting the values written and noting how long the log was then.
struct CountingRegistry : Win32Registry {
    WinError SetValue(HKey key, const std::string& name, std::uint32_t type, const void* data,
                      std::uint32_t size) override {
        ++writes;
        linesAtWrite = log != nullptr ? log->LineCount() : -1;
        return Win32Registry::SetValue(key, name, type, data, size);
    }
    int writes = 0;
    int linesAtWrite = -1;
    const ActivityLog* log = nullptr;
};

class MainWindowUnderWine : public WineTest {
protected:
    // The window runs in this process, whose WinINet keeps the containers it found first.
    void SetUp() override {
        redirectCacheFolders = false;
        WineTest::SetUp();
    }
    // Opens the main window on this thread and hands it to user on another; user ends by
    // closing it, or the Close button does. Returns the window's end code.
    INT_PTR Run(const std::function<void(HWND window, MainDlg& main)>& user) {
        MainDlg main(platform);
        uiThread_ = CreateWindowA("STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
        SetWindowLongPtrA(uiThread_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RunCall));
        std::thread thread([&] {
            HWND window = WaitForWindow("#32770", "Corvane");
            ASSERT_NE(nullptr, window);
            SetForegroundWindow(window);
            Settle(window);
            user(window, main);
            PostMessageA(window, WM_COMMAND, IDC_CLOSE_BUTTON, 0);  // if still open
        });
        INT_PTR result = main.DoModal(nullptr);
        thread.join();
        DestroyWindow(uiThread_);
        return result;
    }
    // Runs call on the window's thread, as the program's own code runs.
    void OnUiThread(const std::function<void()>& call) {
        SendMessageA(uiThread_, WM_APP, 0, reinterpret_cast<LPARAM>(&call));
    }
    static POINT Centre(HWND control) {
        RECT r = PlaceOf(control);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    static LRESULT CALLBACK RunCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    // The log's list box as one out of memory: it refuses to add "refused" and cannot
    // give the text of its lines.
    static inline LONG_PTR listProc = 0;
    static LRESULT CALLBACK Refusing(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == LB_ADDSTRING &&
            std::string(reinterpret_cast<const char*>(lParam)) == "refused") {
            return LB_ERRSPACE;
        }
        if (message == LB_GETTEXTLEN || message == LB_GETTEXT) {
            return LB_ERR;
        }
        return CallWindowProcA(reinterpret_cast<WNDPROC>(listProc), list, message, wParam, lParam);
    }

    HWND uiThread_ = nullptr;
    Win32Platform win32;
    CountingRegistry registry;
    Platform platform{registry,          win32.system,   win32.urlCache, win32.urlHistory,
                      win32.windows,     win32.accounts, win32.security, win32.files,
                      win32.environment, win32.shell,    win32.storage};
};

// The client area takes the skin's size; buttons, log and progress bar sit at their
// pixels; the background behind the controls fades from red to white. The bar's tiles
// start at (2, 2) of its background, which is drawn one pixel in: at 0 % none shows, at 5 %
// of 411 pixels one, and 34 when full.
TEST_F(MainWindowUnderWine, LayoutBackgroundAndProgressBar) {
    Run([this](HWND window, MainDlg& main) {
        SIZE skin{};
        Bitmap bitmap(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SKIN)));
        BitmapSize(bitmap.Get(), &skin);
        RECT client, expected = {0, 0, 584, 396};
        GetClientRect(window, &client);
        EXPECT_TRUE(EqualRect(&expected, &client) && skin.cx == 584 && skin.cy == 396);
        // clang-format off
        const struct { int id; RECT place; } controls[] = {
            {IDC_CLEAR, {449, 7, 581, 51}},          {IDC_TEST, {451, 127, 583, 169}},
            {IDC_SAVE_STATE, {450, 169, 582, 211}},  {IDC_RESTORE, {450, 210, 582, 252}},
            {IDC_SETTINGS, {450, 250, 582, 292}},    {IDC_HELP_BUTTON, {450, 291, 582, 333}},
            {IDC_CLOSE_BUTTON, {450, 342, 582, 384}}, {IDC_LOG, {12, 100, 424, 325}},
            {IDC_PROGRESS, {10, 352, 423, 370}},     {IDC_BACKGROUND, {0, 0, 584, 396}}};
        // clang-format on
        for (const auto& c : controls) {
            RECT r = PlaceOf(GetDlgItem(window, c.id));
            EXPECT_TRUE(EqualRect(&c.place, &r)) << c.id << ": " << r.left << "," << r.top;
        }
        MemoryDC dc(nullptr);
        Bitmap canvas(CreateBitmap(600, 1, 1, 32, nullptr));
        Selection into(dc.Get(), canvas.Get());
        EXPECT_EQ(TRUE, SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0));
        // clang-format off
        const struct { int column; COLORREF color; } columns[] = {{0, RGB(255, 0, 0)},
            {10, RGB(255, 0, 0)}, {11, RGB(255, 0, 0)}, {12, RGB(255, 1, 1)}, {100, RGB(255, 132, 132)},
            {182, RGB(255, 253, 253)}, {183, RGB(255, 255, 255)}, {599, RGB(255, 255, 255)}};
        // clang-format on
        for (const auto& c : columns) {
            EXPECT_EQ(c.color, GetPixel(dc.Get(), c.column, 0)) << c.column;
        }
        HWND bar = GetDlgItem(window, IDC_PROGRESS);
        const COLORREF tile = BitmapPixel(IDB_PROGRESS_BAR, 5, 6);
        auto trough = [](int x) { return BitmapPixel(IDB_PROGRESS_BACK, x - 1, 8); };
        ASSERT_NE(tile, trough(8));
        // clang-format off
        const struct { int pos; int x; bool tiled; } rows[] = {
            {0, 8, false}, {5, 8, true}, {5, 20, false}, {100, 8 + 33 * 12, true}, {100, 8 + 34 * 12, false}};
        // clang-format on
        for (const auto& row : rows) {
            OnUiThread([&] {
                main.commands.progress.SetPos(row.pos);
                UpdateWindow(bar);
            });
            EXPECT_EQ(row.tiled ? tile : trough(row.x), Pixel(bar, row.x, 9))
                << row.pos << "% at " << row.x;
        }
    });
}

// Plain lines in the window text colour, emphasised ones in the highlight colour, the
// selected one in the highlighted text colour whatever its emphasis, and the first marker
// word in red ("sex" before "porn", whatever comes first in the line), the line's colour
// again after it. The scroll range follows lines under 300 bytes; the list jumps 16 lines
// at a time.
TEST_F(MainWindowUnderWine, LogLinesDrawnAndFollowed) {
    Run([this](HWND window, MainDlg& main) {
        HWND list = GetDlgItem(window, IDC_LOG);
        const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), strong = GetSysColor(COLOR_HIGHLIGHT);
        const COLORREF red = RGB(255, 0, 0), selected = GetSysColor(COLOR_HIGHLIGHTTEXT);
        SIZE before{};  // where "SeX" starts in "PORN then SeX"
        MemoryDC dc(nullptr);
        Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc.Get(), "PORN then ", 10, &before);
        // clang-format off
        const struct { const char* line; std::uint32_t emphasis; COLORREF color, absent; int redFrom; bool after; } rows[] = {
            {"plain line", emphasis::kPlain, text, strong, -1, false},
            {"EMPHASISED", emphasis::kStrong, strong, text, -1, false},
            {"PORN then SeX", emphasis::kPlain, text, strong, before.cx, false},
            {"some Porn", emphasis::kStrong, strong, text, 0, false},
            {"sex, then more", emphasis::kStrong, strong, text, 0, true},
            {"SELECTED porn and more", emphasis::kStrong, selected, text, 0, true}};  // the selection
        // clang-format on
        OnUiThread([&] {
            for (const auto& row : rows) {
                main.commands.log.AddLogLine(row.line, row.emphasis);
            }
            SendMessageA(list, LB_SETCURSEL, std::size(rows) - 1, 0);
        });
        for (const auto& row : rows) {
            RECT r;
            SendMessageA(list, LB_GETITEMRECT, &row - rows, reinterpret_cast<LPARAM>(&r));
            std::vector<int> reds = ColumnsOf(list, r, red),
                             colored = ColumnsOf(list, r, row.color);
            EXPECT_FALSE(colored.empty()) << row.line;
            EXPECT_TRUE(ColumnsOf(list, r, row.absent).empty()) << row.line;
            EXPECT_EQ(row.redFrom < 0, reds.empty()) << row.line;
            EXPECT_TRUE(reds.empty() || r.left + row.redFrom <= reds.front()) << row.line;
            EXPECT_EQ(row.after, !reds.empty() && colored.back() > reds.back()) << row.line;
        }
        OnUiThread([&] {
            main.commands.log.AddLogLine(std::string(299, 'x'), emphasis::kPlain);
            main.commands.log.AddLogLine(std::string(300, 'x'), emphasis::kPlain);
            main.commands.log.ClearLog();
        });
        EXPECT_EQ(2691, SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
        // A line the list box refuses has no list line to remove, and a line whose text it
        // cannot give is drawn empty.
        OnUiThread([&] {
            listProc = SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Refusing));
            main.commands.log.AddLogLine("kept", emphasis::kPlain);
            main.commands.log.AddLogLine("refused", emphasis::kPlain);
            main.commands.log.RemoveLastLogLine();
            RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            SetWindowLongPtrA(list, GWLP_WNDPROC, listProc);
        });
        char kept[8] = {};
        EXPECT_EQ(1, SendMessageA(list, LB_GETCOUNT, 0, 0));
        EXPECT_EQ(4, SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(kept)));
        EXPECT_STREQ("kept", kept);
        OnUiThread([&] { main.commands.log.ClearLog(); });
        for (int line = 1; line <= 33; ++line) {
            OnUiThread([&] { main.commands.log.AddLogLine("line", emphasis::kPlain); });
            EXPECT_EQ(line < 33 ? 0 : 17, SendMessageA(list, LB_GETTOPINDEX, 0, 0)) << line;
        }
    });
}

// Over a button the mouse gives it the hover look and the focus, and its tooltip shows;
// pressed it shows the pressed look and, released, runs its command, with the lines the
// command line prints.
TEST_F(MainWindowUnderWine, ButtonsFollowTheMouse) {
    struct : TextOutput {  // the command line's output, run in this process
        void Write(const std::string& line) override {
            lines.push_back(line.substr(0, line.size() - 2));
        }
        Lines lines;
    } printed, errors;
    RunCommandLine({"/test"}, platform, printed, errors);
    Run([&](HWND window, MainDlg&) {
        HWND test = GetDlgItem(window, IDC_TEST), log = GetDlgItem(window, IDC_LOG);
        auto look = [](HWND button, int bitmaps) {  // 0 normal, 1 pressed, 2 hover, else -1
            for (int i = 0; i < 3; ++i) {
                if (Pixel(button, 8, 21) == BitmapPixel(bitmaps + i, 8, 21)) {
                    return i;
                }
            }
            return -1;
        };
        ASSERT_NE(BitmapPixel(IDB_TEST, 8, 21), BitmapPixel(IDB_TEST + 2, 8, 21));
        MouseTo(window, Centre(test));
        Settle(window);
        EXPECT_EQ(2, look(test, IDB_TEST));
        EXPECT_EQ(test, Focus(window));
        HWND tip = WaitForWindow("tooltips_class32", nullptr);
        EXPECT_TRUE(tip != nullptr && IsWindowVisible(tip));
        LeftButton(true);
        Settle(window);
        EXPECT_EQ(1, look(test, IDB_TEST));
        LeftButton(false);
        EXPECT_TRUE(WaitForLastLine(log, "完成!"));
        Settle(window);
        Lines shown = printed.lines;  // but the analysis line that the run takes back
        shown.erase(shown.begin() + 2);
        EXPECT_EQ(shown, ListLines(log));
        MouseTo(window, Centre(log));  // the leave is noticed on a timer
        WaitUntil(40, 50, [&] { return look(test, IDB_TEST) == 0; });
        EXPECT_EQ(0, look(test, IDB_TEST));
    });
}

// Enter presses the focused button and never closes the window; maximising leaves the
// size; the detection message only sets the flag.
TEST_F(MainWindowUnderWine, KeyboardAndSystemCommands) {
    Run([](HWND window, MainDlg& main) {
        HWND log = GetDlgItem(window, IDC_LOG);
        MouseTo(window, Centre(GetDlgItem(window, IDC_TEST)));
        Settle(window);
        Key(VK_RETURN);
        ASSERT_TRUE(WaitForLastLine(log, "完成!"));
        Settle(window);
        Lines lines = ListLines(log);
        Click(window, Centre(log));
        Key(VK_RETURN);
        Settle(window);
        EXPECT_EQ(lines, ListLines(log));
        EXPECT_TRUE(IsWindowVisible(window));
        RECT before = PlaceOf(window);
        SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        Settle(window);
        RECT after = PlaceOf(window);
        EXPECT_TRUE(EqualRect(&before, &after));
        EXPECT_FALSE(main.commands.ieWindowOpen);
        EXPECT_EQ(0, SendMessageA(window, kIeWindowOpenMessage, 0, 0));
        EXPECT_TRUE(main.commands.ieWindowOpen);
        EXPECT_EQ(lines, ListLines(log));
    });
}

// Settings edits a copy: Cancel drops the changes; Select all turns every category on and
// puts back the policy the dialog opened with; a box unticked after it stays off; OK
// keeps the choices; the bar is emptied either way; each box is its own category's. Each help
// button asks for its own row's topic, F1 for the contents. The ten help buttons' three shared
// bitmaps live as long as the dialog. Settings while a command runs does nothing.
Lines helpCalls;
BOOL WINAPI RecordHelp(HWND, const char* path, UINT command, ULONG_PTR data) {
    std::string file(path);
    helpCalls.push_back(std::to_string(command) + " " + std::to_string(data) + " " +
                        file.substr(file.rfind('\\') + 1));
    return TRUE;
}
std::string Choices(const EraserSettings& settings) {  // the switches, then the policy
    std::string choices;
    for (auto field : kSwitchFields) {
        choices += std::to_string(settings.*field);
    }
    return choices + " " + std::to_string(settings.closeBrowserPolicy);
}

TEST_F(MainWindowUnderWine, SettingsDialog) {
    StoreSettings(EraserSettings{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});  // never close browsers
    helpEngine = RecordHelp;
    Run([this](HWND window, MainDlg& main) {
        auto open = [&] {
            OnUiThread([&] { main.commands.progress.SetPos(50); });
            PostMessageA(window, WM_COMMAND, IDC_SETTINGS, 0);
            return WaitForWindow("#32770", "设置");
        };
        auto press = [](HWND dialog, std::initializer_list<int> ids) {  // in order
            for (int id : ids) {
                Settle(dialog);
                Click(dialog, Centre(GetDlgItem(dialog, id)));
            }
        };
        PostMessageA(window, WM_COMMAND, IDC_HELP_BUTTON, 0);  // the contents
        HWND dialog = open();
        press(dialog, {1001, 1021, IDCANCEL});
        Settle(window);
        EXPECT_EQ("1111111111 1", Choices(main.commands.settings));
        EXPECT_EQ(0, main.commands.progress.GetPos());
        const int live = LiveGdiObjects();  // once Wine's own are loaded by the first dialog
        dialog = open();
        Settle(dialog);
        EXPECT_EQ(live + 4, LiveGdiObjects());  // the dialog's font and the three bitmaps
        press(dialog, {1001, 1021, IDC_SELECT_ALL});
        for (int id = IDC_HELP_FIRST; id <= IDC_HELP_LAST; ++id) {
            press(dialog, {id});
        }
        Key(VK_F1);
        press(dialog, {1006, IDOK});
        Settle(window);
        EXPECT_EQ("1111101111 1", Choices(main.commands.settings));
        EXPECT_EQ(0, main.commands.progress.GetPos());
        EXPECT_EQ(live, LiveGdiObjects());
        // Each box turns its own category's switch over, whichever order the dialog keeps.
        const int kPlaces[] = {1, 0, 2, 3, 4, 5, 6, 7, 8, 9};  // in Choices, of 1001 to 1010
        std::string choices = Choices(main.commands.settings);
        for (int box = 1001; box <= 1010; ++box) {
            press(open(), {box, IDOK});
            Settle(window);
            choices[kPlaces[box - 1001]] ^= 1;
            EXPECT_EQ(choices, Choices(main.commands.settings)) << box;
        }
        OnUiThread([&] { main.commands.busy = true; });
        PostMessageA(window, WM_COMMAND, IDC_SETTINGS, 0);
        Settle(window);
        EXPECT_EQ(nullptr, FindWindowA("#32770", "设置"));
        OnUiThread([&] { main.commands.busy = false; });
    });
    helpEngine = WinHelpA;
    // clang-format off
    EXPECT_EQ((Lines{"11 0 corvane.hlp", "8 320 corvane.hlp", "8 321 corvane.hlp", "8 322 corvane.hlp", "8 323 corvane.hlp",
                     "8 328 corvane.hlp", "8 326 corvane.hlp", "8 325 corvane.hlp", "8 327 corvane.hlp",
                     "8 324 corvane.hlp", "8 329 corvane.hlp", "11 0 corvane.hlp"}), helpCalls);
    // clang-format on
}

// The keep dialog lists the sites of WinINet's cookies in order, each once, from the
// settings dialog. Ticked and Cancelled, nothing is kept; ticked and kept with OK in both
// dialogs, with a typed URL added as its host (text that is no host is refused in a box
// while the dialog stays open), the list is written on closing and /clear keeps its cookies.
Lines KeptRows(HWND list) {  // the rows of keep.test hosts, each with its tick
    Lines rows;
    char text[300];
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        ListView_GetItemText(list, i, 0, text, sizeof text);
        std::string row(text);
        if (row.size() > 10 && row.compare(row.size() - 10, 10, ".keep.test") == 0) {
            rows.push_back(row + (ListView_GetCheckState(list, i) ? " 1" : " 0"));
        }
    }
    return rows;
}

TEST_F(MainWindowUnderWine, KeepCookiesDialog) {
    ASSERT_EQ(Lines{"0"},
              Child("corvane_wine_helper.exe cookies b.keep.test a.keep.test").Finish());
    StoreSettings(EraserSettings{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1});  // cookies
    Run([this](HWND window, MainDlg& main) {
        for (bool ok : {false, true}) {
            PostMessageA(window, WM_COMMAND, IDC_SETTINGS, 0);
            HWND settings = WaitForWindow("#32770", "设置");
            Settle(settings);
            Click(settings, Centre(GetDlgItem(settings, IDC_KEEP_COOKIES)));
            HWND keep = WaitForWindow("#32770", "保留的 Cookie"),
                 list = GetDlgItem(keep, IDC_KEEP_LIST);
            Settle(keep);
            ASSERT_EQ((Lines{"a.keep.test 0", "b.keep.test 0"}), KeptRows(list));
            RECT r{LVIR_BOUNDS, 0, 0, 0};
            SendMessageA(list, LVM_GETITEMRECT, ListView_GetItemCount(list) - 1,
                         reinterpret_cast<LPARAM>(&r));
            Click(list, POINT{r.left + 8, (r.top + r.bottom) / 2});  // b's check box, the last row
            for (const char* typed : {"no host!", " HTTP://C.Keep.Test/x "}) {
                SetDlgItemTextA(keep, IDC_KEEP_HOST, typed);
                Click(keep, Centre(GetDlgItem(keep, IDC_KEEP_ADD)));
                HWND box = typed[0] == 'n' ? WaitForWindow("#32770", "信息") : nullptr;
                EXPECT_TRUE(typed[0] != 'n' || box != nullptr) << "no host name refused";
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                Settle(keep);
            }
            EXPECT_EQ((Lines{"a.keep.test 0", "b.keep.test 1", "c.keep.test 1"}), KeptRows(list));
            Click(keep, Centre(GetDlgItem(keep, ok ? IDOK : IDCANCEL)));
            Settle(settings);
            Click(settings, Centre(GetDlgItem(settings, IDOK)));
            Settle(window);
            EXPECT_EQ(ok ? KeepList({"b.keep.test", "c.keep.test"}) : KeepList(),
                      main.commands.settings.keepCookies);
        }
    });
    const std::string user = std::getenv("USERNAME");
    EXPECT_THAT(RunCorvane("/clear /utf8"),
                testing::IsSupersetOf({"保留: Cookie:" + user + "@b.keep.test/",
                                       "Cookie:" + user + "@a.keep.test/"}));
    DeleteUrlCacheEntryA(("Cookie:" + user + "@b.keep.test/").c_str());
}

// Without corvane.hlp beside the program, Help says so in a box of its own.
TEST_F(MainWindowUnderWine, HelpWithoutItsFile) {
    const std::string hlp = FindHelpFile();
    ASSERT_TRUE(MoveFileA(hlp.c_str(), (hlp + ".away").c_str()));
    Run([](HWND window, MainDlg&) {
        PostMessageA(window, WM_COMMAND, IDC_HELP_BUTTON, 0);
        HWND box = WaitForWindow("#32770", "信息");
        char text[64] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the text of a message box
        EXPECT_STREQ("帮助文件未被安装!", text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    MoveFileA((hlp + ".away").c_str(), hlp.c_str());
}

// About opens from the system menu and shows its link. Opening and closing the window and
// the dialog leaves no GDI object behind.
TEST_F(MainWindowUnderWine, AboutLinkAndGdiObjects) {
    auto about = [](HWND window) {
        char entry[64] = "";
        GetMenuStringA(GetSystemMenu(window, FALSE), IDM_ABOUTBOX, entry, sizeof entry,
                       MF_BYCOMMAND);
        EXPECT_STREQ("关于 Corvane(&A)...", entry);
        PostMessageA(window, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND dialog = WaitForWindow("#32770", "关于 Corvane");
        Settle(dialog);
        return dialog;
    };
    Run([&](HWND window, MainDlg&) { PostMessageA(about(window), WM_COMMAND, IDOK, 0); });
    const int live = LiveGdiObjects();
    Run([&](HWND window, MainDlg&) {
        HWND dialog = about(window);
        char text[64] = "";
        GetWindowTextA(GetDlgItem(dialog, IDC_LINK), text, sizeof text);
        EXPECT_STREQ("http://www.example.com/corvane/", text);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(live, LiveGdiObjects());
}

// While a long Clear counts 10,000 cache entries the window answers and its progress bar
// moves; a second command does nothing; two close requests made then close the window
// once, after the run has ended its remaining steps, with the settings saved once.
class LongClearUnderWine : public MainWindowUnderWine {
protected:
    void TearDown() override {
        for (int i = 0; i < kEntries; ++i) {
            DeleteUrlCacheEntryA(Url(i).c_str());
        }
        MainWindowUnderWine::TearDown();
    }
    static std::string Url(int i) { return "http://long.test/" + std::to_string(i); }
    static constexpr int kEntries = 10000;
};

TEST_F(LongClearUnderWine, ClosesOnceAfterTheRun) {
    for (int i = 0; i < kEntries; ++i) {
        ASSERT_TRUE(Commit(Url(i)));
    }
    StoreSettings(EraserSettings{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1});  // temporary Internet files
    int shown = 0;                                                   // lines in the log at the end
    INT_PTR result = Run([&](HWND window, MainDlg& main) {
        registry.log = &main.commands.log;
        HWND log = GetDlgItem(window, IDC_LOG), bar = GetDlgItem(window, IDC_PROGRESS);
        const COLORREF tile = BitmapPixel(IDB_PROGRESS_BAR, 5, 6);
        PostMessageA(window, WM_COMMAND, IDC_CLEAR, 0);
        EXPECT_TRUE(WaitForLastLine(log, "正在分析系统... Please wait. This may take some time"));
        DWORD_PTR answer = 0;
        EXPECT_NE(0, SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer));
        WaitUntil(200, 20, [&] { return Pixel(bar, 20, 9) == tile; });
        EXPECT_EQ(tile, Pixel(bar, 20, 9));  // the second tile: counting moves the bar on
        PostMessageA(window, WM_COMMAND, IDC_TEST, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitUntil(1200, 50, [&] { return !IsWindow(window); });
        ASSERT_FALSE(IsWindow(window));
        const std::vector<LogLine>& lines = main.commands.log.Lines();
        shown = main.commands.log.LineCount();
        EXPECT_EQ("完成!", lines.back().text);
        for (const LogLine& line : lines) {
            EXPECT_NE(0u, line.text.rfind("测试: ", 0)) << line.text;
        }
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(11, registry.writes);
    EXPECT_EQ(shown, registry.linesAtWrite);
}

}  // namespace
