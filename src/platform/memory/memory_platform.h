// The whole in-memory platform, each double reachable for set-up and fault injection.
#pragma once

#include "platform/memory/memory_accounts.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_security.h"
#include "platform/memory/memory_system.h"
#include "platform/memory/memory_url_cache.h"
#include "platform/memory/memory_url_history.h"
#include "platform/memory/memory_top_windows.h"
#include "platform/platform.h"

struct MemoryPlatform {
    MemoryRegistry registry;
    MemorySystem system;
    MemoryUrlCache urlCache;
    MemoryUrlHistory urlHistory;
    MemoryTopWindows windows;
    MemoryAccounts accounts;
    MemorySecurity security;
    Platform platform{registry, system, urlCache, urlHistory, windows, accounts, security};
};
