#include "platform/win32/win32_system.h"

#include <windows.h>

#include <vector>

static_assert(sizeof(OSVERSIONINFOA) == 148);

bool Win32System::QueryVersion(OsVersionInfo* out) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) {
        return false;
    }
    *out = OsVersionInfo{info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
    return true;
}

void Win32System::PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

void Win32System::PumpMessagesWhile(const bool& goOn) {
    MSG msg;
    while (goOn && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
}

void Win32System::Pause(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

std::uint32_t Win32System::ModuleFileName(char* buffer, std::uint32_t size) {
    return GetModuleFileNameA(nullptr, buffer, size);
}

FileTime Win32System::SystemTimeAsFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FileTime{now.dwLowDateTime, now.dwHighDateTime};
}

std::string Win32System::AnsiToUtf8(const std::string& ansi) {
    if (ansi.empty()) {
        return ansi;
    }
    int size = static_cast<int>(ansi.size());
    int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::vector<wchar_t> wide(wideLength > 0 ? wideLength : 1);
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), wideLength);
    int utf8Length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(utf8Length > 0 ? utf8Length : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr,
                        nullptr);
    return utf8;
}
