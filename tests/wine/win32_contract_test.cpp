#include <windows.h>
// windows.h first: the shell header builds on it.
#include <shellapi.h>

#include "platform/environment_contract.h"
#include "platform/files_contract.h"
#include "platform/registry_contract.h"
#include "platform/security_contract.h"
#include "platform/shell_contract.h"
#include "platform/win32/win32_accounts.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_security.h"
#include "platform/win32/win32_shell.h"
#include "wine/wine_support.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Registry);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, AccountsContract, Win32Accounts);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, AccessListContract, Win32Security);

template <>
struct EnvironmentTraits<Win32Environment> {
    static void Set(Win32Environment&, const std::string& name, const std::string& value) {
        SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
    static std::string Get(Win32Environment&, const std::string& name) {
        char buffer[1024];
        DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
        return length < sizeof buffer ? std::string(buffer, length) : "";
    }
};

template <>
struct ShellTraits<Win32Shell> {
    static void Prepare(Win32Shell&) {}
    static void Recycle(Win32Shell&, std::int64_t size) {
        ASSERT_TRUE(RecycleNewFile("C:\\corvane-recycled.bin", std::string(size, 'r')));
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FilesContract, Win32Files);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, EnvironmentContract, Win32Environment);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ShellContract, Win32Shell);
