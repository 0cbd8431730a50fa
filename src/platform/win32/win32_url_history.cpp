#include "platform/win32/win32_url_history.h"

#include <windows.h>
// windows.h first: urlhist.h needs its types.
#include <urlhist.h>

#include "platform/win32/url_history_ids.h"

static_assert(hresult::kOk == S_OK && hresult::kFalse == S_FALSE);
static_assert(hresult::kNotImpl == E_NOTIMPL && hresult::kNoInterface == E_NOINTERFACE);
static_assert(hresult::kFail == E_FAIL && hresult::kOutOfMemory == E_OUTOFMEMORY);
static_assert(hresult::kClassNotAvailable == CLASS_E_CLASSNOTAVAILABLE);
static_assert(hresult::kClassNotRegistered == REGDB_E_CLASSNOTREG);
static_assert(hresult::kNotInitialized == CO_E_NOTINITIALIZED);
// The record the program hands to Next has its size field set to 40.
static_assert(sizeof(STATURL) == 40);

namespace {

// UTF-16 to the ANSI code page; characters it lacks become '?'.
std::string ToAnsi(const wchar_t* wide) {
    if (wide == nullptr || *wide == L'\0') {
        return {};
    }
    int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi.data(), size, nullptr, nullptr);
    ansi.resize(size - 1);
    return ansi;
}

class ComUrlHistoryEnum : public UrlHistoryEnum {
public:
    explicit ComUrlHistoryEnum(IEnumSTATURL* items) : items_(items) {}
    ~ComUrlHistoryEnum() override { items_->Release(); }
    ComUrlHistoryEnum(const ComUrlHistoryEnum&) = delete;
    ComUrlHistoryEnum& operator=(const ComUrlHistoryEnum&) = delete;

    HResult Reset() override { return items_->Reset(); }

    // One record per call, zeroed with its size set before the call. The texts belong to
    // the caller and are freed here whatever the answer. S_OK without a record would
    // repeat forever, so it counts as the end.
    HResult Next(HistoryUrl* out) override {
        STATURL record = {};
        record.cbSize = sizeof record;
        ULONG fetched = 0;
        HRESULT result = items_->Next(1, &record, &fetched);
        if (result == S_OK && fetched == 1) {
            out->url = ToAnsi(record.pwcsUrl);
            out->title = ToAnsi(record.pwcsTitle);
        }
        CoTaskMemFree(record.pwcsUrl);
        CoTaskMemFree(record.pwcsTitle);
        return result == S_OK && fetched != 1 ? S_FALSE : result;
    }

private:
    IEnumSTATURL* items_;
};

class ComUrlHistoryStore : public UrlHistoryStore {
public:
    explicit ComUrlHistoryStore(IUrlHistoryStg* store) : store_(store) {}
    ~ComUrlHistoryStore() override { store_->Release(); }
    ComUrlHistoryStore(const ComUrlHistoryStore&) = delete;
    ComUrlHistoryStore& operator=(const ComUrlHistoryStore&) = delete;

    HResult EnumUrls(std::unique_ptr<UrlHistoryEnum>* out) override {
        IEnumSTATURL* items = nullptr;
        HRESULT result = store_->EnumUrls(&items);
        if (FAILED(result) || items == nullptr) {
            return FAILED(result) ? result : E_POINTER;
        }
        *out = std::make_unique<ComUrlHistoryEnum>(items);
        return result;
    }

    HResult ClearHistory() override {
        IUrlHistoryStg2* store2 = nullptr;
        HRESULT result =
            store_->QueryInterface(kIidIUrlHistoryStg2, reinterpret_cast<void**>(&store2));
        if (FAILED(result)) {
            return result;
        }
        result = store2->ClearHistory();
        store2->Release();
        return result;
    }

private:
    IUrlHistoryStg* store_;
};

}  // namespace

HResult Win32UrlHistory::Create(UrlHistoryInterface which, std::unique_ptr<UrlHistoryStore>* out) {
    const GUID& iid =
        which == UrlHistoryInterface::kStg2 ? kIidIUrlHistoryStg2 : kIidIUrlHistoryStg;
    void* object = nullptr;
    HRESULT result =
        CoCreateInstance(kClsidCUrlHistory, nullptr, CLSCTX_INPROC_SERVER, iid, &object);
    if (FAILED(result)) {
        return result;
    }
    // IUrlHistoryStg2 derives from IUrlHistoryStg, so either pointer serves as the base.
    IUrlHistoryStg* store = which == UrlHistoryInterface::kStg2
                                ? static_cast<IUrlHistoryStg2*>(object)
                                : static_cast<IUrlHistoryStg*>(object);
    *out = std::make_unique<ComUrlHistoryStore>(store);
    return result;
}
