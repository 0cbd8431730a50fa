// A stand-in for Internet Explorer's URL history object, for tests under Wine, whose own
// object answers E_NOTIMPL to EnumUrls and ClearHistory. While it is registered, a class
// object given to CoRegisterClassObject makes CoCreateInstance(CLSID_CUrlHistory, ...,
// CLSCTX_INPROC_SERVER, ...) in this process create objects that serve IUrlHistoryStg,
// IUrlHistoryStg2 and IEnumSTATURL from the list below, so the program's own COM calls run
// unchanged. Create, use and destroy it on one thread, between CoInitialize and
// CoUninitialize.
//
//     FakeUrlHistory history{{L"about:blank", L""}, {L"http://example.com/", L"Example"}};
//     EraseHistory(dlg, false);
//     EXPECT_EQ(1, history.ClearHistoryCalls());
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class FakeUrlHistory {
public:
    struct Entry {
        std::wstring url;
        std::wstring title;  // empty: the record's title pointer is null
    };
    // What the objects serve and count. A failing call answers its result instead of
    // doing its work; the Next call that would return record nextIndex fails once.
    struct State {
        std::vector<Entry> entries;
        int clearHistoryCalls = 0;
        int liveObjects = 0;              // stores and enumerators not released yet
        bool recordsArrivedClean = true;  // every record reached Next zeroed, cbSize 40
        HRESULT create = S_OK, enumUrls = S_OK, reset = S_OK, clearHistory = S_OK, next = S_OK;
        size_t nextIndex = SIZE_MAX;
    };

    FakeUrlHistory(std::initializer_list<Entry> entries = {});
    // Revokes the registration. Objects still held keep working on the list.
    ~FakeUrlHistory() { Revoke(); }
    FakeUrlHistory(const FakeUrlHistory&) = delete;
    FakeUrlHistory& operator=(const FakeUrlHistory&) = delete;

    // What CoRegisterClassObject answered.
    HRESULT Registration() const { return registration_; }
    // From now on CoCreateInstance reaches Wine's own object again.
    void Revoke();

    void Serve(std::vector<Entry> entries) { state_->entries = std::move(entries); }
    std::vector<std::wstring> Urls() const;
    int ClearHistoryCalls() const { return state_->clearHistoryCalls; }
    int LiveObjects() const { return state_->liveObjects; }
    bool RecordsArrivedClean() const { return state_->recordsArrivedClean; }
    void FailCreation(HRESULT result) { state_->create = result; }
    void FailEnumUrls(HRESULT result) { state_->enumUrls = result; }
    void FailReset(HRESULT result) { state_->reset = result; }
    void FailClearHistory(HRESULT result) { state_->clearHistory = result; }
    void FailNextAt(size_t index, HRESULT result) {
        state_->nextIndex = index;
        state_->next = result;
    }

private:
    std::shared_ptr<State> state_;
    DWORD cookie_ = 0;
    HRESULT registration_ = E_FAIL;
};
