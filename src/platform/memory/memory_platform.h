// The whole in-memory platform, each double reachable for set-up and fault injection.
#pragma once

#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "platform/platform.h"

struct MemoryPlatform {
    MemoryRegistry registry;
    MemorySystem system;
    Platform platform{registry, system};
};
