// Everything the core reaches of Windows, borrowed by the commands and erasers.
#pragma once

#include "platform/accounts.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/system.h"

struct Platform {
    Registry& registry;
    System& system;
    Accounts& accounts;
    Security& security;
};
