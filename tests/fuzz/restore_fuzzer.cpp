// Feeds arbitrary bytes to Restore as one stream of a snapshot that Save state wrote on
// the tests' XP profile: the first input byte picks the stream, the rest replaces its
// content. A run must end without a crash, an overrun or a hang, leave no handle open and
// touch no file but directly inside the folders its streams belong to, whatever path a
// record names. On start it fills an empty corpus folder with the saved streams and with
// records that name paths elsewhere.
#include <cstdlib>

#include "fuzz/saved_profile.h"
#include "platform/gbk.h"
#include "snapshot/blocks.h"

using namespace fuzz;

namespace {

const Lines kFolders =
    Expand({"$Cookies", "$Cache\\Content.IE5", "$Recent", "$History\\History.IE5"});

// Whether Restore may touch path: a file directly inside a folder of its streams, a
// container folder directly inside the history's, or a file directly inside one of those.
bool MayTouch(const std::string& path) {
    auto parent = [](const std::string& p) {
        return p.substr(0, std::min(p.size(), GbkLastSeparator(p)));
    };
    std::string name = path.substr(parent(path).size());
    if (name.find(':') != std::string::npos || name == "\\." || name == "\\..") {
        return false;
    }
    for (const std::string& folder : kFolders) {
        if (GbkEqualNoCase(parent(path), folder)) {
            return true;
        }
    }
    return GbkEqualNoCase(parent(parent(path)), kFolders[3]) && MayTouch(parent(path));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    WriteSeeds(*argc, *argv, [](int stream) { return std::string(1, static_cast<char>(stream)); });
    // A record of each file list that points elsewhere: a sibling, "..", a stream, a drive.
    const char* const kTails[] = {"x\\a.txt", "\\..\\a.txt", "\\a.txt:s", "/../a.txt",
                                  "\\sub\\a.txt"};
    for (int i = 1; i < *argc; ++i) {
        for (size_t t = 0; t < std::size(kTails) && (*argv)[i][0] != '-'; ++t) {
            std::ofstream(std::string((*argv)[i]) + "/elsewhere" + std::to_string(t),
                          std::ios::binary)
                << '\4' << Text(kFolders[0] + kTails[t], true) << Content("x") << Text("");
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
    profile.mem.files.faults.recording = true;
    profile.dlg.RestoreState();
    for (const FaultPlan::Call& call : profile.mem.files.faults.calls) {
        bool looks = call.name == "Files.FindFirst" || call.name == "Files.FindNext" ||
                     call.name == "Files.GetAttributes";
        if (!looks && !MayTouch(call.argument)) {
            std::abort();
        }
    }
    if (profile.dlg.busy || profile.mem.files.OpenHandleCount() != 0) {
        std::abort();
    }
    return 0;
}
