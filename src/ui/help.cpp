#include "ui/help.h"

namespace {

constexpr char kHelpFileName[] = "corvane.hlp";
constexpr char kNotInstalled[] = "帮助文件未被安装!";
constexpr char kCaption[] = "信息";

// Asks the help engine, or says that there is no help file.
void CallHelp(HWND window, UINT command, ULONG_PTR data) {
    std::string path = FindHelpFile();
    if (path.empty()) {
        MessageBoxA(window, kNotInstalled, kCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    helpEngine(window, path.c_str(), command, data);
}

}  // namespace

HelpEngine helpEngine = WinHelpA;

std::string FindHelpFile() {
    char module[500] = {};
    DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), module, sizeof module);
    if (length == 0 || length >= sizeof module) {
        return "";
    }
    std::string path(module, length);
    // A backslash that is the trail byte of a double-byte character is not one.
    size_t folderEnd = 0;
    for (size_t i = 0; i < path.size(); i += IsDBCSLeadByte(static_cast<BYTE>(path[i])) ? 2 : 1) {
        if (path[i] == '\\') {
            folderEnd = i + 1;
        }
    }
    path = path.substr(0, folderEnd) + kHelpFileName;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return "";
    }
    return path;
}

void ShowHelpContents(HWND window) {
    CallHelp(window, HELP_FINDER, 0);
}

void ShowHelpTopic(HWND window, int topic) {
    CallHelp(window, HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(topic));
}
