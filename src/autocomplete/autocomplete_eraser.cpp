// The AutoComplete eraser. On NT 4, 2000 and XP the area lies below the current user's
// key, in a key named after the user's SID, behind access lists that do not let the
// user in: the step grants itself access to the whole AutoComplete subtree, walks it,
// and puts every access list it changed back as it was. Elsewhere (Windows 9x, and
// Server 2003, which never stored the area there) it lies below the local machine's
// key, in a key named after the user name, and no access list is touched.

#include "autocomplete/autocomplete_eraser.h"

#include <cstring>
#include <string>

#include "autocomplete/key_access.h"
#include "clean/erasers.h"
#include "state/eraser_dlg.h"

namespace {

constexpr char kStringIndex[] = ":StringIndex";
constexpr char kStringData[] = ":StringData";
constexpr char kSearchField[] = "q";

// The pieces of a form line, Clear beside Test: a Test lists a field with the very
// words a Clear uses, " - cleared" included.
struct FormLineText {
    const char* opening;
    const char* searchSuffix;
    const char* ending;
};
constexpr FormLineText kClearFormLine{"Form: \"", " (Search engines form) ", " - cleared"};
constexpr FormLineText kTestFormLine{"Form: \"", " (Search engines form) ", " - cleared"};

bool TakesNtRoad(int version) {
    return version == osver::kWinNt || version == osver::kWin2000 || version == osver::kWinXp;
}

// Both roads: the answer of the area's deletion (kSuccess in Test and when nothing was
// there to be deleted).
WinError EraseOnNtRoad(EraserDlg& dlg, bool testMode, FormEntryReport& report) {
    Platform& platform = dlg.platform;
    ByteBlock userSid;
    char sidText[keyaccess::kSidTextSize];
    std::uint32_t length = sizeof sidText;
    if (!GetCurrentUserSid(platform, &userSid) || !FormatSidString(userSid, sidText, &length)) {
        return winerr::kSuccess;
    }
    WinError deleted = winerr::kSuccess;
    const std::string userKey = std::string(autocomplete::kProviderPath) + sidText;
    ByteBlock grant;
    std::vector<SavedKeyDacl> changed;
    if (BuildGrantDescriptor(platform.security, userSid, &grant)) {
        KeyDaclWalk walk{platform.registry,
                         [&report](const char* name) { ReportFormEntry(report, name); },
                         &changed,
                         {}};
        std::string path = userKey;
        ApplyKeyDacl(walk, regroot::kCurrentUser, path.c_str(), grant, /*recursive=*/false);
        path = path + "\\" + autocomplete::kDataKey;
        ApplyKeyDacl(walk, regroot::kCurrentUser, path.c_str(), grant, /*recursive=*/false);
        path = path + "\\" + autocomplete::kTypeKey;
        ApplyKeyDacl(walk, regroot::kCurrentUser, path.c_str(), grant, /*recursive=*/true);
        if (!testMode) {
            deleted = platform.registry.DeleteTree(regroot::kCurrentUser, path);
        }
    }
    // Every key changed gets its own list back, whether the step was a Test or a Clear.
    RestoreKeyDacls(platform.registry, regroot::kCurrentUser, changed);
    return deleted;
}

WinError EraseOnNineXRoad(EraserDlg& dlg, bool testMode, FormEntryReport& report) {
    Registry& registry = dlg.platform.registry;
    char userName[keyaccess::kUserNameSize];
    std::uint32_t size = sizeof userName;
    if (dlg.platform.accounts.QueryUserName(userName, &size) != winerr::kSuccess) {
        return winerr::kSuccess;  // without the name there is no key of this user to look at
    }
    const std::string typeKey = std::string(autocomplete::kProviderPath) + userName + "\\" +
                                autocomplete::kDataKey + "\\" + autocomplete::kTypeKey;
    const std::string itemKey = typeKey + "\\" + autocomplete::kTypeKey;
    {
        // KEY_READ: on the NT family a key opened only to read its access list cannot
        // be enumerated.
        RegKey key(registry);
        if (key.Open(regroot::kLocalMachine, itemKey, regaccess::kRead) == winerr::kSuccess) {
            ForEachSubKey(registry, key.Get(),
                          [&report](const char* name) { ReportFormEntry(report, name); });
        }
    }
    return testMode ? winerr::kSuccess : registry.DeleteTree(regroot::kLocalMachine, typeKey);
}

}  // namespace

void ReportFormEntry(FormEntryReport& report, const char* name) {
    if (report.autoCompleteLog == nullptr || name == nullptr ||
        std::strstr(name, kStringData) != nullptr) {
        return;
    }
    const char* marker = std::strstr(name, kStringIndex);
    if (marker == nullptr) {
        return;
    }
    const FormLineText& text = report.testMode ? kTestFormLine : kClearFormLine;
    std::string field(name, marker);
    std::string line = text.opening + field + "\"";
    if (field == kSearchField) {
        line += text.searchSuffix;
    }
    line += text.ending;
    report.autoCompleteLog->AppendRawLine(line.c_str());
    report.fields.push_back(field);
}

// One item per field; when the area could not be deleted, each field failed with the
// registry's answer. The registry tells no sizes.
CategoryResult EraseAutoComplete(EraserDlg& dlg, bool testMode, ActivityLog& log) {
    FormEntryReport report{&log, testMode, {}};
    int version = osver::kUnknown;
    DetectWindowsVersion(dlg.platform.system, &version);
    WinError deleted = TakesNtRoad(version) ? EraseOnNtRoad(dlg, testMode, report)
                                            : EraseOnNineXRoad(dlg, testMode, report);
    CategoryResult result;
    for (const std::string& field : report.fields) {
        if (deleted == winerr::kSuccess) {
            ++result.items;
        } else {
            result.Fail(field, deleted);
        }
    }
    return result;
}
