#include "platform/registry_contract.h"
#include "platform/security_contract.h"
#include "platform/win32/win32_accounts.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_security.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Registry);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, AccountsContract, Win32Accounts);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, AccessListContract, Win32Security);
