// What only the real cache shows: the local file goes with its entry, and a call's answer
// is its result, not the last-error value.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_url_cache.h"
#include "wine/url_test_support.h"

namespace {

// WinINet can leave ERROR_INSUFFICIENT_BUFFER as the last-error value of a call that
// succeeded: Wine does so for entries of the temporary Internet files that have a local
// file, even after SetLastError(0). A walk that read the value instead of the answer would
// grow its block and call again, which skips the entry (or, for the first one, leaks a find
// handle).
TEST(UrlCacheUnderWine, SuccessComesFromTheCallAndDeletionTakesTheFile) {
    const char page[] = "http://corvane-platform.test/page.htm";
    const std::string file = CommitTestEntryWithFile(page, "content");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    Win32UrlCache cache;
    UrlCacheEntryBuffer buffer;
    UrlCacheFind find(cache);
    WinError error = find.First(buffer.entry(), &buffer.size);
    while (error == winerr::kSuccess && std::string(buffer.entry()->sourceUrlName) != page) {
        buffer.size = buffer.capacity();
        error = find.Next(buffer.entry(), &buffer.size);
    }
    ASSERT_EQ(winerr::kSuccess, error);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(file, buffer.entry()->localFileName);
    EXPECT_EQ(winerr::kSuccess, cache.DeleteEntry(page));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
}

}  // namespace
