// What only the real platform shows: local files removed with their entries, results read
// from the calls rather than from the last-error value, the URL history object when no
// stand-in serves it or COM is missing, and the conversion of its wide texts.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <thread>

#include "platform/win32/win32_url_cache.h"
#include "platform/win32/win32_url_history.h"
#include "wine/fake_url_history.h"
#include "wine/url_test_support.h"

namespace {

constexpr char kPage[] = "http://corvane-platform.test/page.htm";

class UrlCacheUnderWine : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteUrlCacheEntryA(kPage);
        if (!file.empty()) {
            DeleteFileA(file.c_str());
        }
    }

    Win32UrlCache cache;
    std::string file;
};

TEST_F(UrlCacheUnderWine, DeleteRemovesTheLocalFile) {
    file = CommitTestEntryWithFile(kPage, "content");
    ASSERT_NE("", file);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    EXPECT_EQ(winerr::kSuccess, cache.DeleteEntry(kPage));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
}

// WinINet can leave ERROR_INSUFFICIENT_BUFFER as the last-error value of a call that
// succeeded: Wine does so for entries of the temporary Internet files that have a local
// file, even after SetLastError(0). A walk that read the value instead of the answer would
// grow its block and call again, which skips the entry (or, for the first one, leaks a find
// handle). The answer comes from the call's result.
TEST_F(UrlCacheUnderWine, SuccessComesFromTheCallNotTheLastError) {
    file = CommitTestEntryWithFile(kPage, "content");
    ASSERT_NE("", file);
    UrlCacheEntryBuffer buffer;
    UrlCacheFind find(cache);
    WinError error = find.First(buffer.entry(), &buffer.size);
    while (error == winerr::kSuccess && std::string(buffer.entry()->sourceUrlName) != kPage) {
        buffer.size = buffer.capacity();
        error = find.Next(buffer.entry(), &buffer.size);
    }
    ASSERT_EQ(winerr::kSuccess, error);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(file, buffer.entry()->localFileName);
}

class UrlHistoryUnderWine : public ::testing::Test {
protected:
    ComThread com;
    Win32UrlHistory history;
};

TEST_F(UrlHistoryUnderWine, RecordsReachNextZeroedWithSize40) {
    FakeUrlHistory fake{{L"http://a.test/", L"A"}, {L"http://b.test/", L""}};
    std::unique_ptr<UrlHistoryStore> store;
    ASSERT_EQ(hresult::kOk, history.Create(UrlHistoryInterface::kStg, &store));
    std::unique_ptr<UrlHistoryEnum> items;
    ASSERT_EQ(hresult::kOk, store->EnumUrls(&items));
    HistoryUrl record;
    while (items->Next(&record) == hresult::kOk) {
    }
    EXPECT_TRUE(fake.RecordsArrivedClean());
}

TEST_F(UrlHistoryUnderWine, WideTextsBecomeAnsiWithQuestionMarksForTheRest) {
    FakeUrlHistory fake{{L"http://\x4f8b\x5b50.test/\x0e01", L""}};  // 例子, then a Thai letter
    std::unique_ptr<UrlHistoryStore> store;
    ASSERT_EQ(hresult::kOk, history.Create(UrlHistoryInterface::kStg, &store));
    std::unique_ptr<UrlHistoryEnum> items;
    ASSERT_EQ(hresult::kOk, store->EnumUrls(&items));
    HistoryUrl record{"", "untouched"};
    ASSERT_EQ(hresult::kOk, items->Next(&record));
    EXPECT_EQ("http://例子.test/?", record.url);
    EXPECT_EQ("", record.title);  // a null title
}

// Without the stand-in, CoCreateInstance reaches Wine's own object: it is created, but it
// can neither list nor clear the history.
TEST_F(UrlHistoryUnderWine, RevokedStandInLeavesWinesObjectThatCannotList) {
    FakeUrlHistory fake{{L"http://a.test/", L"A"}};
    ASSERT_EQ(S_OK, fake.Registration());
    fake.Revoke();
    std::unique_ptr<UrlHistoryStore> store;
    ASSERT_EQ(hresult::kOk, history.Create(UrlHistoryInterface::kStg2, &store));
    EXPECT_EQ(0, fake.LiveObjects());
    std::unique_ptr<UrlHistoryEnum> items;
    EXPECT_EQ(hresult::kNotImpl, store->EnumUrls(&items));
    EXPECT_EQ(nullptr, items);
    EXPECT_EQ(hresult::kNotImpl, store->ClearHistory());
    EXPECT_EQ(1u, fake.Urls().size());
}

TEST_F(UrlHistoryUnderWine, NoObjectOnAThreadWithoutCom) {
    FakeUrlHistory fake{{L"http://a.test/", L"A"}};
    HResult result = hresult::kOk;
    bool created = true;
    std::thread([&] {
        std::unique_ptr<UrlHistoryStore> store;
        result = Win32UrlHistory().Create(UrlHistoryInterface::kStg, &store);
        created = store != nullptr;
    }).join();
    EXPECT_EQ(hresult::kNotInitialized, result);
    EXPECT_FALSE(created);
}

}  // namespace
