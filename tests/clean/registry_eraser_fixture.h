// Shared set-up of the registry erasers' tests: an EraserDlg on the in-memory
// platform, registry values written and read back by path, and the log as texts.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/eraser_dlg.h"
#include "clean/erasers.h"
#include "log_lines.h"
#include "platform/memory/memory_platform.h"

class RegistryEraser : public ::testing::Test {
protected:
    // Stores exactly the bytes of data (a terminator only when the data holds one): the
    // byte after them is not NUL, so the registry adds none of its own.
    void Put(const std::string& path, const std::string& name, const std::string& data) {
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess, key.Create(regroot::kCurrentUser, path, regaccess::kAllAccess));
        std::string unterminated = data + 'X';
        ASSERT_EQ(winerr::kSuccess,
                  mem.registry.SetValue(key.Get(), name, regtype::kSz, unterminated.data(),
                                        static_cast<std::uint32_t>(data.size())));
    }
    void PutText(const std::string& path, const std::string& name, const std::string& text) {
        Put(path, name, text + '\0');
    }
    void PutKey(const std::string& path) {
        RegKey key(mem.registry);
        ASSERT_EQ(winerr::kSuccess, key.Create(regroot::kCurrentUser, path, regaccess::kAllAccess));
    }
    bool HasKey(const std::string& path) {
        RegKey key(mem.registry);
        return key.Open(regroot::kCurrentUser, path, regaccess::kRead) == winerr::kSuccess;
    }
    // The raw data of a value, or "(none)".
    std::string Get(const std::string& path, const std::string& name) {
        RegKey key(mem.registry);
        if (key.Open(regroot::kCurrentUser, path, regaccess::kRead) != winerr::kSuccess) {
            return "(none)";
        }
        std::string data(4096, '\0');
        std::uint32_t size = static_cast<std::uint32_t>(data.size());
        if (mem.registry.QueryValue(key.Get(), name, nullptr, data.data(), &size) !=
            winerr::kSuccess) {
            return "(none)";
        }
        data.resize(size);
        return data;
    }
    // The log; emphasised lines start with "**".
    Lines Log() const { return LogLines(dlg.log); }

    MemoryPlatform mem;
    EraserDlg dlg{mem.platform};
};
