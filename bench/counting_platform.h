// The real platform with a count and a clock on every call of the parts a Clear or a
// Test spends its time in (files, the URL cache, the message pump, the environment),
// for the benchmark's profile: which calls a run makes, how many, and what they cost.
// The other parts are passed through untouched.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/win32_platform.h"

class CallProfile {
public:
    struct Row {
        const char* name;
        std::int64_t calls = 0;
        std::int64_t ticks = 0;
        std::int64_t failed = 0;  // of the calls answering with a Windows error
    };

    // The row of one call, made on its first use; rows keep the order of first use.
    Row& Of(const char* name) {
        for (Row& row : rows_) {
            if (std::strcmp(row.name, name) == 0) {
                return row;
            }
        }
        rows_.push_back(Row{name});
        return rows_.back();
    }

    template <typename Call>
    auto Time(const char* name, Call call) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
            Add(name, start);
        } else {
            auto result = call();
            Row& row = Add(name, start);
            if constexpr (std::is_same_v<decltype(result), WinError>) {
                row.failed += result != winerr::kSuccess;
            }
            return result;
        }
    }

    // One line a call: calls, seconds in all, microseconds a call and the share of
    // `total` seconds.
    void Print(const char* title, double total) const {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        std::printf("| %s | calls | failed | s | us/call | share |\n|---|---|---|---|---|---|\n",
                    title);
        double counted = 0;
        for (const Row& row : rows_) {
            double seconds = double(row.ticks) / double(frequency.QuadPart);
            counted += seconds;
            std::printf("| %s | %lld | %lld | %.3f | %.1f | %.0f %% |\n", row.name,
                        static_cast<long long>(row.calls), static_cast<long long>(row.failed), seconds,
                        row.calls != 0 ? seconds * 1e6 / double(row.calls) : 0.0,
                        total > 0 ? 100 * seconds / total : 0.0);
        }
        std::printf("| (outside the platform) | | | %.3f | | %.0f %% |\n", total - counted,
                    total > 0 ? 100 * (total - counted) / total : 0.0);
    }

private:
    Row& Add(const char* name, LARGE_INTEGER start) {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        Row& row = Of(name);
        ++row.calls;
        row.ticks += end.QuadPart - start.QuadPart;
        return row;
    }

    std::vector<Row> rows_;
};

class CountingFiles : public Files {
public:
    CountingFiles(Files& real, CallProfile& profile) : real_(real), p_(profile) {}
    WinError FindFirst(const std::string& pattern, FindHandle* handle, FindData* entry) override {
        return p_.Time("FindFirstFileA", [&] { return real_.FindFirst(pattern, handle, entry); });
    }
    WinError FindNext(FindHandle handle, FindData* entry) override {
        return p_.Time("FindNextFileA", [&] { return real_.FindNext(handle, entry); });
    }
    WinError EndFind(FindHandle handle) override {
        return p_.Time("FindClose", [&] { return real_.EndFind(handle); });
    }
    WinError RemoveFile(const std::string& path) override {
        return p_.Time("DeleteFileA", [&] { return real_.RemoveFile(path); });
    }
    WinError RenameFile(const std::string& from, const std::string& to) override {
        return p_.Time("MoveFileA", [&] { return real_.RenameFile(from, to); });
    }
    WinError GetAttributes(const std::string& path, std::uint32_t* attributes) override {
        return p_.Time("GetFileAttributesA", [&] { return real_.GetAttributes(path, attributes); });
    }
    WinError SetAttributes(const std::string& path, std::uint32_t attributes) override {
        return p_.Time("SetFileAttributesA", [&] { return real_.SetAttributes(path, attributes); });
    }
    WinError SetSecurity(const std::string& path, const void* descriptor,
                         std::uint32_t size) override {
        return p_.Time("SetFileSecurityA",
                       [&] { return real_.SetSecurity(path, descriptor, size); });
    }
    WinError MakeFolder(const std::string& path) override {
        return p_.Time("CreateDirectoryA", [&] { return real_.MakeFolder(path); });
    }
    WinError RemoveFolder(const std::string& path) override {
        return p_.Time("RemoveDirectoryA", [&] { return real_.RemoveFolder(path); });
    }
    WinError Open(const std::string& path, std::uint32_t access, std::uint32_t share,
                  std::uint32_t disposition, std::uint32_t attributes, FileHandle* out) override {
        return p_.Time("CreateFileA", [&] {
            return real_.Open(path, access, share, disposition, attributes, out);
        });
    }
    WinError Read(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* done) override {
        return p_.Time("ReadFile", [&] { return real_.Read(file, buffer, size, done); });
    }
    WinError Write(FileHandle file, const void* data, std::uint32_t size,
                   std::uint32_t* done) override {
        return p_.Time("WriteFile", [&] { return real_.Write(file, data, size, done); });
    }
    WinError Seek(FileHandle file, std::int64_t distance, std::uint32_t method,
                  std::uint64_t* newPosition) override {
        return p_.Time("SetFilePointer",
                       [&] { return real_.Seek(file, distance, method, newPosition); });
    }
    WinError GetSize(FileHandle file, std::uint64_t* size) override {
        return p_.Time("GetFileSize", [&] { return real_.GetSize(file, size); });
    }
    WinError Close(FileHandle file) override {
        return p_.Time("CloseHandle", [&] { return real_.Close(file); });
    }

private:
    Files& real_;
    CallProfile& p_;
};

