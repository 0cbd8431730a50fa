// Walks over the desktop's top-level browser windows: Internet Explorer ("IEFrame"),
// Mozilla ("MozillaWindowClass") and AOL ("AOL Frame25"), matched by class name without
// regard to case. Only visible windows are handled. The Internet Explorer walks act
// only while their owner window exists. The walk itself, and the notification that the
// erasers send too (NotifyIEWindowsOfMruChange), are in clean/window_walk.h.
#pragma once

#include <cstdint>

#include "clean/window_walk.h"
#include "platform/top_windows.h"

// The private message by which the detection walk tells the main window that an
// Internet Explorer window is open; the main window sets ieWindowOpen.
constexpr std::uint32_t kIeWindowOpenMessage = winmsg::kUser + 1;

// Asks every Internet Explorer window to close (the system menu's Close); how many.
int CloseIEWindows(TopWindows& windows, HWnd owner);

// Sends kIeWindowOpenMessage to mainWindow once for each Internet Explorer window.
void DetectIEWindows(TopWindows& windows, HWnd mainWindow);
