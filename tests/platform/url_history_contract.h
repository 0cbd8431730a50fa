// Behaviour that every UrlHistory implementation shares with the URL history object. The
// suite is instantiated for the in-memory double (natively) and for the COM calls (under
// Wine, against a stand-in object registered for CLSID_CUrlHistory); where the two
// disagree, the double is wrong.
//
// The type parameter is an environment that owns the history and the object behind it:
//   UrlHistory& history();
//   void Serve(std::vector<HistoryUrl> records);  // what the object holds, in GBK
//   std::vector<std::string> RemainingUrls();     // what it holds now
//   int ClearHistoryCalls();
//   int LiveObjects();                            // stores and enumerations not released
//   void FailCreation(HResult), FailEnumUrls(HResult), FailReset(HResult),
//        FailClearHistory(HResult);               // every such call fails from now on
//   void FailNextAt(size_t index, HResult);       // once: the Next that would return index
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/url_history.h"

inline bool operator==(const HistoryUrl& a, const HistoryUrl& b) {
    return a.url == b.url && a.title == b.title;
}
inline void PrintTo(const HistoryUrl& h, std::ostream* os) {
    *os << "{" << h.url << ", " << h.title << "}";
}

template <typename Env>
class UrlHistoryContract : public ::testing::Test {
protected:
    // "about:blank" is an ordinary record to the object; only the listings skip it.
    static std::vector<HistoryUrl> Records() {
        return {{"about:blank", ""},
                {"http://www.example.com/", "Example"},
                {"http://例子.测试/历史.html", "历史记录"}};
    }

    std::unique_ptr<UrlHistoryStore> Create(UrlHistoryInterface which) {
        std::unique_ptr<UrlHistoryStore> store;
        EXPECT_EQ(hresult::kOk, env.history().Create(which, &store));
        EXPECT_NE(nullptr, store);
        return store;
    }
    std::unique_ptr<UrlHistoryEnum> Enumerate(UrlHistoryStore& store) {
        std::unique_ptr<UrlHistoryEnum> items;
        EXPECT_EQ(hresult::kOk, store.EnumUrls(&items));
        EXPECT_NE(nullptr, items);
        if (items != nullptr) {
            EXPECT_EQ(hresult::kOk, items->Reset());
        }
        return items;
    }
    // Every record up to the first answer that is not kOk, which lands in *end.
    static std::vector<HistoryUrl> ReadAll(UrlHistoryEnum& items, HResult* end) {
        std::vector<HistoryUrl> read;
        HistoryUrl record;
        while ((*end = items.Next(&record)) == hresult::kOk) {
            read.push_back(record);
        }
        return read;
    }

    Env env;
};

TYPED_TEST_SUITE_P(UrlHistoryContract);

TYPED_TEST_P(UrlHistoryContract, ListsEveryRecordInOrderThenNoMore) {
    this->env.Serve(this->Records());
    auto store = this->Create(UrlHistoryInterface::kStg);
    ASSERT_NE(nullptr, store);
    auto items = this->Enumerate(*store);
    ASSERT_NE(nullptr, items);
    HResult end = hresult::kOk;
    EXPECT_EQ(this->Records(), this->ReadAll(*items, &end));
    EXPECT_EQ(hresult::kFalse, end);
    HistoryUrl untouched{"untouched", "untouched"};
    EXPECT_EQ(hresult::kFalse, items->Next(&untouched));
    EXPECT_EQ("untouched", untouched.url);
}

TYPED_TEST_P(UrlHistoryContract, ClearHistoryEmptiesTheObject) {
    for (UrlHistoryInterface which : {UrlHistoryInterface::kStg2, UrlHistoryInterface::kStg}) {
        this->env.Serve(this->Records());
        auto store = this->Create(which);
        ASSERT_NE(nullptr, store);
        EXPECT_EQ(hresult::kOk, store->ClearHistory());
        EXPECT_TRUE(this->env.RemainingUrls().empty());
        auto items = this->Enumerate(*store);
        ASSERT_NE(nullptr, items);
        HistoryUrl record;
        EXPECT_EQ(hresult::kFalse, items->Next(&record));
    }
    EXPECT_EQ(2, this->env.ClearHistoryCalls());
}

