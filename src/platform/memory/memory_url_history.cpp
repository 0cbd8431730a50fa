#include "platform/memory/memory_url_history.h"

// Both classes count themselves in the history's live objects while they exist.
class MemoryUrlHistoryEnum : public UrlHistoryEnum {
public:
    explicit MemoryUrlHistoryEnum(MemoryUrlHistory& history) : history_(history) {
        ++history_.liveObjects_;
    }
    ~MemoryUrlHistoryEnum() override { --history_.liveObjects_; }

    HResult Reset() override {
        next_ = 0;
        return hresult::kOk;
    }

    // Reads the live list, so records removed meanwhile are not served.
    HResult Next(HistoryUrl* out) override {
        if (HResult fault = history_.Check("UrlHistory.Next", "")) {
            return fault;
        }
        bool atEnd = next_ >= history_.entries.size();
        if (atEnd) {
            return hresult::kFalse;
        }
        *out = history_.entries[next_++];
        return hresult::kOk;
    }

private:
    MemoryUrlHistory& history_;
    size_t next_ = 0;
};

class MemoryUrlHistoryStore : public UrlHistoryStore {
public:
    explicit MemoryUrlHistoryStore(MemoryUrlHistory& history) : history_(history) {
        ++history_.liveObjects_;
    }
    ~MemoryUrlHistoryStore() override { --history_.liveObjects_; }

    HResult EnumUrls(std::unique_ptr<UrlHistoryEnum>* out) override {
        HResult fault = history_.Check("UrlHistory.EnumUrls", "");
        if (fault == hresult::kOk) {
            *out = std::make_unique<MemoryUrlHistoryEnum>(history_);
        }
        return fault;
    }

    HResult ClearHistory() override {
        HResult fault = history_.Check("UrlHistory.ClearHistory", "");
        if (fault == hresult::kOk) {
            history_.entries.clear();
            ++history_.clearHistoryCount;
            if (history_.onClearHistory) {
                history_.onClearHistory();
            }
        }
        return fault;
    }

private:
    MemoryUrlHistory& history_;
};

HResult MemoryUrlHistory::Create(UrlHistoryInterface which, std::unique_ptr<UrlHistoryStore>* out) {
    HResult fault =
        Check("UrlHistory.Create",
              which == UrlHistoryInterface::kStg2 ? "IUrlHistoryStg2" : "IUrlHistoryStg");
    if (fault == hresult::kOk) {
        *out = std::make_unique<MemoryUrlHistoryStore>(*this);
    }
    return fault;
}
