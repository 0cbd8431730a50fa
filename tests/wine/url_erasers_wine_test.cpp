// The cookie, temporary Internet files and history erasers on the real platform: Wine's
// WinINet cache with real cookies, pages and visited pages, the folders of a Chinese XP
// profile, and the history object reached through COM (a stand-in, since Wine's own
// cannot list), with a window message that clears busy as a close request does.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: WinINet builds on it.
#include <wininet.h>

#include <algorithm>

#include "app/eraser_dlg.h"
#include "clean/erasers.h"
#include "clean/progress_counts.h"
#include "platform/win32/win32_platform.h"
#include "wine/fake_url_history.h"
#include "wine/url_test_support.h"
#include "wine/wine_support.h"
#include "wine/xp_profile_wine.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kPage[] = "http://corvane-erasers.test/page.htm";
constexpr char kBig[] = "http://corvane-erasers.test/big.htm";
constexpr char kVisited[] = "Visited: user@http://corvane-erasers.test/";

bool InCache(const std::string& url) {
    DWORD size = 0;
    return GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
           GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// The lines between an eraser's heading and blank line and its closing lines, sorted:
// the cache walk's order is WinINet's.
Lines Entries(Lines lines) {
    if (lines.size() < 4) {
        return {};
    }
    Lines entries(lines.begin() + 2, lines.end() - 2);
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The frame of an eraser's log around its entries.
Lines Frame(const Lines& lines) {
    Lines frame(lines.begin(), lines.begin() + std::min<size_t>(2, lines.size()));
    if (lines.size() >= 4) {
        frame.insert(frame.end(), lines.end() - 2, lines.end());
    }
    return frame;
}

class UrlErasersUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        EmptyUrlCache();
        dlg.DetectOsVersion();
        dlg.busy = true;  // as during a run
    }
    void TearDown() override {
        EmptyUrlCache();
        for (const std::string& file : files) {
            DeleteFileA(file.c_str());
        }
    }
    template <typename Step>
    Lines LogOf(Step step) {
        dlg.log.ClearLog();
        step();
        Lines out;
        for (const LogLine& line : dlg.log.Lines()) {
            out.push_back((line.emphasis != 0 ? "**" : "") + line.text);
        }
        return out;
    }

    ComThread com;
    WineXpProfile xp;
    Win32Platform win32;
    EraserDlg dlg{win32.platform};
    std::vector<std::string> files;
};

// WinINet's containers in this process were fixed when it loaded; the folder steps work
// on the XP profile's folders, which the shell now names.
TEST_F(UrlErasersUnderWine, EachEraserTakesOnlyItsOwnKindOfEntry) {
    const std::string cookieA = SetTestCookie("a.corvane-erasers.test");
    const std::string cookieB = SetTestCookie("b.corvane-erasers.test");
    ASSERT_NE("", cookieA);
    ASSERT_NE("", cookieB);
    files.push_back(CommitTestEntryWithFile(kPage, "<html></html>"));
    ASSERT_NE("", files.back());
    ASSERT_TRUE(CommitTestEntry(kBig, std::string(5000, 'h')));  // a record over 4096 bytes
    ASSERT_TRUE(CommitVisitedEntry(kVisited));
    const std::string cookieFile = xp.cookies + "\\user@a.corvane-erasers[1].txt";
    const std::string cachedFile = xp.cache + "\\Content.IE5\\AB12CD34\\page[1].htm";
    CreateDirectoryA((xp.cache + "\\Content.IE5").c_str(), nullptr);
    CreateDirectoryA((xp.cache + "\\Content.IE5\\AB12CD34").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(cookieFile, "c"));
    ASSERT_TRUE(WriteFileBytes(cachedFile, "p"));

    Lines test = LogOf([&] { EraseTemporaryInternetFiles(dlg, true); });
    EXPECT_EQ((Lines{"**测试: 正在删除 Internet 临时文件...", "", "",
                     "**测试: Internet 临时文件已删除 <OK>"}),
              Frame(test));
    EXPECT_EQ((Lines{kBig, kPage}), Entries(test));
    EXPECT_TRUE(InCache(kPage) && InCache(kBig) && PathExists(files.back()));
    EXPECT_TRUE(PathExists(cachedFile));
    Lines clear = LogOf([&] { EraseTemporaryInternetFiles(dlg, false); });
    EXPECT_EQ((Lines{"**正在删除 Internet 临时文件...", "", "", "**Internet 临时文件已删除 <OK>"}),
              Frame(clear));
    EXPECT_EQ((Lines{kBig, kPage}), Entries(clear));
    EXPECT_FALSE(InCache(kPage) || InCache(kBig) || PathExists(files.back()));
    EXPECT_FALSE(PathExists(xp.cache));
    EXPECT_TRUE(InCache(cookieA) && InCache(cookieB) && InCache(kVisited));

    test = LogOf([&] { EraseCookies(dlg, true); });
    EXPECT_EQ((Lines{"**测试: 正在删除 Cookies...", "", "", "**测试: Cookies 已删除 <OK>"}),
              Frame(test));
    EXPECT_EQ((Lines{cookieA, cookieB}), Entries(test));
    EXPECT_TRUE(InCache(cookieA) && InCache(cookieB) && PathExists(cookieFile));
    clear = LogOf([&] { EraseCookies(dlg, false); });
    EXPECT_EQ((Lines{"**正在删除 Cookies...", "", "", "**已删除 <OK>"}), Frame(clear));
    EXPECT_EQ((Lines{cookieA, cookieB}), Entries(clear));
    EXPECT_FALSE(InCache(cookieA) || InCache(cookieB) || PathExists(cookieFile));
    EXPECT_TRUE(InCache(kVisited));
    EXPECT_EQ((Lines{"**正在删除 Cookies...", "", "**没有要删除的 Cookies! <OK>"}),
              LogOf([&] { EraseCookies(dlg, false); }));
}

