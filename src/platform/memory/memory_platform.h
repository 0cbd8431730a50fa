// The whole in-memory platform, each double reachable for set-up and fault injection.
#pragma once

#include "platform/memory/memory_environment.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_system.h"
#include "platform/platform.h"

struct MemoryPlatform {
    MemoryRegistry registry;
    MemorySystem system;
    MemoryFiles files;
    MemoryEnvironment environment;
    MemoryShell shell;
    Platform platform{registry, system, files, environment, shell};
};
