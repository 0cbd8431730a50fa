#include "platform/win32/win32_registry.h"

#include <shlwapi.h>
#include <windows.h>

static_assert(winerr::kMoreData == ERROR_MORE_DATA);
static_assert(winerr::kNoMoreItems == ERROR_NO_MORE_ITEMS);
static_assert(winerr::kKeyDeleted == ERROR_KEY_DELETED);
static_assert(winerr::kFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(winerr::kInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(winerr::kSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(regaccess::kAllAccess == KEY_ALL_ACCESS);
static_assert(regaccess::kRead == KEY_READ);
static_assert(regaccess::kWrite == KEY_WRITE);
static_assert(regaccess::kDelete == DELETE);
static_assert(regaccess::kReadControl == READ_CONTROL);
static_assert(regaccess::kWriteDac == WRITE_DAC);
static_assert(secinfo::kDacl == DACL_SECURITY_INFORMATION);
static_assert(secinfo::kOwner == OWNER_SECURITY_INFORMATION);
static_assert(sdlayout::kHeaderSize == sizeof(SECURITY_DESCRIPTOR_RELATIVE));
static_assert(sdlayout::kDaclPresent == SE_DACL_PRESENT);
static_assert(sdlayout::kSelfRelative == SE_SELF_RELATIVE);
static_assert(winerr::kUnknownRevision == ERROR_UNKNOWN_REVISION);
static_assert(winerr::kInvalidAcl == ERROR_INVALID_ACL);

namespace {

HKEY ToHkey(HKey key) {
    return reinterpret_cast<HKEY>(key.value);
}
HKey FromHkey(HKEY key) {
    return HKey{reinterpret_cast<std::uintptr_t>(key)};
}
WinError ToError(LONG status) {
    return static_cast<WinError>(status);
}
LPDWORD AsDword(std::uint32_t* p) {
    return reinterpret_cast<LPDWORD>(p);
}

}  // namespace

WinError Win32Registry::OpenKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                HKey* out) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, access, &key);
    if (status == ERROR_SUCCESS) {
        *out = FromHkey(key);
    }
    return ToError(status);
}

WinError Win32Registry::CreateKey(HKey parent, const std::string& subKey, std::uint32_t access,
                                  HKey* out) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        *out = FromHkey(key);
    }
    return ToError(status);
}

WinError Win32Registry::CloseKey(HKey key) {
    return ToError(RegCloseKey(ToHkey(key)));
}

WinError Win32Registry::QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                                   void* data, std::uint32_t* size) {
    return ToError(RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, AsDword(type),
                                    static_cast<LPBYTE>(data), AsDword(size)));
}

WinError Win32Registry::SetValue(HKey key, const std::string& name, std::uint32_t type,
                                 const void* data, std::uint32_t size) {
    return ToError(
        RegSetValueExA(ToHkey(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size));
}

WinError Win32Registry::DeleteValue(HKey key, const std::string& name) {
    return ToError(RegDeleteValueA(ToHkey(key), name.c_str()));
}

WinError Win32Registry::DeleteTree(HKey parent, const std::string& subKey) {
    return static_cast<WinError>(SHDeleteKeyA(ToHkey(parent), subKey.c_str()));
}

WinError Win32Registry::DeleteKey(HKey parent, const std::string& subKey) {
    return ToError(RegDeleteKeyA(ToHkey(parent), subKey.c_str()));
}

WinError Win32Registry::EnumKey(HKey key, std::uint32_t index, char* name,
                                std::uint32_t* nameSize) {
    return ToError(RegEnumKeyExA(ToHkey(key), index, name, AsDword(nameSize), nullptr, nullptr,
                                 nullptr, nullptr));
}

WinError Win32Registry::EnumValue(HKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize, std::uint32_t* type, void* data,
                                  std::uint32_t* dataSize) {
    return ToError(RegEnumValueA(ToHkey(key), index, name, AsDword(nameSize), nullptr,
                                 AsDword(type), static_cast<LPBYTE>(data), AsDword(dataSize)));
}

WinError Win32Registry::QueryKeyInfo(HKey key, KeyInfo* out) {
    DWORD subKeys = 0;
    DWORD values = 0;
    LONG status = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr,
                                   nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        *out = KeyInfo{subKeys, values};
    }
    return ToError(status);
}

WinError Win32Registry::GetKeySecurity(HKey key, std::uint32_t information, void* descriptor,
                                       std::uint32_t* size) {
    return ToError(RegGetKeySecurity(ToHkey(key), information,
                                     static_cast<PSECURITY_DESCRIPTOR>(descriptor), AsDword(size)));
}

WinError Win32Registry::SetKeySecurity(HKey key, std::uint32_t information, const void* descriptor,
                                       std::uint32_t size) {
    // The registry reads as far as the descriptor's offsets point: check them first.
    DescriptorFields fields;
    if (descriptor == nullptr ||
        !ReadDescriptor(static_cast<const std::uint8_t*>(descriptor), size, &fields)) {
        return winerr::kInvalidParameter;
    }
    return ToError(
        RegSetKeySecurity(ToHkey(key), information, const_cast<PSECURITY_DESCRIPTOR>(descriptor)));
}
