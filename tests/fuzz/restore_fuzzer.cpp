// Feeds arbitrary bytes to Restore as one stream of a snapshot that Save state wrote on
// the tests' XP profile: the first input byte picks the stream, the rest replaces its
// content. A run must end without a crash, an overrun or a hang, leave no handle open and
// never write a file outside the profile. On start it fills an empty corpus folder with
// the saved streams.
#include <cstdlib>

#include "fuzz/saved_profile.h"

using namespace fuzz;

namespace {

// Whether a line of State() is a file outside the profile.
bool WrittenOutside(const std::string& line) {
    return line.rfind("file ", 0) == 0 && line.rfind("file " + Expand("$Profile\\"), 0) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    WriteSeeds(*argc, *argv, [](int stream) { return std::string(1, static_cast<char>(stream)); });
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
