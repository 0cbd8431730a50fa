// Feeds arbitrary bytes to Restore as one stream of a snapshot that Save state wrote on
// the tests' XP profile: the first input byte picks the stream, the rest replaces its
// content. A run must end without a crash, an overrun or a hang, leave no handle open and
// never write a file outside the profile. On start it fills an empty corpus folder with
// the saved streams.
#include <cstdlib>
#include <fstream>
#include <map>

#include "clean/eraser_rows.h"

namespace {

const char* const kStreams[] = {"SaveDate", "History",   "TypedURLs", "TemporaryInternetFiles",
                                "Cookies",  "StartPage", "Recent"};
const std::string kSnapshot = "C:\\Program Files\\Corvane\\state.spp";

// Each folder Restore writes to with a file of its kind, a cookie and a visited page.
struct Profile : Machine {
    Profile() {
        Seed(mem, Expand({"file $Recent\\r.lnk = r", "file $Cookies\\a.txt = c",
                          "file $Cache\\Content.IE5\\index.dat = i",
                          "file $History\\History.IE5\\index.dat = h", "cache Cookie:u@a/",
                          "history http://h/"}));
        dlg.settings.closeBrowserPolicy = 1;
    }
    void TestBody() override {}
    using Machine::dlg;
    using Machine::mem;
};

const std::map<std::string, std::string>& Saved() {
    static const std::map<std::string, std::string> streams = [] {
        Profile profile;
        profile.dlg.SaveState();
        std::map<std::string, std::string> saved;
        for (const char* name : kStreams) saved[name] = profile.mem.storage.Stream(kSnapshot, name);
        return saved;
    }();
    return streams;
}

// Whether a line of State() is a file outside the profile.
bool WrittenOutside(const std::string& line) {
    return line.rfind("file ", 0) == 0 && line.rfind("file " + Expand("$Profile\\"), 0) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        std::string folder = (*argv)[i];
        for (int s = 0; s < 7 && folder[0] != '-'; ++s) {
            std::string seed = folder + "/" + kStreams[s];
            if (!std::ifstream(seed).good())
                std::ofstream(seed, std::ios::binary)
                    << static_cast<char>(s) << Saved().at(kStreams[s]);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    Profile profile;
    std::map<std::string, std::string> streams = Saved();
    streams[kStreams[data[0] % 7]] = std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    profile.mem.storage.AddDocfile(kSnapshot, streams);
    profile.dlg.RestoreState();
    const Lines after = State(profile.mem);
    if (profile.dlg.busy || profile.mem.files.OpenHandleCount() != 0 ||
        std::any_of(after.begin(), after.end(), WrittenOutside))
        std::abort();
    return 0;
}
