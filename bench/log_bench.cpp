// Times 10,000 lines added through the main window's activity log (owner-drawn, with the
// window repainted after every line) beside a bare loop of LB_ADDSTRING and UpdateWindow
// on a plain list box of the same size, in the same run: once with a vertical scroll bar
// only, once with both scroll bars and a horizontal extent, as the log has them. Prints
// the time per line of each and the ratios, the medians of as many turns as the argument
// says (one without), also as a row of tools/bench.sh's table. Asserts nothing. Needs a
// display:
//   xvfb-run -a tools/wine-run.sh PREFIX build/win32/corvane_log_bench.exe
#include <windows.h>
// windows.h first: PSAPI builds on it.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr int kLines = 10000;

std::string Line(int i) {
    return "http://www.example.test/images/page-" + std::to_string(i) + ".htm";
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A plain list box where the log lies, filled the simplest way that shows every line.
double BareLoop(HWND window, DWORD scrollBars) {
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
                                WS_CHILD | WS_VISIBLE | scrollBars | LBS_NOINTEGRALHEIGHT, 12, 100,
                                412, 225, window, nullptr, nullptr, nullptr);
    SendMessageA(list, WM_SETFONT, SendMessageA(window, WM_GETFONT, 0, 0), FALSE);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, (scrollBars & WS_HSCROLL) ? 9 * 45 : 0, 0);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kLines; ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Line(i).c_str()));
        UpdateWindow(list);
    }
    double seconds = Seconds(start);
    DestroyWindow(list);
    return seconds;
}

double LogLoop(MainDlg& main) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kLines; ++i) {
        main.commands.log.AddLogLine(Line(i), i % 20 == 0 ? emphasis::kStrong : emphasis::kPlain);
    }
    return Seconds(start);
}

MainDlg* bench = nullptr;
int rounds = 1;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double PeakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / double(1 << 20);
}

// Runs once the window is shown: the loops in turns, then the window closes.
void CALLBACK RunBench(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    static bool ran = false;  // once, at the main window's first showing
    if (ran) {
        return;
    }
    ran = true;
    window = FindWindowA("#32770", "Corvane");
    std::vector<double> logs, verticals, boths, ratios;
    for (int round = 0; round < rounds; ++round) {
        logs.push_back(LogLoop(*bench));
        bench->commands.log.ClearLog();
        verticals.push_back(BareLoop(window, WS_VSCROLL));
        boths.push_back(BareLoop(window, WS_VSCROLL | WS_HSCROLL));
        ratios.push_back(logs.back() / boths.back());
    }
    double log = Median(logs), vertical = Median(verticals), both = Median(boths);
    auto perLine = [](double seconds) { return seconds * 1e6 / kLines; };
    std::printf(
        "%d lines, microseconds a line: activity log %.0f; bare list box %.0f with a "
        "vertical scroll bar (ratio %.2f), %.0f with both scroll bars (ratio %.2f)\n",
        kLines, perLine(log), perLine(vertical), log / vertical, perLine(both), log / both);
    std::printf("| the window's log | %d lines | %.3f s | %.3f s | %.2f | %.1f MB |\n", kLines, log,
                both, Median(ratios), PeakWorkingSetMb());
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDC_CLOSE_BUTTON, 0);
}

// Starts the loops from the window's own thread, as the commands run.
LRESULT CALLBACK Starter(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam) {
        SetTimer(message->hwnd, 1, 500, RunBench);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    Win32Platform win32;
    MainDlg main(win32.platform);
    bench = &main;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, Starter, nullptr, GetCurrentThreadId());
    main.DoModal(nullptr);
    UnhookWindowsHookEx(hook);
    return 0;
}
