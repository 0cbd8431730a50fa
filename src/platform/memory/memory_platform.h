// The whole in-memory platform, each double reachable for set-up and fault injection.
#pragma once

#include "platform/memory/memory_accounts.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_security.h"
#include "platform/memory/memory_system.h"
#include "platform/platform.h"

struct MemoryPlatform {
    MemoryRegistry registry;
    MemorySystem system;
    MemoryAccounts accounts;
    MemorySecurity security;
    Platform platform{registry, system, accounts, security};
};
