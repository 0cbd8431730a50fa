#include "platform/memory/memory_registry.h"
#include "platform/registry_contract.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryRegistry);
