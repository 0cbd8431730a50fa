// The whole platform through the real Win32 calls.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"

struct Win32Platform {
    Win32Registry registry;
    Win32System system;
    Win32Files files;
    Win32Environment environment;
    Win32Shell shell;
    Platform platform{registry, system, files, environment, shell};
};
