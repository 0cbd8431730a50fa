// Everything the core reaches of Windows, borrowed by the commands and erasers.
#pragma once

#include "platform/accounts.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/shell.h"
#include "platform/storage.h"
#include "platform/system.h"
#include "platform/top_windows.h"
#include "platform/url_cache.h"
#include "platform/url_history.h"

struct Platform {
    Registry& registry;
    System& system;
    UrlCache& urlCache;
    UrlHistory& urlHistory;
    TopWindows& windows;
    Accounts& accounts;
    Security& security;
    Files& files;
    Environment& environment;
    Shell& shell;
    Storage& storage;
};
