// Program entry. Without arguments the main window opens; with a command switch the
// command runs without it and the activity log goes to standard output.

#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/command_window.h"
#include "app/main_dlg.h"
#include "platform/win32/win32_platform.h"
#include "ui/com.h"

namespace {

// Standard output or error of the process. A GUI program started from a console has
// no standard handles of its own; it then writes to its parent's console.
class StdHandleOutput : public TextOutput {
public:
    explicit StdHandleOutput(DWORD which) : handle_(GetStdHandle(which)) {
        if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {
            handle_ = OpenParentConsole();
        }
    }
    void Write(const std::string& bytes) override {
        DWORD written = 0;
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        }
    }

private:
    // AttachConsole exists from Windows XP on; elsewhere there is nothing to attach to.
    static HANDLE OpenParentConsole() {
        using AttachConsoleFn = BOOL(WINAPI*)(DWORD);
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        auto attach = reinterpret_cast<AttachConsoleFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "AttachConsole")));
        if (attach == nullptr ||
            (!attach(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)) {
            return nullptr;
        }
        return CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    }

    HANDLE handle_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Win32Platform win32;
    if (args.empty()) {
        MainDlg window(win32.platform);
        window.DoModal(nullptr);
        return 0;
    }
    StdHandleOutput out(STD_OUTPUT_HANDLE);
    StdHandleOutput err(STD_ERROR_HANDLE);
    // The URL history object of the erasers needs COM on this thread.
    ComInitialization com;
    WindowCommandHost host;
    return RunCommandLine(args, win32.platform, out, err, &host);
}
