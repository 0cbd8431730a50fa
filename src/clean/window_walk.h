// Walks over the desktop's top-level windows of one class, matched by class name without
// regard to case; only visible windows are handled. Down here rather than with the browser
// steps, so that an eraser may tell Internet Explorer's windows that a list of theirs
// changed without reaching up into browsers/.
#pragma once

#include <functional>

#include "platform/top_windows.h"

// Internet Explorer's frame windows.
constexpr char kIeFrameClass[] = "IEFrame";

using WindowAction = std::function<void(HWnd window)>;

// Applies act to every visible window of className, in the order of the system's walk.
// With an owner, a window is handled only while the owner window still exists; owner is
// null for the walks that need none.
void WalkWindowsOfClass(TopWindows& windows, const char* className, const HWnd* owner,
                        const WindowAction& act);

// Tells every Internet Explorer window that the typed-URL list and the Run list have
// changed, so that it reloads them.
void NotifyIEWindowsOfMruChange(TopWindows& windows, HWnd owner);