class CountingUrlCache : public UrlCache {
public:
    CountingUrlCache(UrlCache& real, CallProfile& profile) : real_(real), p_(profile) {}
    WinError FindFirstEntry(UrlCacheEntryInfo* entry, std::uint32_t* size,
                            UrlCacheFindHandle* find) override {
        return p_.Time("FindFirstUrlCacheEntryA",
                       [&] { return real_.FindFirstEntry(entry, size, find); });
    }
    WinError FindNextEntry(UrlCacheFindHandle find, UrlCacheEntryInfo* entry,
                           std::uint32_t* size) override {
        return p_.Time("FindNextUrlCacheEntryA",
                       [&] { return real_.FindNextEntry(find, entry, size); });
    }
    WinError CloseFind(UrlCacheFindHandle find) override {
        return p_.Time("FindCloseUrlCache", [&] { return real_.CloseFind(find); });
    }
    WinError GetEntryInfo(const std::string& url, UrlCacheEntryInfo* entry,
                          std::uint32_t* size) override {
        return p_.Time("GetUrlCacheEntryInfoA",
                       [&] { return real_.GetEntryInfo(url, entry, size); });
    }
    WinError DeleteEntry(const std::string& url) override {
        return p_.Time("DeleteUrlCacheEntryA", [&] { return real_.DeleteEntry(url); });
    }

private:
    UrlCache& real_;
    CallProfile& p_;
};

class CountingSystem : public System {
public:
    CountingSystem(System& real, CallProfile& profile) : real_(real), p_(profile) {}
    bool QueryVersion(OsVersionInfo* out) override {
        return p_.Time("GetVersionExA", [&] { return real_.QueryVersion(out); });
    }
    void PumpMessages() override {
        p_.Time("PeekMessageA loop", [&] { real_.PumpMessages(); });
    }
    void PumpMessagesWhile(const bool& goOn) override {
        p_.Time("PeekMessageA loop (busy)", [&] { real_.PumpMessagesWhile(goOn); });
    }
    void Pause(std::uint32_t milliseconds) override {
        p_.Time("Sleep", [&] { real_.Pause(milliseconds); });
    }
    std::uint32_t ModuleFileName(char* buffer, std::uint32_t size) override {
        return p_.Time("GetModuleFileNameA", [&] { return real_.ModuleFileName(buffer, size); });
    }
    FileTime SystemTimeAsFileTime() override {
        return p_.Time("GetSystemTimeAsFileTime", [&] { return real_.SystemTimeAsFileTime(); });
    }
    std::string AnsiToUtf8(const std::string& ansi) override {
        return p_.Time("AnsiToUtf8", [&] { return real_.AnsiToUtf8(ansi); });
    }

private:
    System& real_;
    CallProfile& p_;
};

class CountingEnvironment : public Environment {
public:
    CountingEnvironment(Environment& real, CallProfile& profile) : real_(real), p_(profile) {}
    std::uint32_t GetVariable(const std::string& name, char* buffer, std::uint32_t size) override {
        return p_.Time("GetEnvironmentVariableA",
                       [&] { return real_.GetVariable(name, buffer, size); });
    }
    std::uint32_t TempPath(char* buffer, std::uint32_t size) override {
        return p_.Time("GetTempPathA", [&] { return real_.TempPath(buffer, size); });
    }

private:
    Environment& real_;
    CallProfile& p_;
};

// The Win32 platform seen through the counters above.
struct CountingPlatform {
    explicit CountingPlatform(Win32Platform& real)
        : files(real.files, profile),
          urlCache(real.urlCache, profile),
          system(real.system, profile),
          environment(real.environment, profile),
          platform{real.registry, system, urlCache,    real.urlHistory, real.windows, real.accounts,
                   real.security, files,  environment, real.shell,      real.storage} {}

    CallProfile profile;
    CountingFiles files;
    CountingUrlCache urlCache;
    CountingSystem system;
    CountingEnvironment environment;
    Platform platform;
};