// A window whose message clears busy, as the main window's close request does, and a
// count of the other messages it was sent.
class Window {
public:
    static constexpr UINT kCloseRequest = WM_APP + 1;
    static constexpr UINT kClick = WM_APP + 2;

    explicit Window(EraserDlg& dlg) : dlg_(dlg) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CorvaneUrlErasersTest";
        RegisterClassA(&windowClass);
        handle_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Window() { DestroyWindow(handle_); }
    void Post(UINT message) { PostMessageA(handle_, message, 0, 0); }
    int clicks = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && message == kCloseRequest) {
            self->dlg_.busy = false;
            return 0;
        }
        if (self != nullptr && message == kClick) {
            ++self->clicks;
            return 0;
        }
        return DefWindowProcA(window, message, w, l);
    }

    EraserDlg& dlg_;
    HWND handle_ = nullptr;
};

class HistoryUnderWine : public UrlErasersUnderWine {};

TEST_F(HistoryUnderWine, ListedThroughTheObjectWithoutAboutBlankAndClearedByClear) {
    FakeUrlHistory history{{L"about:blank", L""},
                           {L"http://\x4f8b\x5b50.test/", L"例子"},  // 例子
                           {L"ABOUT:Blank", L""},
                           {L"http://b.corvane.test/", L""}};
    ASSERT_EQ(S_OK, history.Registration());
    const Lines listed = {"", "http://例子.test/", "http://b.corvane.test/", ""};
    Lines expected = {"**测试: 正在清除历史记录..."};
    expected.insert(expected.end(), listed.begin(), listed.end());
    expected.push_back("**测试: 历史记录已清除 <OK>");
    EXPECT_EQ(expected, LogOf([&] { EraseHistory(dlg, true); }));
    EXPECT_EQ(0, history.ClearHistoryCalls());
    EXPECT_EQ(4u, history.Urls().size());
    expected = {"**正在清除历史记录..."};
    expected.insert(expected.end(), listed.begin(), listed.end());
    expected.push_back("**历史记录已清除 <OK>");
    EXPECT_EQ(expected, LogOf([&] { EraseHistory(dlg, false); }));
    EXPECT_EQ(1, history.ClearHistoryCalls());
    EXPECT_TRUE(history.Urls().empty());

    // Only "about:blank": nothing to list, yet Clear clears all the same.
    history.Serve({{L"about:blank", L""}});
    EXPECT_EQ((Lines{"**测试: 正在清除历史记录...", "", "**测试: 没有要清除的历史记录 <OK>"}),
              LogOf([&] { EraseHistory(dlg, true); }));
    EXPECT_EQ((Lines{"**正在清除历史记录...", "", "**没有要清除的历史记录 <OK>"}),
              LogOf([&] { EraseHistory(dlg, false); }));
    EXPECT_EQ(2, history.ClearHistoryCalls());
    EXPECT_EQ(0, history.LiveObjects());
    EXPECT_TRUE(history.RecordsArrivedClean());
}

// The close request ends the listing after the record it came during; the click queued
// behind it is not dispatched inside the abandoned command.
TEST_F(HistoryUnderWine, CloseRequestStopsTheListingAndHoldsBackLaterMessages) {
    FakeUrlHistory history{{L"http://a.corvane.test/", L""}, {L"http://b.corvane.test/", L""}};
    Window window(dlg);
    window.Post(Window::kCloseRequest);
    window.Post(Window::kClick);
    EXPECT_EQ((Lines{"**测试: 正在清除历史记录...", "", "http://a.corvane.test/", "",
                     "**测试: 历史记录已清除 <OK>"}),
              LogOf([&] { EraseHistory(dlg, true); }));
    EXPECT_EQ(0, window.clicks);
    EXPECT_EQ(0, history.LiveObjects());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(1, window.clicks);
}

TEST_F(HistoryUnderWine, ObjectThatCannotBeCreatedListsAndClearsNothing) {
    FakeUrlHistory history{{L"http://a.corvane.test/", L""}};
    history.FailCreation(REGDB_E_CLASSNOTREG);
    EXPECT_EQ((Lines{"**测试: 正在清除历史记录...", "", "**测试: 没有要清除的历史记录 <OK>"}),
              LogOf([&] { EraseHistory(dlg, true); }));
    EXPECT_EQ((Lines{"**正在清除历史记录...", "", "**没有要清除的历史记录 <OK>"}),
              LogOf([&] { EraseHistory(dlg, false); }));
    EXPECT_EQ(0, history.ClearHistoryCalls());
    EXPECT_EQ(1u, history.Urls().size());
}

// The 32-bit build computes in the x87 unit, whose extended precision would make the
// second threshold 1399 (1000 x 1.4 is 1399.99... before rounding to a double).
TEST(CountingPaceUnderWine, ThresholdsGrowInDoublePrecision) {
    Win32Platform win32;
    EraserDlg dlg{win32.platform};
    CountingPace pace;
    std::vector<int> stepsAt;
    for (int count = 1; count <= 1960; ++count) {
        int before = dlg.progress.GetPos();
        pace.Count(dlg);
        if (dlg.progress.GetPos() != before) {
            stepsAt.push_back(count);
        }
    }
    EXPECT_EQ((std::vector<int>{1001, 1401, 1960}), stepsAt);
}

}  // namespace
