#include "settings/settings_store.h"

#include <algorithm>
#include <cstring>
#include <string>

const char kSettingsKey[] = "Software\\Halvix\\Corvane\\Settings";

namespace {

// A value that does not fit in this many bytes is not read at all.
constexpr std::uint32_t kValueBufferSize = 10;

constexpr char kPolicyValue[] = "Close IEs State";
constexpr char kKeepValue[] = "KeepCookies";
// A keep list larger than this is no list a user made: it is not read at all.
constexpr std::uint32_t kMaxKeepBytes = 64 * 1024;

struct SwitchValue {
    const char* name;
    std::int32_t EraserSettings::*field;
};

// In the order they are loaded.
constexpr SwitchValue kSwitches[] = {
    {"Cookies", &EraserSettings::clearCookies},
    {"TempFiles", &EraserSettings::clearTempInternetFiles},
    {"历史", &EraserSettings::clearHistory},
    {"IndexDat", &EraserSettings::clearIndexDat},
    {"HomePage", &EraserSettings::resetStartPage},
    {"回收站", &EraserSettings::emptyRecycleBin},
    {"“文档”菜单", &EraserSettings::clearRecentDocs},
    {"自动填充", &EraserSettings::clearAutoComplete},
    {"Windows 临时文件夹", &EraserSettings::clearWindowsTemp},
    {"搜索历史记录", &EraserSettings::clearSearchHistory},
};

// Saving writes "HomePage" before "IndexDat"; otherwise the order is the load order.
constexpr int kSaveOrder[] = {0, 1, 2, 4, 3, 5, 6, 7, 8, 9};

// Reads a value's text: its bytes up to the first NUL. False when the value is missing
// or longer than the buffer, whatever its type.
bool ReadText(Registry& registry, HKey key, const char* name, std::string* text) {
    char buffer[kValueBufferSize];
    std::uint32_t size = sizeof buffer;
    if (registry.QueryValue(key, name, nullptr, buffer, &size) != winerr::kSuccess) {
        return false;
    }
    text->assign(buffer, strnlen(buffer, size));
    return true;
}

void WriteText(Registry& registry, HKey key, const char* name, const char* text) {
    // Stored without a terminating NUL: the data length is the text length.
    registry.SetValue(key, name, regtype::kSz, text, static_cast<std::uint32_t>(strlen(text)));
}

// The value's data when it can be read whole; false otherwise.
bool ReadKeepData(Registry& registry, HKey key, std::uint32_t* type, std::string* data) {
    std::uint32_t size = 0;
    if (registry.QueryValue(key, kKeepValue, type, nullptr, &size) != winerr::kSuccess ||
        size > kMaxKeepBytes) {
        return false;
    }
    data->assign(size, '\0');
    if (registry.QueryValue(key, kKeepValue, type, data->data(), &size) != winerr::kSuccess ||
        size > data->size()) {
        return false;  // it grew between the two calls
    }
    data->resize(size);
    return true;
}

}  // namespace

KeepList ParseKeepCookies(std::uint32_t type, const std::string& data) {
    KeepList keep;
    if (type != regtype::kMultiSz) {
        return keep;
    }
    for (size_t at = 0; at < data.size();) {
        size_t end = std::min(data.find('\0', at), data.size());
        std::string host = HostOfTyped(data.substr(at, end - at));
        if (!host.empty() && std::find(keep.begin(), keep.end(), host) == keep.end()) {
            keep.push_back(host);
        }
        at = end + 1;
    }
    return keep;
}

void LoadSettings(Registry& registry, EraserSettings& settings) {
    RegKey key(registry);
    if (key.Open(regroot::kCurrentUser, kSettingsKey, regaccess::kAllAccess) != winerr::kSuccess) {
        return;
    }
    std::string text;
    for (const SwitchValue& value : kSwitches) {
        if (ReadText(registry, key.Get(), value.name, &text)) {
            settings.*value.field = text == "yes" ? 1 : 0;
        }
    }
    if (ReadText(registry, key.Get(), kPolicyValue, &text)) {
        settings.closeBrowserPolicy = text == "0"   ? closepolicy::kCloseWithoutAsking
                                      : text == "1" ? closepolicy::kNeverClose
                                                    : closepolicy::kAsk;
    }
    std::uint32_t type = 0;
    std::string data;
    if (ReadKeepData(registry, key.Get(), &type, &data)) {
        settings.keepCookies = ParseKeepCookies(type, data);
    }
}

void SaveSettings(Registry& registry, const EraserSettings& settings) {
    RegKey key(registry);
    if (key.Create(regroot::kCurrentUser, kSettingsKey, regaccess::kAllAccess) !=
        winerr::kSuccess) {
        return;
    }
    for (int index : kSaveOrder) {
        const SwitchValue& value = kSwitches[index];
        WriteText(registry, key.Get(), value.name, settings.*value.field != 0 ? "yes" : "no");
    }
    const std::int32_t policy = settings.closeBrowserPolicy;
    WriteText(registry, key.Get(), kPolicyValue, policy == 0 ? "0" : policy == 1 ? "1" : "2");
    if (settings.keepCookies.empty()) {
        registry.DeleteValue(key.Get(), kKeepValue);
        return;
    }
    std::string data;
    for (const std::string& host : settings.keepCookies) {
        data += host + '\0';
    }
    data += '\0';
    registry.SetValue(key.Get(), kKeepValue, regtype::kMultiSz, data.data(),
                      static_cast<std::uint32_t>(data.size()));
}
