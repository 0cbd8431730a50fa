#include "wine/xp_profile_wine.h"

#include <windows.h>

#include "wine/wine_support.h"

namespace {

constexpr char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kDocumentsAndSettings[] = "C:\\Documents and Settings";

std::string Variable(const char* name) {
    char value[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? std::string(value, length) : "";
}

void SetExpandValue(const char* key, const std::string& name, const std::string& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(handle, name.c_str(), 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(handle);
    }
}

}  // namespace

WineXpProfile::WineXpProfile() {
    documentsAndSettingsExisted_ = PathExists(kDocumentsAndSettings);
    savedUserProfile_ = Variable("USERPROFILE");
    profile = std::string(kDocumentsAndSettings) + "\\" + Variable("USERNAME");
    recent = profile + "\\Recent";
    cookies = profile + "\\Cookies";
    cache = profile + "\\Local Settings\\Internet 临时文件夹";
    history = profile + "\\Local Settings\\历史";
    appData = profile + "\\Application Data";
    for (const std::string& folder :
         {std::string(kDocumentsAndSettings), profile, profile + "\\Local Settings", recent,
          cookies, cache, history, appData}) {
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    SetEnvironmentVariableA("USERPROFILE", profile.c_str());
    SetShellFolder("Cache", cache);
    SetShellFolder("Cookies", cookies);
    SetShellFolder("History", history);
    SetShellFolder("Recent", recent);
    SetShellFolder("AppData", appData);
}

void WineXpProfile::SetShellFolder(const std::string& name, const std::string& path) {
    for (const char* key : {kUserShellFolders, kShellFolders}) {
        std::string id = std::string(key) + "|" + name;
        if (saved_.count(id) == 0) {
            Saved& saved = saved_[id];
            HKEY handle = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) == ERROR_SUCCESS) {
                DWORD size = 0;
                saved.present = RegQueryValueExA(handle, name.c_str(), nullptr, &saved.type,
                                                 nullptr, &size) == ERROR_SUCCESS;
                saved.data.resize(size);
                if (saved.present) {
                    RegQueryValueExA(handle, name.c_str(), nullptr, &saved.type, saved.data.data(),
                                     &size);
                }
                RegCloseKey(handle);
            }
        }
    }
    SetExpandValue(kUserShellFolders, name, path);
}

WineXpProfile::~WineXpProfile() {
    for (const auto& entry : saved_) {
        std::string key = entry.first.substr(0, entry.first.find('|'));
        std::string name = entry.first.substr(entry.first.find('|') + 1);
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &handle) !=
            ERROR_SUCCESS) {
            continue;
        }
        if (entry.second.present) {
            RegSetValueExA(handle, name.c_str(), 0, entry.second.type, entry.second.data.data(),
                           static_cast<DWORD>(entry.second.data.size()));
        } else {
            RegDeleteValueA(handle, name.c_str());
        }
        RegCloseKey(handle);
    }
    SetEnvironmentVariableA("USERPROFILE", savedUserProfile_.c_str());
    RemoveTreeForTest(documentsAndSettingsExisted_ ? profile : kDocumentsAndSettings);
}
