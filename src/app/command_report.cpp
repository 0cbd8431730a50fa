#include "app/command_report.h"

#include <cstdio>

// The product lets no exception out: the library's error paths become aborts, and none of
// them is reached by what is built here (objects and arrays only, no parsing, no at()).
#define JSON_NOEXCEPTION
#include <nlohmann/json.hpp>

#include "clean/folder_ops.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr char kVersion[] = CORVANE_VERSION_TEXT;
// 100-nanosecond ticks from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ull;
constexpr std::uint64_t kTicksPerSecond = 10000000ull;
constexpr int kStagingNames = 10;

Json CategoryJson(const CategoryReport& category, System& system) {
    Json failed = Json::array();
    for (const FailedItem& item : category.result.failed) {
        failed.push_back({{"item", system.AnsiToUtf8(item.item)}, {"error", item.error}});
    }
    const CategoryResult& result = category.result;
    return {{"name", category.name},
            {"selected", category.selected},
            {"items", result.items},
            {"kept", result.kept},
            {"bytes", result.bytes ? Json(*result.bytes) : Json(nullptr)},
            {"failed", failed}};
}

// A new file beside path, created so that it cannot be one that exists; its name, or empty
// with *error set.
std::string CreateBeside(const std::string& path, FileScope* file, WinError* error) {
    for (int i = 0; i < kStagingNames; ++i) {
        std::string staged = path + "~" + (i == 0 ? std::string() : std::to_string(i));
        *error = FitsMaxPath(staged) ? file->Open(staged, fileaccess::kWrite, fileshare::kNone,
                                                  filecreate::kCreateNew)
                                     : winerr::kInvalidParameter;
        if (*error == winerr::kSuccess) {
            return staged;
        }
        if (*error != winerr::kFileExists && *error != winerr::kAlreadyExists) {
            break;
        }
    }
    return {};
}

}  // namespace

std::string Iso8601(FileTime time) {
    std::uint64_t ticks = time.AsUint64();
    std::int64_t seconds =
        ticks >= kUnixEpochTicks
            ? static_cast<std::int64_t>((ticks - kUnixEpochTicks) / kTicksPerSecond)
            : 0;
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    // Days since 1970-01-01 to a civil date (proleptic Gregorian).
    std::int64_t z = days + 719468;
    std::int64_t era = z / 146097;
    std::int64_t dayOfEra = z - era * 146097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t mp = (5 * dayOfYear + 2) / 153;
    std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", static_cast<int>(year),
                  static_cast<int>(month), static_cast<int>(day), static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return text;
}

std::string CommandReportJson(const CommandRecord& record, System& system) {
    Json categories = Json::array();
    for (const CategoryReport& category : record.categories) {
        categories.push_back(CategoryJson(category, system));
    }
    std::uint64_t started = record.started.AsUint64();
    std::uint64_t ended = record.ended.AsUint64();
    double seconds = ended > started ? static_cast<double>(ended - started) / kTicksPerSecond : 0.0;
    Json report = {
        {"version", kVersion},
        {"os", record.osLine.empty() ? Json(nullptr) : Json(system.AnsiToUtf8(record.osLine))},
        {"command", record.command},
        {"started", Iso8601(record.started)},
        {"seconds", seconds},
        {"exit", record.exitStatus},
        {"categories", categories},
    };
    return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

WinError WriteFileWhole(Files& files, const std::string& path, const std::string& bytes) {
    FileScope file(files);
    WinError error = winerr::kSuccess;
    std::string staged = CreateBeside(path, &file, &error);
    if (staged.empty()) {
        return error;
    }
    std::uint32_t written = 0;
    error =
        files.Write(file.Get(), bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written);
    if (error == winerr::kSuccess && written != bytes.size()) {
        error = winerr::kDiskFull;
    }
    file.Close();
    FindData existing;
    if (error == winerr::kSuccess && FindEntry(files, path, &existing)) {
        error = files.RemoveFile(path);
    }
    if (error == winerr::kSuccess) {
        error = files.RenameFile(staged, path);
    }
    if (error != winerr::kSuccess) {
        (void)files.RemoveFile(staged);
    }
    return error;
}
