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
//     EXPECT_TRUE(history.Urls().empty());
#pragma once

#include <windows.h>

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

    FakeUrlHistory() : FakeUrlHistory(std::vector<Entry>{}) {}
    FakeUrlHistory(std::initializer_list<Entry> entries)
        : FakeUrlHistory(std::vector<Entry>(entries)) {}
    explicit FakeUrlHistory(std::vector<Entry> entries);
    // Revokes the registration. Objects still held keep working on the list.
    ~FakeUrlHistory();
    FakeUrlHistory(const FakeUrlHistory&) = delete;
    FakeUrlHistory& operator=(const FakeUrlHistory&) = delete;

    // What CoRegisterClassObject answered.
    HRESULT Registration() const { return registration_; }
    // From now on CoCreateInstance reaches Wine's own object again.
    void Revoke();

    // Replaces the list the objects serve.
    void Serve(std::vector<Entry> entries);
    // The URLs the list holds now, in order.
    std::vector<std::wstring> Urls() const;
    int ClearHistoryCalls() const;
    // Stores and enumerators created and not released yet.
    int LiveObjects() const;
    // Whether every record handed to IEnumSTATURL::Next came zeroed, with cbSize 40.
    bool RecordsArrivedClean() const;

    // Faults: the calls named answer `result` instead of doing their work, until told
    // S_OK; FailNextAt fails once, the Next call that would return record `index`.
    void FailCreation(HRESULT result);
    void FailEnumUrls(HRESULT result);
    void FailReset(HRESULT result);
    void FailClearHistory(HRESULT result);
    void FailNextAt(size_t index, HRESULT result);

    struct State;

private:
    std::shared_ptr<State> state_;
    DWORD cookie_ = 0;
    HRESULT registration_ = E_FAIL;
};