TYPED_TEST_P(UrlHistoryContract, FailedCreationIsReportedAndGivesNothing) {
    this->env.Serve(this->Records());
    this->env.FailCreation(hresult::kClassNotAvailable);
    for (UrlHistoryInterface which : {UrlHistoryInterface::kStg, UrlHistoryInterface::kStg2}) {
        std::unique_ptr<UrlHistoryStore> store;
        EXPECT_EQ(hresult::kClassNotAvailable, this->env.history().Create(which, &store));
        EXPECT_EQ(nullptr, store);
    }
    EXPECT_EQ(0, this->env.ClearHistoryCalls());
    EXPECT_EQ(3u, this->env.RemainingUrls().size());
}

TYPED_TEST_P(UrlHistoryContract, FailedEnumerationStepsAreReported) {
    this->env.Serve(this->Records());
    auto store = this->Create(UrlHistoryInterface::kStg);
    ASSERT_NE(nullptr, store);

    this->env.FailReset(hresult::kFail);
    std::unique_ptr<UrlHistoryEnum> items;
    ASSERT_EQ(hresult::kOk, store->EnumUrls(&items));
    EXPECT_EQ(hresult::kFail, items->Reset());

    this->env.FailEnumUrls(hresult::kOutOfMemory);
    std::unique_ptr<UrlHistoryEnum> none;
    EXPECT_EQ(hresult::kOutOfMemory, store->EnumUrls(&none));
    EXPECT_EQ(nullptr, none);

    this->env.FailClearHistory(hresult::kNotImpl);
    EXPECT_EQ(hresult::kNotImpl, store->ClearHistory());
    EXPECT_EQ(3u, this->env.RemainingUrls().size());
}

TYPED_TEST_P(UrlHistoryContract, FailedNextLeavesTheRecordAlone) {
    this->env.Serve(this->Records());
    this->env.FailNextAt(1, hresult::kFail);
    auto store = this->Create(UrlHistoryInterface::kStg);
    ASSERT_NE(nullptr, store);
    auto items = this->Enumerate(*store);
    ASSERT_NE(nullptr, items);
    HistoryUrl record;
    ASSERT_EQ(hresult::kOk, items->Next(&record));
    EXPECT_EQ(hresult::kFail, items->Next(&record));
    EXPECT_EQ("about:blank", record.url);
}

// A listing stops between two records by dropping its enumeration: everything is
// released and nothing is taken from the history.
TYPED_TEST_P(UrlHistoryContract, StoppedListingReleasesEverything) {
    this->env.Serve(this->Records());
    {
        auto store = this->Create(UrlHistoryInterface::kStg);
        ASSERT_NE(nullptr, store);
        auto items = this->Enumerate(*store);
        ASSERT_NE(nullptr, items);
        EXPECT_EQ(2, this->env.LiveObjects());
        HistoryUrl record;
        ASSERT_EQ(hresult::kOk, items->Next(&record));
        store.reset();  // the enumeration outlives its store
        ASSERT_EQ(hresult::kOk, items->Next(&record));
        EXPECT_EQ("http://www.example.com/", record.url);
    }
    EXPECT_EQ(0, this->env.LiveObjects());
    EXPECT_EQ(3u, this->env.RemainingUrls().size());
}

REGISTER_TYPED_TEST_SUITE_P(UrlHistoryContract, ListsEveryRecordInOrderThenNoMore,
                            ClearHistoryEmptiesTheObject, FailedCreationIsReportedAndGivesNothing,
                            FailedEnumerationStepsAreReported, FailedNextLeavesTheRecordAlone,
                            StoppedListingReleasesEverything);
