// The whole in-memory platform, each double reachable for set-up and fault injection.
#pragma once

#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "platform/memory/memory_top_windows.h"
#include "platform/platform.h"

struct MemoryPlatform {
    MemoryRegistry registry;
    MemorySystem system;
    MemoryTopWindows windows;
    Platform platform{registry, system, windows};
};
