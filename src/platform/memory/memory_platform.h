// The whole in-memory platform, each double reachable for set-up and fault injection.
#pragma once

#include <vector>

#include "platform/memory/memory_accounts.h"
#include "platform/memory/memory_environment.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_security.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_storage.h"
#include "platform/memory/memory_system.h"
#include "platform/memory/memory_top_windows.h"
#include "platform/memory/memory_url_cache.h"
#include "platform/memory/memory_url_history.h"
#include "platform/platform.h"

struct MemoryPlatform {
    MemoryRegistry registry;
    MemorySystem system;
    MemoryUrlCache urlCache;
    MemoryUrlHistory urlHistory;
    MemoryTopWindows windows;
    MemoryAccounts accounts;
    MemorySecurity security;
    MemoryFiles files;
    MemoryEnvironment environment;
    MemoryShell shell;
    MemoryStorage storage;
    Platform platform{registry, system, urlCache,    urlHistory, windows, accounts,
                      security, files,  environment, shell,      storage};

    // The fault plan of every double, to fail or record calls whatever service they are of.
    std::vector<FaultPlan*> FaultPlans() {
        return {&registry.faults,    &system.faults,   &urlCache.faults, &urlHistory.faults,
                &windows.faults,     &accounts.faults, &security.faults, &files.faults,
                &environment.faults, &shell.faults,    &storage.faults};
    }
};
