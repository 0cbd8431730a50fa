#include "wine/fake_url_history.h"

#include <urlhist.h>

#include <cstring>

#include "platform/win32/url_history_ids.h"

namespace {

using State = FakeUrlHistory::State;

wchar_t* TaskCopy(const std::wstring& text) {
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    return static_cast<wchar_t*>(std::memcpy(CoTaskMemAlloc(bytes), text.c_str(), bytes));
}

// One class serves as the class object, the stores and their enumerations; a store or
// an enumeration counts as live until its last Release. The calls the program never
// makes are not served.
class FakeObject : public IClassFactory, public IUrlHistoryStg2, public IEnumSTATURL {
public:
    FakeObject(std::shared_ptr<State> state, bool counted) : state_(state), counted_(counted) {
        state_->liveObjects += counted;
    }
    virtual ~FakeObject() { state_->liveObjects -= counted_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        bool store = iid == kIidIUrlHistoryStg || iid == kIidIUrlHistoryStg2;
        *out = iid == kIidIEnumStatUrl ? static_cast<IEnumSTATURL*>(this)
               : store                 ? static_cast<void*>(static_cast<IUrlHistoryStg2*>(this))
               : iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this)
                                                                 : nullptr;
        return *out != nullptr ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (--refs_ == 0) {
            delete this;
            return 0;
        }
        return refs_;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        *out = nullptr;
        if (FAILED(state_->create)) {
            return state_->create;
        }
        auto* store = new FakeObject(state_, true);
        HRESULT result = store->QueryInterface(iid, out);
        store->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE EnumUrls(IEnumSTATURL** out) override {
        *out = SUCCEEDED(state_->enumUrls) ? new FakeObject(state_, true) : nullptr;
        return state_->enumUrls;
    }
    HRESULT STDMETHODCALLTYPE ClearHistory() override {
        if (SUCCEEDED(state_->clearHistory)) {
            state_->entries.clear();
            ++state_->clearHistoryCalls;
        }
        return state_->clearHistory;
    }
    HRESULT STDMETHODCALLTYPE AddUrl(LPCOLESTR, LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteUrl(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryUrl(LPCOLESTR, DWORD, STATURL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(LPCOLESTR, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddUrlAndNotify(LPCOLESTR, LPCOLESTR, DWORD, BOOL, IOleCommandTarget*,
                                              IUnknown*) override {
        return E_NOTIMPL;
    }

    // One record per call, as the program asks for them.
    HRESULT STDMETHODCALLTYPE Next(ULONG, STATURL* record, ULONG* fetched) override {
        STATURL zero = {};
        zero.cbSize = 40;
        state_->recordsArrivedClean &= std::memcmp(record, &zero, sizeof zero) == 0;
        if (next_ == state_->nextIndex) {
            state_->nextIndex = SIZE_MAX;
            return state_->next;
        }
        *fetched = next_ < state_->entries.size();
        if (next_ >= state_->entries.size()) {
            return S_FALSE;
        }
        const FakeUrlHistory::Entry& entry = state_->entries[next_++];
        record->pwcsUrl = TaskCopy(entry.url);
        record->pwcsTitle = entry.title.empty() ? nullptr : TaskCopy(entry.title);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = SUCCEEDED(state_->reset) ? 0 : next_;
        return state_->reset;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumSTATURL**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFilter(LPCOLESTR, DWORD) override { return E_NOTIMPL; }

private:
    std::shared_ptr<State> state_;
    bool counted_;
    ULONG refs_ = 1;
    size_t next_ = 0;
};

}  // namespace

FakeUrlHistory::FakeUrlHistory(std::initializer_list<Entry> entries)
    : state_(std::make_shared<State>()) {
    state_->entries = entries;
    auto* factory = new FakeObject(state_, false);
    registration_ = CoRegisterClassObject(kClsidCUrlHistory, static_cast<IClassFactory*>(factory),
                                          CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
    factory->Release();
}

void FakeUrlHistory::Revoke() {
    if (cookie_ != 0) {
        CoRevokeClassObject(cookie_);
        cookie_ = 0;
    }
}

std::vector<std::wstring> FakeUrlHistory::Urls() const {
    std::vector<std::wstring> urls;
    for (const Entry& entry : state_->entries) {
        urls.push_back(entry.url);
    }
    return urls;
}
