// The profile both fuzz targets start from, and the streams a real Save state writes of
// it: their seed corpora.
#pragma once

#include <fstream>
#include <map>

#include "clean/eraser_rows.h"

namespace fuzz {

const char* const kStreams[] = {"SaveDate", "History",   "TypedURLs", "TemporaryInternetFiles",
                                "Cookies",  "StartPage", "Recent"};
const std::string kSnapshot = "C:\\Program Files\\Corvane\\state.spp";

// Each folder Restore writes to with a file of its kind, a cookie, a visited page, a
// typed URL, the start page and a Documents-list value.
struct Profile : Machine {
    Profile() {
        Seed(mem, Expand({"file $Recent\\r.lnk = r", "file $Cookies\\a.txt = c",
                          "file $Cache\\Content.IE5\\index.dat = i",
                          "file $History\\History.IE5\\index.dat = h", "cache Cookie:u@a/",
                          "history http://h/", "value HKCU\\$Typed|url1 = http://t/",
                          "value HKCU\\$Main|起始页 = http://s/",
                          "value HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                          "RecentDocs|0 = r"}));
        dlg.settings.closeBrowserPolicy = 1;
    }
    void TestBody() override {}
    using Machine::dlg;
    using Machine::mem;
};

inline const std::map<std::string, std::string>& Saved() {
    static const std::map<std::string, std::string> streams = [] {
        Profile profile;
        profile.dlg.SaveState();
        std::map<std::string, std::string> saved;
        for (const char* name : kStreams) {
            saved[name] = profile.mem.storage.Stream(kSnapshot, name);
        }
        return saved;
    }();
    return streams;
}

// Fills each corpus folder among libFuzzer's arguments that lacks them with the saved
// streams, each behind the bytes `head` gives for its index in kStreams.
template <typename Head>
void WriteSeeds(int argc, char** argv, Head head) {
    for (int i = 1; i < argc; ++i) {
        std::string folder = argv[i];
        for (int s = 0; s < 7 && folder[0] != '-'; ++s) {
            std::string path = folder + "/" + kStreams[s];
            if (!std::ifstream(path).good()) {
                std::ofstream(path, std::ios::binary) << head(s) << Saved().at(kStreams[s]);
            }
        }
    }
}

}  // namespace fuzz
