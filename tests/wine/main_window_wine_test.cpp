// The main window and the About dialog under Wine, driven as a user would from a second
// thread while the window runs on the test's own: layout, the skin's pixels, the log's
// drawing, the buttons' looks, the keyboard, closing during a run, and GDI objects.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/main_dlg.h"
#include "platform/win32/win32_platform.h"
#include "wine/window_driver.h"
#include "wine/wine_support.h"

namespace {

using namespace driver;

// The real registry, counting the values written under the settings key.
struct CountingRegistry : Win32Registry {
    WinError SetValue(HKey key, const std::string& name, std::uint32_t type, const void* data,
                      std::uint32_t size) override {
        ++writes;
        return Win32Registry::SetValue(key, name, type, data, size);
    }
    int writes = 0;
};

class MainWindowUnderWine : public WineTest {
protected:
    // Opens the main window on this thread and hands it to user on another; user ends by
    // closing it, or the Close button does. Returns the window's end code.
    INT_PTR Run(const std::function<void(HWND window, MainDlg& main)>& user) {
        MainDlg main(platform);
        std::thread thread([&] {
            HWND window = WaitForWindow("#32770", "Corvane");
            ASSERT_NE(nullptr, window);
            SetForegroundWindow(window);
            Settle(window);
            user(window, main);
            if (IsWindow(window)) {
                PostMessageA(window, WM_COMMAND, IDC_CLOSE_BUTTON, 0);
            }
        });
        INT_PTR result = main.DoModal(nullptr);
        thread.join();
        return result;
    }
    static POINT Centre(HWND control) {
        RECT r = PlaceOf(control);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    Win32Platform win32;
    CountingRegistry registry;
    Platform platform{registry,          win32.system,   win32.urlCache, win32.urlHistory,
                      win32.windows,     win32.accounts, win32.security, win32.files,
                      win32.environment, win32.shell,    win32.storage};
};

// The client area takes the skin's size; buttons, log and progress bar sit at their
// pixels; the background behind the controls fades from red to white.
TEST_F(MainWindowUnderWine, LayoutAndBackground) {
    Run([](HWND window, MainDlg&) {
        SIZE skin{};
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SKIN));
        BitmapSize(bitmap, &skin);
        DeleteObject(bitmap);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(584, skin.cx);
        EXPECT_EQ(396, skin.cy);
        EXPECT_EQ(skin.cx, client.right);
        EXPECT_EQ(skin.cy, client.bottom);
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
            EXPECT_TRUE(EqualRect(&c.place, &r))
                << c.id << ": " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
        }
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP canvas = CreateBitmap(600, 1, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, canvas);
        EXPECT_EQ(TRUE, SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
        // clang-format off
        const struct { int column; COLORREF color; } columns[] = {{0, RGB(255, 0, 0)},
            {10, RGB(255, 0, 0)}, {11, RGB(255, 0, 0)}, {12, RGB(255, 1, 1)}, {100, RGB(255, 132, 132)},
            {182, RGB(255, 253, 253)}, {183, RGB(255, 255, 255)}, {599, RGB(255, 255, 255)}};
        // clang-format on
        for (const auto& c : columns) {
            EXPECT_EQ(c.color, GetPixel(dc, c.column, 0)) << "column " << c.column;
        }
        SelectObject(dc, old);
        DeleteObject(canvas);
        DeleteDC(dc);
    });
}

}  // namespace
