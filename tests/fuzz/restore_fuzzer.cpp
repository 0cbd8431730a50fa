// Feeds arbitrary bytes to Restore as one stream of a snapshot that Save state wrote on a
// seeded profile: the first input byte picks the stream, the rest replaces its content.
// A run must end without a crash, an overrun or a hang, and never write outside the
// profile's folders. On start it fills an empty corpus folder with the saved streams.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "platform/memory/memory_platform.h"
#include "snapshot/snapshot_file.h"
#include "state/eraser_dlg.h"

namespace {

const char* const kStreams[] = {"SaveDate", "History",   "TypedURLs", "TemporaryInternetFiles",
                                "Cookies",  "StartPage", "Recent"};
const std::string kProfile = "C:\\Documents and Settings\\user\\";
const std::string kSnapshot = "C:\\Program Files\\Corvane\\state.spp";

struct Machine {
    MemoryPlatform mem;
    EraserDlg dlg{mem.platform};
    Machine() {  // each folder of the profile with one file of its kind
        const char* const folders[][2] = {
            {"Recent", "\\r.lnk"},
            {"Cookies", "\\a.txt"},
            {"Local Settings\\Temporary Internet Files", "\\Content.IE5\\index.dat"},
            {"Local Settings\\History", "\\History.IE5\\index.dat"}};
        const CsidlFolder ids[] = {csidl::kRecent, csidl::kCookies, csidl::kInternetCache,
                                   csidl::kHistory};
        for (int i = 0; i < 4; ++i) {
            mem.shell.specialFolders[ids[i]] = kProfile + folders[i][0];
            mem.files.AddFile(kProfile + folders[i][0] + folders[i][1], folders[i][0]);
        }
        MemoryUrlCache::Entry cookie;
        cookie.url = "Cookie:u@a/";
        mem.urlCache.Commit(cookie);
        mem.urlHistory.entries = {{"http://h/", "h"}};
        dlg.osVersion = 6;
        dlg.settings.closeBrowserPolicy = 1;
    }
};

std::map<std::string, std::string> SavedStreams() {
    Machine machine;
    machine.dlg.SaveState();
    std::map<std::string, std::string> streams;
    for (const char* name : kStreams) {
        streams[name] = machine.mem.storage.Stream(kSnapshot, name);
    }
    return streams;
}

const std::map<std::string, std::string>& Saved() {
    static const std::map<std::string, std::string> streams = SavedStreams();
    return streams;
}

// Whether a file outside the profile exists below folder: only a cache container's index.dat,
// which its record names with its folder, may be written elsewhere.
bool WritesOutsideProfile(Files& files, const std::string& folder) {
    FindScope listing(files);
    FindData entry;
    bool outside = false;
    for (bool more = listing.First(folder + "\\*.*", &entry); more; more = listing.Next(&entry)) {
        std::string path = folder + "\\" + entry.name;
        if (entry.name == "." || entry.name == "..") {
            continue;
        }
        if (entry.attributes & fileattr::kDirectory) {
            outside = outside || WritesOutsideProfile(files, path);
        } else {
            outside = outside || (path.compare(0, kProfile.size(), kProfile) != 0 &&
                                  entry.name != "index.dat");
        }
    }
    return outside;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        std::string folder = (*argv)[i];
        if (folder[0] == '-') {
            continue;
        }
        for (int s = 0; s < 7; ++s) {
            std::string seed = folder + "/" + kStreams[s];
            if (std::ifstream(seed).good()) {
                continue;
            }
            std::ofstream(seed, std::ios::binary)
                << static_cast<char>(s) << Saved().at(kStreams[s]);
        }
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    Machine machine;
    std::map<std::string, std::string> streams = Saved();
    streams[kStreams[data[0] % 7]] = std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    machine.mem.storage.AddDocfile(kSnapshot, streams);
    machine.dlg.RestoreState();
    if (machine.dlg.busy || machine.mem.files.OpenHandleCount() != 0 ||
        WritesOutsideProfile(machine.mem.files, "C:")) {
        std::abort();
    }
    return 0;
}
