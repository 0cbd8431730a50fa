// Everything the core reaches of Windows, borrowed by the commands and erasers.
#pragma once

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"

struct Platform {
    Registry& registry;
    System& system;
    Files& files;
    Environment& environment;
    Shell& shell;
};
