#include "platform/registry_contract.h"
#include "platform/win32/win32_registry.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Registry);
