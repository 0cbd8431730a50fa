// An in-memory URL history object: the records it serves, in order, the ClearHistory
// calls it received, and a count of the stores and enumerations not yet released. Calls
// can be made to fail.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/memory/fault_plan.h"
#include "platform/url_history.h"

class MemoryUrlHistory : public UrlHistory {
public:
    // Stores and enumerations keep a pointer to this object and must be released first.
    HResult Create(UrlHistoryInterface which, std::unique_ptr<UrlHistoryStore>* out) override;

    // The records the object serves, in enumeration order, already in GBK.
    std::vector<HistoryUrl> entries;
    int clearHistoryCount = 0;
    // Run by a successful ClearHistory: what else clearing takes, as WinINet's takes the
    // history containers' registry records.
    std::function<void()> onClearHistory;

    // Stores and enumerations created and not released yet.
    int LiveObjects() const { return liveObjects_; }

    // Calls are named "UrlHistory.Create" (the argument is the interface name,
    // "IUrlHistoryStg" or "IUrlHistoryStg2"), "UrlHistory.EnumUrls" and
    // "UrlHistory.ClearHistory", and "UrlHistory.Next" for an enumeration's step. FailWith takes
    // the HRESULT to answer.
    FaultPlan faults;
    void FailWith(const std::string& call, HResult result, const std::string& match = "") {
        faults.Fail(call, static_cast<WinError>(result), match);
    }

private:
    friend class MemoryUrlHistoryStore;
    friend class MemoryUrlHistoryEnum;

    HResult Check(const std::string& call, const std::string& argument) {
        return static_cast<HResult>(faults.Check(call, argument));
    }

    int liveObjects_ = 0;
};
