// What the history erasers rely on of the URL history object, checked on the in-memory
// double (natively) and on the COM calls (under Wine, reaching a stand-in object
// registered for CLSID_CUrlHistory): where the two disagree, the double is wrong.
//
// The type parameter owns the history and the object behind it: history(); entries, what
// the object holds; clearHistoryCount, the ClearHistory calls that did their work;
// LiveObjects(), the stores and enumerations not released; Fail(call, result) makes every
// call "Create", "EnumUrls" or "ClearHistory" answer result from then on.
#pragma once

#include <memory>
#include <string>

#include "platform/rows.h"
#include "platform/url_history.h"

template <typename Env>
class UrlHistoryContract : public ::testing::Test {
protected:
    // The steps of a listing as the erasers take them, each answer in turn: creation,
    // EnumUrls, every record read, then the answer that ended the reading with the
    // record it left, and the objects alive at that point.
    std::string List(UrlHistoryInterface which) {
        std::unique_ptr<UrlHistoryStore> store;
        std::unique_ptr<UrlHistoryEnum> items;
        HResult answer = env.history().Create(which, &store);
        std::string out = Hex(answer) + (store ? "" : " none");
        if (answer != hresult::kOk || (answer = store->EnumUrls(&items)) != hresult::kOk) {
            return out + (store ? " " + Hex(answer) + (items ? "" : " none") : "");
        }
        EXPECT_EQ(hresult::kOk, items->Reset());
        HistoryUrl record{"untouched", "untouched"};
        while ((answer = items->Next(&record)) == hresult::kOk) {
            out += ", " + record.url + "|" + record.title;
        }
        return out + "; " + Hex(answer) + " " + record.url + " live " + Num(env.LiveObjects());
    }
    std::string Clear(UrlHistoryInterface which) {
        std::unique_ptr<UrlHistoryStore> store;
        HResult answer = env.history().Create(which, &store);
        return Hex(answer) + " " + Hex(store ? store->ClearHistory() : answer);
    }

    Env env;
};

TYPED_TEST_SUITE_P(UrlHistoryContract);

// "about:blank" is an ordinary record to the object; only the listings skip it. The counts
// are of the records left, the ClearHistory calls that cleared and the objects alive.
TYPED_TEST_P(UrlHistoryContract, ListsClearsAndReportsFailures) {
    const std::vector<HistoryUrl> records = {{"about:blank", ""},
                                             {"http://www.example.com/", "Example"},
                                             {"http://例子.测试/历史.html", "历史记录"}};
    const auto kStg = UrlHistoryInterface::kStg, kStg2 = UrlHistoryInterface::kStg2;
    auto& env = this->env;
    // clang-format off
    ExpectRows({
        {(env.entries = records, this->List(kStg)), "0, about:blank|, http://www.example.com/|Example, "
         "http://例子.测试/历史.html|历史记录; 1 http://例子.测试/历史.html live 2"},
        {this->Clear(kStg2), "0 0"},
        {this->List(kStg2), "0; 1 untouched live 2"},
        {(env.entries = records, this->Clear(kStg)), "0 0"},
        {Seq({Num(env.entries.size()), Num(env.clearHistoryCount), Num(env.LiveObjects())}), "0 2 0"},
        {(env.entries = records, env.Fail("EnumUrls", hresult::kOutOfMemory), this->List(kStg)), "0 8007000e none"},
        {(env.Fail("ClearHistory", hresult::kNotImpl), this->Clear(kStg)), "0 80004001"},
        {(env.Fail("Create", hresult::kClassNotAvailable), this->List(kStg)), "80040111 none"},
        {Seq({Num(env.entries.size()), Num(env.clearHistoryCount), Num(env.LiveObjects())}), "3 2 0"},
    });
    // clang-format on
}

REGISTER_TYPED_TEST_SUITE_P(UrlHistoryContract, ListsClearsAndReportsFailures);
