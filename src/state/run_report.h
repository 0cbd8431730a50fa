// What a command did, category by category, as the erasers and the snapshot items hand it
// back: the machine-readable counterpart of the activity log. The log stays the user's
// account; these counts are never read back from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An item a command meant to remove (or restore) and could not, with the Windows error
// (or HRESULT, as its unsigned bits) the platform gave.
struct FailedItem {
    std::string item;  // GBK, as the log names it
    std::uint32_t error = 0;
    bool operator==(const FailedItem& other) const {
        return item == other.item && error == other.error;
    }
};

// One category's outcome. items: what Test found, what Clear removed; bytes: what those
// items hold, known only where the platform tells sizes; failed: what Clear tried and could
// not remove.
struct CategoryResult {
    int items = 0;
    // Spared by the cookie keep list: cookie entries, and Mozilla's rewritten cookies.txt.
    int kept = 0;
    std::optional<std::uint64_t> bytes;
    std::vector<FailedItem> failed;

    // A result whose items have sizes (cache entries, files, the recycle bin).
    static CategoryResult Sized() {
        CategoryResult result;
        result.bytes = 0;
        return result;
    }
    void Count(std::uint64_t size) {
        ++items;
        bytes = bytes.value_or(0) + size;
    }
    void Fail(std::string item, std::uint32_t error) { failed.push_back({std::move(item), error}); }
    // Whether anything was found at all, removed or not.
    bool Any() const { return items > 0 || !failed.empty(); }
    // Adds another step's outcome to this category's; bytes stay known only while every
    // step's are.
    CategoryResult& operator+=(const CategoryResult& other) {
        items += other.items;
        kept += other.kept;
        bytes = bytes && other.bytes ? std::optional<std::uint64_t>(*bytes + *other.bytes)
                                     : std::nullopt;
        failed.insert(failed.end(), other.failed.begin(), other.failed.end());
        return *this;
    }
};

// A category of a run, or an item of Save state or Restore, under its report name.
struct CategoryReport {
    std::string name;
    bool selected = false;
    CategoryResult result;
};
