// The URL history object through COM (CoCreateInstance, IUrlHistoryStg, IUrlHistoryStg2,
// IEnumSTATURL).
#pragma once

#include "platform/url_history.h"

class Win32UrlHistory : public UrlHistory {
public:
    HResult Create(UrlHistoryInterface which, std::unique_ptr<UrlHistoryStore>* out) override;
};
