// In-memory compound files: each docfile a set of named streams kept by path (paths and
// stream names compared without regard to case), opened exclusively as the program opens them:
// while a root storage or one of its streams is alive, the file can be neither opened nor created
// again. Calls can be made to fail, reads and writes part of the way.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/memory/fault_plan.h"
#include "platform/storage.h"

class MemoryStorage : public Storage {
public:
    struct Docfile {
        std::map<std::string, std::shared_ptr<std::string>> streams;
        int users = 0;  // root storages and streams alive
    };

    HResult CreateDocfile(const std::string& path, std::uint32_t mode,
                          std::unique_ptr<StorageFile>* out) override;
    HResult OpenDocfile(const std::string& path, std::uint32_t mode,
                        std::unique_ptr<StorageFile>* out) override;

    // The bytes of a stream; "(none)" when the file or the stream does not exist.
    std::string Stream(const std::string& path, const std::string& name) const;
    // Set-up: a file with these streams, replacing any earlier one.
    void AddDocfile(const std::string& path, const std::map<std::string, std::string>& streams);

    // Calls are named "Storage.CreateDocfile" and "Storage.OpenDocfile" (the argument is
    // the path), "Storage.CreateStream", "Storage.OpenStream", "Storage.Read" and
    // "Storage.Write" (the stream's name). FailAfterBytes applies to the last two.
    // Failures are reported as the HRESULT the rule gives.
    FaultPlan faults;

private:
    static std::string Key(const std::string& path);
    HResult Check(const std::string& call, const std::string& argument) {
        return static_cast<HResult>(faults.Check(call, argument));
    }
    friend class MemoryStorageFile;
    friend class MemoryStorageStream;

    std::map<std::string, std::shared_ptr<Docfile>> files_;
};
