#include "platform/environment_contract.h"
#include "platform/files_contract.h"
#include "platform/memory/memory_accounts.h"
#include "platform/memory/memory_environment.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_security.h"
#include "platform/memory/memory_shell.h"
#include "platform/registry_contract.h"
#include "platform/security_contract.h"
#include "platform/shell_contract.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContract, MemoryRegistry);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, AccountsContract, MemoryAccounts);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, AccessListContract, MemorySecurity);

template <>
struct EnvironmentTraits<MemoryEnvironment> {
    static void Set(MemoryEnvironment& environment, const std::string& name,
                    const std::string& value) {
        environment.Set(name, value);
    }
    static std::string Get(MemoryEnvironment& environment, const std::string& name) {
        char buffer[1024];
        std::uint32_t length = environment.GetVariable(name, buffer, sizeof buffer);
        return length < sizeof buffer ? std::string(buffer, length) : "";
    }
};

template <>
struct ShellTraits<MemoryShell> {
    static void Prepare(MemoryShell& shell) {
        shell.specialFolders[csidl::kRecent] = "C:\\Documents and Settings\\user\\Recent";
    }
    static void Recycle(MemoryShell& shell, std::int64_t size) { shell.recycleBin.push_back(size); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FilesContract, MemoryFiles);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, EnvironmentContract, MemoryEnvironment);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ShellContract, MemoryShell);
