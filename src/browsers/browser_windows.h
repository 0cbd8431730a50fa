// Walks over the desktop's top-level browser windows: Internet Explorer ("IEFrame"),
// Mozilla ("MozillaWindowClass") and AOL ("AOL Frame25"), matched by class name without
// regard to case. Only visible windows are handled. The Internet Explorer walks act
// only while their owner window exists.
#pragma once

#include <cstdint>

#include "platform/top_windows.h"

// The private message by which the detection walk tells the main window that an
// Internet Explorer window is open; the main window sets ieWindowOpen.
constexpr std::uint32_t kIeWindowOpenMessage = winmsg::kUser + 1;

// Asks every Internet Explorer window to close (the system menu's Close).
void CloseIEWindows(TopWindows& windows, HWnd owner);

// Sends kIeWindowOpenMessage to mainWindow once for each Internet Explorer window.
void DetectIEWindows(TopWindows& windows, HWnd mainWindow);

// Tells every Internet Explorer window that the typed-URL list and the Run list have
// changed, so that it reloads them.
void NotifyIEWindowsOfMruChange(TopWindows& windows, HWnd owner);
