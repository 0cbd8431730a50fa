// The Windows registry as the core sees it: the ANSI registry calls, one method each,
// with the Win32 error code as the result. Buffers are the caller's, as in Win32, so
// that a fixed limit such as "a value that does not fit in 10 bytes is ignored" stays
// visible where the value is read.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/security.h"
#include "platform/win_error.h"

// An open registry key or one of the predefined roots. Plain value; see RegKey for
// ownership.
struct HKey {
    std::uintptr_t value = 0;
    bool operator==(HKey other) const { return value == other.value; }
};

namespace regroot {
constexpr HKey kClassesRoot{0x80000000u};
constexpr HKey kCurrentUser{0x80000001u};
constexpr HKey kLocalMachine{0x80000002u};
constexpr HKey kUsers{0x80000003u};
}  // namespace regroot

namespace regtype {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kMultiSz = 7;
}  // namespace regtype

namespace regaccess {
constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kSetValue = 0x0002;
constexpr std::uint32_t kCreateSubKey = 0x0004;
constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kDelete = 0x10000;
constexpr std::uint32_t kReadControl = 0x20000;
constexpr std::uint32_t kWriteDac = 0x40000;
constexpr std::uint32_t kRead = 0x20019;
constexpr std::uint32_t kWrite = 0x20006;
constexpr std::uint32_t kAllAccess = 0xF003F;
}  // namespace regaccess

// What RegQueryInfoKeyA tells about a key.
struct KeyInfo {
    std::uint32_t subKeys = 0;
    std::uint32_t values = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyExA. On failure *out is left untouched.
    [[nodiscard]] virtual WinError OpenKey(HKey parent, const std::string& subKey,
                                           std::uint32_t access, HKey* out) = 0;
    // RegCreateKeyExA with no class, REG_OPTION_NON_VOLATILE and default security.
    [[nodiscard]] virtual WinError CreateKey(HKey parent, const std::string& subKey,
                                             std::uint32_t access, HKey* out) = 0;
    virtual WinError CloseKey(HKey key) = 0;

    // RegQueryValueExA. data may be null to ask for the size only. When the data does
    // not fit, the result is kMoreData, *size is the size needed and data is undefined.
    [[nodiscard]] virtual WinError QueryValue(HKey key, const std::string& name,
                                              std::uint32_t* type, void* data,
                                              std::uint32_t* size) = 0;
    // RegSetValueExA. For the string types NT stores one byte more than size when the
    // data's last byte is not NUL but the byte after it is: the terminator a caller
    // "forgot" to count. Other data is stored as given.
    virtual WinError SetValue(HKey key, const std::string& name, std::uint32_t type,
                              const void* data, std::uint32_t size) = 0;
    virtual WinError DeleteValue(HKey key, const std::string& name) = 0;
    // SHDeleteKeyA: removes subKey with everything below it.
    virtual WinError DeleteTree(HKey parent, const std::string& subKey) = 0;
    // RegDeleteKeyA as the NT family has it: removes subKey with its values, and refuses
    // (kAccessDenied) a key that still has subkeys.
    virtual WinError DeleteKey(HKey parent, const std::string& subKey) = 0;

    // RegEnumKeyExA. *nameSize is the buffer size in, the name length out (without
    // NUL); a name that does not fit gives kMoreData.
    [[nodiscard]] virtual WinError EnumKey(HKey key, std::uint32_t index, char* name,
                                           std::uint32_t* nameSize) = 0;
    // RegEnumValueA, with the same name rule as EnumKey; data may be null.
    [[nodiscard]] virtual WinError EnumValue(HKey key, std::uint32_t index, char* name,
                                             std::uint32_t* nameSize, std::uint32_t* type,
                                             void* data, std::uint32_t* dataSize) = 0;
    // RegQueryInfoKeyA: the numbers of subkeys and values.
    [[nodiscard]] virtual WinError QueryKeyInfo(HKey key, KeyInfo* out) = 0;

    // RegGetKeySecurity: the parts of the key's security that `information` names
    // (secinfo), as a self-relative descriptor. *size is the buffer size in and the
    // descriptor's size out; a buffer too small (null with size 0 included) gives
    // kInsufficientBuffer with the size needed. The handle needs READ_CONTROL.
    [[nodiscard]] virtual WinError GetKeySecurity(HKey key, std::uint32_t information,
                                                  void* descriptor, std::uint32_t* size) = 0;
    // RegSetKeySecurity with a self-relative descriptor of `size` bytes. A descriptor
    // whose parts do not lie inside those bytes gives kInvalidParameter before the
    // registry sees it. For secinfo::kDacl the handle needs WRITE_DAC.
    virtual WinError SetKeySecurity(HKey key, std::uint32_t information, const void* descriptor,
                                    std::uint32_t size) = 0;
};

// Owns one open key and closes it when it goes out of scope. Move-only.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(Registry& registry) : registry_(&registry) {}
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept { *this = std::move(other); }
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            registry_ = other.registry_;
            key_ = std::exchange(other.key_, HKey{});
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    [[nodiscard]] WinError Open(HKey parent, const std::string& subKey, std::uint32_t access) {
        Close();
        return registry_->OpenKey(parent, subKey, access, &key_);
    }
    [[nodiscard]] WinError Create(HKey parent, const std::string& subKey, std::uint32_t access) {
        Close();
        return registry_->CreateKey(parent, subKey, access, &key_);
    }
    void Close() {
        if (IsOpen()) {
            registry_->CloseKey(std::exchange(key_, HKey{}));
        }
    }
    bool IsOpen() const { return key_.value != 0; }
    HKey Get() const { return key_; }

private:
    Registry* registry_ = nullptr;
    HKey key_{};
};
