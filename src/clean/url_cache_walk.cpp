#include "clean/url_cache_walk.h"

#include <cstring>

// Every call is judged by its own answer, never by the last-error value, which WinINet
// may leave stale behind a call that succeeded. kInsufficientBuffer grows the block to
// the size asked for and repeats the call once; a second one in a row is a failure like
// any other. The size variable travels from call to call as the cache left it (after a
// success, the bytes the record used), but never beyond the block.
template <typename Call>
WinError UrlCacheWalk::Grown(Call call) {
    WinError error = call();
    // A size below the record itself is no block to read a record into.
    if (error == winerr::kInsufficientBuffer && buffer_.size >= sizeof(UrlCacheEntryInfo)) {
        buffer_.Reallocate();
        error = call();
    }
    if (buffer_.size > buffer_.capacity()) {
        buffer_.size = buffer_.capacity();
    }
    return error;
}

bool UrlCacheWalk::First() {
    last_ = Grown([this] { return find_.First(buffer_.entry(), &buffer_.size); });
    return last_ == winerr::kSuccess;
}

bool UrlCacheWalk::Next() {
    last_ = Grown([this] { return find_.Next(buffer_.entry(), &buffer_.size); });
    return last_ == winerr::kSuccess;
}

bool UrlCacheWalk::EntryExists(const std::string& url) {
    return Take(url, /*testMode=*/true) == winerr::kSuccess;
}

WinError UrlCacheWalk::Take(const std::string& url, bool testMode) {
    if (!testMode) {
        return cache_.DeleteEntry(url);
    }
    return Grown([&] { return cache_.GetEntryInfo(url, buffer_.entry(), &buffer_.size); });
}

// A text is read only inside the block, up to its terminator; one that is not
// terminated there would be cut into another one, so it counts as none.
std::string UrlCacheWalk::TextInBlock(const char* text) {
    auto start = reinterpret_cast<std::uintptr_t>(buffer_.entry());
    auto name = reinterpret_cast<std::uintptr_t>(text);
    if (name < start + sizeof(UrlCacheEntryInfo) || name >= start + buffer_.capacity()) {
        return {};
    }
    size_t room = start + buffer_.capacity() - name;
    size_t length = strnlen(text, room);
    return length < room ? std::string(text, length) : std::string();
}
