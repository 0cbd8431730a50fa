#include "app/main_dlg.h"

#include <commctrl.h>

#include <cmath>

#include "app/about_dlg.h"
#include "settings/settings_dlg.h"
#include "settings/settings_store.h"

namespace {

// The command buttons: bitmaps (normal, then pressed and hover after it), height, place
// (x back from the client area's right edge, y down from its top) and tooltip.
struct ButtonPlace {
    int id;
    int bitmaps;
    int height;
    int fromRight;
    int top;
    const char* tooltip;
};

constexpr int kButtonWidth = 132;
// clang-format off
constexpr ButtonPlace kButtons[MainDlg::kButtonCount] = {
    {IDC_CLEAR,        IDB_CLEAR,        44, 135, 7,   "删除所有所选择跟踪的信息"},
    {IDC_TEST,         IDB_TEST,         42, 133, 127, "仅仅是一个预览，并非真正的删除"},
    {IDC_SAVE_STATE,   IDB_SAVE_STATE,   42, 134, 169, "保存所有的跟踪信息以备日后还原"},
    {IDC_RESTORE,      IDB_RESTORE,      42, 134, 210, "还原先前保存的跟踪信息"},
    {IDC_SETTINGS,     IDB_SETTINGS,     42, 134, 250, "显示设置窗口"},
    {IDC_HELP_BUTTON,  IDB_HELP_BUTTON,  42, 134, 291, "帮助主题"},
    {IDC_CLOSE_BUTTON, IDB_CLOSE_BUTTON, 42, 134, 342, "关闭程序"},
};
// clang-format on

constexpr RECT kLogPlace = {12, 100, 12 + 412, 100 + 225};
// The bar's top-left corner on the skin. The template's place, in dialog units, lands
// wherever the dialog font's size puts it; the skin is drawn in pixels.
constexpr POINT kProgressPlace = {10, 352};
constexpr int kMaxFitGrowth = 10000;
constexpr char kCannotFit[] = "无法初始化!\n请联系您的经销商。";
constexpr char kTitle[] = "Corvane";

// Column j of the background: pure red up to column 10, fading to white by column 183.
std::uint32_t BackgroundColumn(int j) {
    if (j <= 10) {
        return 0xFF0000;
    }
    if (j >= 184) {
        return 0xFFFFFF;
    }
    auto t = static_cast<std::uint32_t>(std::floor((j - 11) * 1.485));
    return 0xFF0000 + t * 0x0101;
}

}  // namespace

MainDlg::MainDlg(Platform& platform) : Dialog(IDD_CORVANE), commands(platform) {
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    CreateBackground();
    commands.settings.clearSearchHistory = 1;
}

void MainDlg::CreateBackground() {
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = kBackgroundWidth;
    info.header.biHeight = kBackgroundHeight;  // bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0x00FF0000;
    info.masks[1] = 0x0000FF00;
    info.masks[2] = 0x000000FF;
    void* bits = nullptr;
    background_.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!background_) {
        return;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int j = 0; j < kBackgroundWidth; ++j) {
        pixels[j] = BackgroundColumn(j);
    }
    for (int row = 1; row < kBackgroundHeight; ++row) {
        std::copy(pixels, pixels + kBackgroundWidth, pixels + row * kBackgroundWidth);
    }
    GdiFlush();
}

// The commands are wired to the window before anything can draw or log, and are ready
// (settings, Windows version, COM) before the skin is laid out.
bool MainDlg::OnInitDialog() {
    WireCommands();
    LoadSettings(commands.platform.registry, commands.settings);
    commands.DetectOsVersion();
    com_.emplace();
    AddAboutToSystemMenu();
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    LayOutSkin();
    Center();
    return true;
}

// The log and the progress bar follow the commands' models; the window stands for the
// main window of the Internet Explorer walks, and asks and informs the user for them.
void MainDlg::WireCommands() {
    progressBar_.Attach(Handle(), IDC_PROGRESS);
    log_.Attach(Handle(), IDC_LOG);
    log_.mainWindow = Handle();
    commands.log.SetObserver(&log_);
    commands.progress.onRedraw = [this](int) { ShowProgress(); };
    commands.window = HWnd{reinterpret_cast<std::uintptr_t>(Handle())};
    commands.browserPrompt = &browserPrompt_;
    messageBoxes_.owner = Handle();
    commands.messageBoxes = &messageBoxes_;
}

void MainDlg::AddAboutToSystemMenu() {
    char about[256] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about) > 0) {
        HMENU menu = GetSystemMenu(Handle(), FALSE);
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
    }
}

