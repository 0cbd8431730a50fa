// Makes the Wine prefix look like a Chinese Windows XP profile for the length of a test:
// the shell folders "Cache", "Cookies", "History", "Recent" and "AppData" point to the
// XP-style GBK folders below C:\Documents and Settings\<user>, which exist, and
// USERPROFILE names that profile. Wine's shell and WinINet follow the folders. At the
// end every value is put back and the folders are removed.
#pragma once

#include <map>
#include <string>
#include <vector>

class WineXpProfile {
public:
    WineXpProfile();
    ~WineXpProfile();
    WineXpProfile(const WineXpProfile&) = delete;
    WineXpProfile& operator=(const WineXpProfile&) = delete;

    // Points one more shell folder ("Cache" and so on) somewhere else until the end.
    void SetShellFolder(const std::string& name, const std::string& path);

    std::string profile;  // C:\Documents and Settings\<user>
    std::string recent;
    std::string cookies;
    std::string cache;    // ...\Local Settings\Internet 临时文件夹
    std::string history;  // ...\Local Settings\历史
    std::string appData;

private:
    struct Saved {
        bool present = false;
        unsigned long type = 0;
        std::vector<unsigned char> data;
    };
    std::map<std::string, Saved> saved_;  // "<key>|<value>" -> what stood there
    std::string savedUserProfile_;
    bool documentsAndSettingsExisted_ = false;
};
