// The URL history object of Internet Explorer (CLSID_CUrlHistory) as the core sees it:
// the object, an enumeration of its records and ClearHistory, each a COM call with its
// HRESULT as the result. COM must have been initialised on the calling thread.
//
// The enumeration hands out one record per call, so the caller decides before every
// record whether to go on: a listing stops between two entries simply by dropping the
// enumeration, which releases it.
#pragma once

#include <memory>
#include <string>

#include "platform/hresult.h"

// The fields of a STATURL record that the program reads, converted at the edge from
// UTF-16 to the ANSI code page (GBK); characters it lacks become '?'. A missing text is
// empty.
struct HistoryUrl {
    std::string url;
    std::string title;
};

// The interface the object is created for: IUrlHistoryStg or IUrlHistoryStg2.
enum class UrlHistoryInterface { kStg, kStg2 };

// One IEnumSTATURL, released on destruction. It may outlive the store it came from.
class UrlHistoryEnum {
public:
    virtual ~UrlHistoryEnum() = default;

    // IEnumSTATURL::Reset.
    [[nodiscard]] virtual HResult Reset() = 0;
    // IEnumSTATURL::Next for one record. kOk: *out holds it. kFalse: there are no more
    // records. Anything else is a failure. *out is untouched unless the result is kOk.
    [[nodiscard]] virtual HResult Next(HistoryUrl* out) = 0;
};

// One instance of the object, released on destruction.
class UrlHistoryStore {
public:
    virtual ~UrlHistoryStore() = default;

    // IUrlHistoryStg::EnumUrls. *out is set only on success.
    [[nodiscard]] virtual HResult EnumUrls(std::unique_ptr<UrlHistoryEnum>* out) = 0;
    // IUrlHistoryStg2::ClearHistory: empties the whole history. A store created for
    // IUrlHistoryStg asks the object for IUrlHistoryStg2 first.
    [[nodiscard]] virtual HResult ClearHistory() = 0;
};

class UrlHistory {
public:
    virtual ~UrlHistory() = default;

    // CoCreateInstance(CLSID_CUrlHistory, no outer object, CLSCTX_INPROC_SERVER, the
    // interface). *out is set only on success.
    [[nodiscard]] virtual HResult Create(UrlHistoryInterface which,
                                         std::unique_ptr<UrlHistoryStore>* out) = 0;
};