// The window takes the skin's size, then the bar (shown empty), the log and the buttons
// their places on it.
void MainDlg::LayOutSkin() {
    FitToSkin();
    SetWindowPos(progressBar_.Handle(), nullptr, kProgressPlace.x, kProgressPlace.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    progressBar_.SetTileOffset(2, 2);
    progressBar_.LoadBackgroundBitmap(IDB_PROGRESS_BACK, /*redraw=*/true);
    progressBar_.LoadBarBitmap(IDB_PROGRESS_BAR, /*redraw=*/true);
    commands.progress.SetPos(0);
    SetWindowPos(Item(IDC_LOG), nullptr, kLogPlace.left, kLogPlace.top,
                 kLogPlace.right - kLogPlace.left, kLogPlace.bottom - kLogPlace.top, SWP_NOZORDER);
    PlaceButtons();
}

// Grows the window from the skin's size until its client area holds the skin: each
// axis grows by one pixel a pass until it fits, and starts again from nothing once it
// does, so the pass in which both fit has the frame's exact size.
void MainDlg::FitToSkin() {
    skin_.Reset(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SKIN)));
    SIZE size;
    if (!BitmapSize(skin_.Get(), &size)) {
        return;
    }
    HWND picture = Item(IDC_BACKGROUND);
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(skin_.Get()));
    int dx = 0;
    int dy = 0;
    RECT client;
    for (;;) {
        MoveWindow(Handle(), 0, 0, size.cx + dx, size.cy + dy, TRUE);
        GetClientRect(Handle(), &client);
        bool wide = client.right >= size.cx;
        bool high = client.bottom >= size.cy;
        dx = wide ? 0 : dx + 1;
        dy = high ? 0 : dy + 1;
        if (wide && high) {
            break;
        }
        if (dx > kMaxFitGrowth || dy > kMaxFitGrowth) {
            MessageBoxA(Handle(), kCannotFit, kTitle, MB_OK);
            break;
        }
    }
    GetClientRect(Handle(), &client);
    MoveWindow(picture, 0, 0, client.right, client.bottom, TRUE);
}

void MainDlg::PlaceButtons() {
    RECT client;
    GetClientRect(Handle(), &client);
    InitCommonControls();
    tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = kButtons[i];
        SkinButton& button = buttons_[i];
        button.Attach(Handle(), place.id);
        button.SetBitmaps(place.bitmaps, place.bitmaps + 1, place.bitmaps + 2);
        button.SetBitmapSize(kButtonWidth, place.height);
        SetWindowPos(button.Handle(), nullptr, client.right - place.fromRight,
                     client.top + place.top, kButtonWidth, place.height, SWP_NOZORDER);
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(button.Handle());
        tool.lpszText = const_cast<char*>(place.tooltip);
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        button.tooltip = tooltip_;
    }
}

void MainDlg::ShowProgress() {
    int lower = 0;
    int upper = 0;
    commands.progress.GetRange(&lower, &upper);
    progressBar_.Show(lower, upper, commands.progress.GetPos());
}

LRESULT MainDlg::OnSysCommand(UINT command, POINT point) {
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDlg about;
        about.DoModal(Handle());
        return 0;
    }
    if (command == SC_MAXIMIZE) {
        PostMessageA(Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        return 0;
    }
    return DefWindowProcA(Handle(), WM_SYSCOMMAND, command, LParamOfPoint(point));
}

LRESULT MainDlg::OnPaint(WPARAM wParam, LPARAM lParam) {
    if (!IsIconic(Handle())) {
        return DefWindowProcA(Handle(), WM_PAINT, wParam, lParam);
    }
    PaintDC paint(Handle());
    SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
    RECT client;
    GetClientRect(Handle(), &client);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.Get(), x, y, icon_);
    return 0;
}

// Without the background bitmap the dialog's own erasing (lParam is unused).
LRESULT MainDlg::OnEraseBackground(HDC dc) {
    if (!background_) {
        return DefWindowProcA(Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
    DrawBitmap(dc, 0, 0, background_.Get(), kBackgroundWidth, kBackgroundHeight);
    return TRUE;
}

// Enter presses the focused button as the space bar does; it never ends the dialog.
void MainDlg::PreTranslateMessage(MSG& msg) {
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_RETURN) {
        msg.wParam = VK_SPACE;
    }
}

void MainDlg::RunCommand(const std::function<void()>& command) {
    if (commandRunning_) {
        return;
    }
    commandRunning_ = true;
    command();
    commandRunning_ = false;
    if (closePending_) {
        closePending_ = false;
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
    }
}

// A close asked for while a command runs ends the erasers' loops (busy cleared) and is
// carried out once the command has returned, as a close box would (IDCANCEL): the
// erasers' message pumps may hand it over while the command is still under way, and
// shutting down there would pull COM and the shell library from under it.
void MainDlg::RequestClose(INT_PTR result) {
    if (commands.busy || commandRunning_) {
        commands.busy = false;
        closePending_ = true;
        return;
    }
    Shutdown(result);
}

void MainDlg::Shutdown(INT_PTR result) {
    com_.reset();
    SaveSettings(commands.platform.registry, commands.settings);
    commands.shell32Module.Free();
    EndDialog(result);
}

// The dialog edits a copy; OK takes it back. Either way the bar is emptied.
void MainDlg::OnSettings() {
    if (commands.busy) {
        return;
    }
    RunCommand([this] {
        commands.busy = true;
        SettingsDlg settings(commands.settings, commands);
        if (settings.DoModal(Handle()) == IDOK) {
            commands.settings = settings.settings;
        }
        commands.progress.SetPos(0);
        commands.busy = false;
    });
}
