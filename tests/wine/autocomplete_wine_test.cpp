// AutoComplete form entries in the real registry behind real access lists. NT 4, 2000
// and XP take the NT road, below the current user's SID key, whose keys let only
// LocalSystem in; 98 and Server 2003 the 9x road, below the local machine's key named
// after the user, with Wine's own lists. Both areas are seeded alike: only the road taken
// may lose its type key, and every list stays as it was.
#include "platform/security.h"
#include "wine/wine_support.h"

namespace {

const std::string kType = "\\Data\\e161255a-37c3-11d2-bcaa-00c04fd929db";
const std::string kSubtype = kType + "\\e161255a-37c3-11d2-bcaa-00c04fd929db";
// The keys of an area, below the user's key.
const Lines kKeys = Lines({"", "\\Data", "\\Data\\other-type", kType, kSubtype,
                           kSubtype + "\\email:StringIndex", kSubtype + "\\q:StringIndex"});
// A descriptor whose list lets only LocalSystem in, as Windows keeps the NT area, and one
// with no list at all, which lets everybody in.
const std::uint16_t kDacl = sdlayout::kSelfRelative | sdlayout::kDaclPresent;
const AceFields kSystemOnly{acelayout::kAccessAllowed, acelayout::kContainerInherit, KEY_ALL_ACCESS,
                            WriteSid({1, kNtAuthority, {18}})};
ByteBlock kLocked = WriteDescriptor({sdlayout::kRevision, kDacl, {}, WriteAcl({kSystemOnly})});
ByteBlock kOpen = WriteDescriptor({sdlayout::kRevision, kDacl, {}, {}});

class AutoCompleteUnderWine : public WineTest {
protected:
    // The owner may always write a key's list.
    void Clean() override {
        for (const auto& [root, user] : areas) {
            for (const std::string& key : kKeys) {
                MakeKey(root, user + key, &kOpen);
            }
            SHDeleteKeyA(root, user.c_str());
            RegDeleteKeyA(root, "Software\\Microsoft\\Protected Storage System Provider");
        }
        WineTest::Clean();
    }
    // Creates the key, or opens it, and gives it the list, if any.
    static LONG MakeKey(HKEY root, const std::string& path, ByteBlock* descriptor) {
        HKEY key = nullptr;
        LONG status =
            RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr);
        if (status == ERROR_SUCCESS && descriptor != nullptr) {
            status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor->data());
        }
        RegCloseKey(key);
        return status;
    }
    // Every key of both areas with its list, "gone" for a key that is not there.
    Lines State() {
        Lines state;
        for (const auto& [root, user] : areas) {
            for (const std::string& path : kKeys) {
                HKEY key = nullptr;
                char list[1024];
                DWORD size = sizeof list;
                bool there = !RegOpenKeyExA(root, (user + path).c_str(), 0, READ_CONTROL, &key) &&
                             !RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, list, &size);
                state.push_back(user + path + " " + (there ? std::string(list, size) : "gone"));
                RegCloseKey(key);
            }
        }
        return state;
    }

    const std::string provider = "Software\\Microsoft\\Protected Storage System Provider\\";
    const std::pair<HKEY, std::string> areas[2] = {
        {HKEY_CURRENT_USER, provider + "S-1-5-21-0-0-0-1000"},
        {HKEY_LOCAL_MACHINE, provider + std::getenv("USERNAME")}};
};

TEST_F(AutoCompleteUnderWine, OnlyTheRoadTakenLosesItsTypeKeyAndEveryListStays) {
    for (const auto& [root, user] : areas) {
        for (const std::string& key : kKeys) {
            ASSERT_EQ(0, MakeKey(root, user + key, root == HKEY_CURRENT_USER ? &kLocked : nullptr));
        }
    }
    StoreSettings(EraserSettings{0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1});  // AutoComplete only
    const Lines before = State();
    const std::string taken = areas[kWinver == "winxp" || kWinver == "win2k" ? 0 : 1].second;
    EXPECT_EQ(
        Printed({{"删除自动填表数据...", "", "Form: \"email\" - cleared",
                  "Form: \"q\" (Search engines form)  - cleared", "", "自动填表数据已删除 <OK>"}}),
        RunCorvane("/clear /utf8"));
    Lines after = before;
    for (std::string& line : after) {
        if (line.rfind(taken + kType, 0) == 0) {
            line = line.substr(0, line.find(' ', taken.size())) + " gone";
        }
    }
    EXPECT_EQ(after, State());
}

}  // namespace
