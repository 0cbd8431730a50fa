// The whole platform through the real Win32 calls.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_accounts.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_security.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_storage.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_top_windows.h"
#include "platform/win32/win32_url_cache.h"
#include "platform/win32/win32_url_history.h"

struct Win32Platform {
    Win32Registry registry;
    Win32System system;
    Win32UrlCache urlCache;
    Win32UrlHistory urlHistory;
    Win32TopWindows windows;
    Win32Accounts accounts;
    Win32Security security;
    Win32Files files;
    Win32Environment environment;
    Win32Shell shell;
    Win32Storage storage;
    Platform platform{registry, system, urlCache,    urlHistory, windows, accounts,
                      security, files,  environment, shell,      storage};
};
