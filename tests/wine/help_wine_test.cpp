// Wine's help viewer on the corvane.hlp that the build puts beside the program: each
// context number of the settings dialog opens its category's topic, which says what Test
// shows and what Clear loses; the contents open at the contents topic, and HELP_QUIT closes
// the viewer.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "ui/help.h"
#include "wine/window_driver.h"

namespace {

// The viewer's window, once it is there.
HWND Viewer() {
    return FindWindowA("MS_WINHELP", nullptr);
}

// The viewer's text once its first line is the one expected, or after 5 seconds. Wine's
// rich edit control answers WM_GETTEXT only when the buffer holds the whole text.
std::string TopicText(const std::string& firstLine) {
    char text[4096] = "";
    driver::WaitUntil(100, 50, [&] {
        SendMessageA(FindWindowExA(Viewer(), nullptr, "RichEdit20A", nullptr), WM_GETTEXT,
                     sizeof text, reinterpret_cast<LPARAM>(text));
        return firstLine == std::string(text, std::strcspn(text, "\r\n"));
    });
    return text;
}

TEST(HelpUnderWine, ViewerOpensEachTopic) {
    HWND owner =
        CreateWindowA("STATIC", "help owner", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const std::string file = FindHelpFile();
    ASSERT_NE("", file);
    // clang-format off
    const struct { UINT command; ULONG_PTR topic; const char* title; } rows[] = {
        {HELP_CONTEXT, 320, "Cookies"}, {HELP_CONTEXT, 321, "历史记录"}, {HELP_CONTEXT, 322, "Internet 临时文件"},
        {HELP_CONTEXT, 323, "Index.dat 文件"}, {HELP_CONTEXT, 324, "Windows 临时文件夹"},
        {HELP_CONTEXT, 325, "“文档”菜单中的文件"}, {HELP_CONTEXT, 326, "回收站"}, {HELP_CONTEXT, 327, "自动填表"},
        {HELP_CONTEXT, 328, "浏览器首页"}, {HELP_CONTEXT, 329, "Windows 搜索历史记录"}, {HELP_CONTEXT, 330, "保留的 Cookie"},
        {HELP_FINDER, 0, "Corvane 帮助"}};
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_TRUE(WinHelpA(owner, file.c_str(), row.command, row.topic));
        const std::string text = TopicText(row.title);
        EXPECT_EQ(row.title, text.substr(0, text.find_first_of("\r\n"))) << row.topic;
        // A category's topic says what Test shows and what Clear loses.
        for (const char* part : {"“测试”显示：", "无法撤消："}) {
            EXPECT_EQ(row.command == HELP_CONTEXT, text.find(part) != text.npos) << row.topic;
        }
    }
    WinHelpA(owner, file.c_str(), HELP_QUIT, 0);
    driver::WaitUntil(100, 50, [] { return Viewer() == nullptr; });
    EXPECT_EQ(nullptr, Viewer());
    DestroyWindow(owner);
}

}  // namespace
