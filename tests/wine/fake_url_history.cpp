#include "wine/fake_url_history.h"

#include <urlhist.h>

#include <cstdint>
#include <cstring>

#include "platform/win32/url_history_ids.h"

struct FakeUrlHistory::State {
    std::vector<Entry> entries;
    int clearHistoryCalls = 0;
    int liveObjects = 0;
    bool recordsArrivedClean = true;
    HRESULT createResult = S_OK;
    HRESULT enumUrlsResult = S_OK;
    HRESULT resetResult = S_OK;
    HRESULT clearHistoryResult = S_OK;
    size_t failNextIndex = SIZE_MAX;
    HRESULT failNextResult = S_OK;
};

namespace {

using State = FakeUrlHistory::State;

wchar_t* TaskCopy(const std::wstring& text) {
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    std::memcpy(copy, text.c_str(), bytes);
    return copy;
}

bool IsZeroedRecord(const STATURL& record) {
    STATURL zero = {};
    zero.cbSize = 40;
    return std::memcmp(&record, &zero, sizeof zero) == 0;
}

// Reference counting and the live-object count shared by the stores and enumerators.
template <typename Interface>
class Counted : public Interface {
public:
    explicit Counted(std::shared_ptr<State> state) : state_(std::move(state)) {
        ++state_->liveObjects;
    }
    virtual ~Counted() { --state_->liveObjects; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    HRESULT Answer(void* self, void** out) {
        *out = self;
        AddRef();
        return S_OK;
    }

    std::shared_ptr<State> state_;

private:
    ULONG refs_ = 1;
};

class FakeEnum : public Counted<IEnumSTATURL> {
public:
    using Counted::Counted;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidIEnumStatUrl)) {
            return Answer(static_cast<IEnumSTATURL*>(this), out);
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }

    // One record per call, as the program asks for them.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, STATURL* record, ULONG* fetched) override {
        if (count != 1 || record == nullptr) {
            return E_INVALIDARG;
        }
        state_->recordsArrivedClean &= IsZeroedRecord(*record);
        if (next_ == state_->failNextIndex) {
            state_->failNextIndex = SIZE_MAX;
            return state_->failNextResult;
        }
        if (fetched != nullptr) {
            *fetched = 0;
        }
        if (next_ >= state_->entries.size()) {
            return S_FALSE;
        }
        const FakeUrlHistory::Entry& entry = state_->entries[next_++];
        record->pwcsUrl = TaskCopy(entry.url);
        record->pwcsTitle = entry.title.empty() ? nullptr : TaskCopy(entry.title);
        if (fetched != nullptr) {
            *fetched = 1;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ += count;
        return next_ <= state_->entries.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        if (SUCCEEDED(state_->resetResult)) {
            next_ = 0;
        }
        return state_->resetResult;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumSTATURL**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFilter(LPCOLESTR, DWORD) override { return E_NOTIMPL; }

private:
    size_t next_ = 0;
};

// The program never adds, deletes, queries or binds URLs; those calls are not served.
class FakeStore : public Counted<IUrlHistoryStg2> {
public:
    using Counted::Counted;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidIUrlHistoryStg) ||
            IsEqualIID(iid, kIidIUrlHistoryStg2)) {
            return Answer(static_cast<IUrlHistoryStg2*>(this), out);
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT STDMETHODCALLTYPE AddUrl(LPCOLESTR, LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteUrl(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryUrl(LPCOLESTR, DWORD, STATURL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(LPCOLESTR, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddUrlAndNotify(LPCOLESTR, LPCOLESTR, DWORD, BOOL, IOleCommandTarget*,
                                              IUnknown*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE EnumUrls(IEnumSTATURL** out) override {
        *out = nullptr;
        if (FAILED(state_->enumUrlsResult)) {
            return state_->enumUrlsResult;
        }
        *out = new FakeEnum(state_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ClearHistory() override {
        if (FAILED(state_->clearHistoryResult)) {
            return state_->clearHistoryResult;
        }
        state_->entries.clear();
        ++state_->clearHistoryCalls;
        return S_OK;
    }
};

// The class object; COM holds it while it is registered.
class FakeFactory : public IClassFactory {
public:
    explicit FakeFactory(std::shared_ptr<State> state) : state_(std::move(state)) {}
    virtual ~FakeFactory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        if (FAILED(state_->createResult)) {
            return state_->createResult;
        }
        auto* store = new FakeStore(state_);
        HRESULT result = store->QueryInterface(iid, out);
        store->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::shared_ptr<State> state_;
    ULONG refs_ = 1;
};

}  // namespace

FakeUrlHistory::FakeUrlHistory(std::vector<Entry> entries) : state_(std::make_shared<State>()) {
    state_->entries = std::move(entries);
    auto* factory = new FakeFactory(state_);
    registration_ = CoRegisterClassObject(kClsidCUrlHistory, factory, CLSCTX_INPROC_SERVER,
                                          REGCLS_MULTIPLEUSE, &cookie_);
    factory->Release();
}

FakeUrlHistory::~FakeUrlHistory() {
    Revoke();
}

void FakeUrlHistory::Revoke() {
    if (SUCCEEDED(registration_) && cookie_ != 0) {
        CoRevokeClassObject(cookie_);
        cookie_ = 0;
    }
}

void FakeUrlHistory::Serve(std::vector<Entry> entries) {
    state_->entries = std::move(entries);
}

std::vector<std::wstring> FakeUrlHistory::Urls() const {
    std::vector<std::wstring> urls;
    for (const Entry& entry : state_->entries) {
        urls.push_back(entry.url);
    }
    return urls;
}

int FakeUrlHistory::ClearHistoryCalls() const {
    return state_->clearHistoryCalls;
}

int FakeUrlHistory::LiveObjects() const {
    return state_->liveObjects;
}

bool FakeUrlHistory::RecordsArrivedClean() const {
    return state_->recordsArrivedClean;
}

void FakeUrlHistory::FailCreation(HRESULT result) {
    state_->createResult = result;
}
void FakeUrlHistory::FailEnumUrls(HRESULT result) {
    state_->enumUrlsResult = result;
}
void FakeUrlHistory::FailReset(HRESULT result) {
    state_->resetResult = result;
}
void FakeUrlHistory::FailClearHistory(HRESULT result) {
    state_->clearHistoryResult = result;
}
void FakeUrlHistory::FailNextAt(size_t index, HRESULT result) {
    state_->failNextIndex = index;
    state_->failNextResult = result;
}
