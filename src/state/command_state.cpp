#include "state/command_state.h"

#include <iterator>

int OsVersionCode(const OsVersionInfo& info) {
    switch (info.platformId) {
        case osplatform::kWin32s:
            return osver::kWin31;
        case osplatform::kWindows:
            switch (info.minorVersion) {
                case 0:
                    return osver::kWin95;
                case 10:
                    return osver::kWin98;
                case 90:
                    return osver::kWinMe;
                default:
                    return osver::kUnknown;
            }
        case osplatform::kNt:
            if (info.majorVersion <= 4) {
                return osver::kWinNt;
            }
            if (info.majorVersion == 5 && info.minorVersion <= 2) {
                static const int kNt5[] = {osver::kWin2000, osver::kWinXp, osver::kWin2003};
                return kNt5[info.minorVersion];
            }
            return osver::kUnknown;
        default:
            return osver::kUnknown;
    }
}

bool IsNtFamily(int osVersion) {
    return osVersion == osver::kWinNt || osVersion == osver::kWin2000 ||
           osVersion == osver::kWinXp || osVersion == osver::kWin2003;
}

void SetAllSwitches(EraserSettings& settings, std::int32_t value) {
    for (std::int32_t EraserSettings::*field : kSwitchFields) {
        settings.*field = value;
    }
}

int ProgressModel::SetPos(int n) {
    int old = pos_;
    pos_ = n;
    if (pos_ > upper_) {
        pos_ = upper_;
    }
    if (pos_ < lower_) {
        pos_ = lower_;
    }
    if (onRedraw) {
        onRedraw(pos_);
    }
    return old;
}

const char* OsVersionLine(int osVersion) {
    static const char* const kLines[] = {
        nullptr,
        "操作系统: Windows 3.1",
        "操作系统: Windows 95",
        "操作系统: Windows 98",
        "操作系统: Windows NT",
        "操作系统: Windows 2000",
        "操作系统: Windows XP",
        "操作系统: Windows ME",
        "操作系统: Windows Server 2003 家族",
    };
    if (osVersion < 0 || osVersion >= static_cast<int>(std::size(kLines))) {
        return nullptr;
    }
    return kLines[osVersion];
}
