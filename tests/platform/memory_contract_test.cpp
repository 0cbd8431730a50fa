#include "platform/memory/memory_accounts.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_security.h"
#include "platform/registry_contract.h"
#include "platform/security_contract.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryRegistry);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, AccountsContract, MemoryAccounts);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, AccessListContract, MemorySecurity);
