// Compound files through ole32 (StgCreateDocfile, StgOpenStorage, IStorage, IStream).
#pragma once

#include "platform/storage.h"

class Win32Storage : public Storage {
public:
    HResult CreateDocfile(const std::string& path, std::uint32_t mode,
                          std::unique_ptr<StorageFile>* out) override;
    HResult OpenDocfile(const std::string& path, std::uint32_t mode,
                        std::unique_ptr<StorageFile>* out) override;
};
