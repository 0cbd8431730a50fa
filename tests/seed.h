// A machine on the in-memory platform, seeded a line per item and read back in the same
// form, so that a test states what is there before a command and what must be there after:
//
//   folder C:\a\b                     a folder, with the folders on its way
//   file C:\a\b.txt = text            a file; "readonly" instead of "file": read-only
//   key HKCU\Software\X               an empty registry key (roots HKCU, HKLM, HKCR)
//   value HKCU\Software\X|name = data a REG_SZ value stored with its terminator
//   raw HKCU\Software\X|name = 1:da\0ta a value of that type holding exactly these bytes
//                                     ("\0" a NUL), no terminator added
//   cache URL                         a URL-cache entry; "Cookie:" and "Visited:" URLs get
//                                     their container's type bit; "cache URL = 5000":
//                                     with 5000 bytes of header; "cache URL = C:\f": its
//                                     local file is C:\f
//   history URL                       a record of the URL history object
//   bin 5000                          an item of 5000 bytes in the recycle bin
//
// State() lists the files below C:, the registry keys that hold nothing and every value
// (other types as "raw KEY|name = type:bytes"), the cache entries and the history records,
// each in the order the platform enumerates them, and the recycle bin's items; a key
// that cannot be read shows as "locked KEY".
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "log_lines.h"
#include "platform/memory/memory_platform.h"

namespace seed {

constexpr std::pair<const char*, HKey> kRoots[] = {{"HKCU", regroot::kCurrentUser},
                                                   {"HKLM", regroot::kLocalMachine},
                                                   {"HKCR", regroot::kClassesRoot}};

// What comes before the first mark and what after it (all of it and nothing without one).
inline std::pair<std::string, std::string> Split(const std::string& text, const char* mark) {
    size_t at = text.find(mark);
    return {text.substr(0, at), at == std::string::npos ? "" : text.substr(at + strlen(mark))};
}

// text with every `from` replaced by `to`.
inline std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The key of "ROOT\path|name" and, with a name, the value holding exactly data.
inline void PutValue(Registry& registry, const std::string& where, std::uint32_t type,
                     std::string data) {
    auto [path, name] = Split(where, "|");
    auto [root, subKey] = Split(path, "\\");
    auto known = std::find_if(std::begin(kRoots), std::end(kRoots),
                              [&root = root](const auto& r) { return root == r.first; });
    ASSERT_NE(std::end(kRoots), known) << "no registry root in " << where;
    RegKey key(registry);
    ASSERT_EQ(winerr::kSuccess, key.Create(known->second, subKey, regaccess::kAllAccess));
    data += 'X';  // a byte after the data that is no terminator
    if (where.find('|') != std::string::npos) {
        ASSERT_EQ(winerr::kSuccess, registry.SetValue(key.Get(), name, type, data.data(),
                                                      static_cast<std::uint32_t>(data.size() - 1)));
    }
}

inline void FilesBelow(MemoryFiles& files, const std::string& folder, Lines* out) {
    FindScope find(files);
    FindData entry;
    for (bool more = find.First(folder + "\\*.*", &entry); more; more = find.Next(&entry)) {
        std::string path = folder + "\\" + entry.name;
        bool readOnly = entry.attributes & fileattr::kReadOnly;
        if (entry.name == "." || entry.name == "..") {
        } else if (entry.attributes & fileattr::kDirectory) {
            out->push_back("folder " + path);
            FilesBelow(files, path, out);
        } else {
            out->push_back((readOnly ? "readonly " : "file ") + path + " = " + files.Content(path));
        }
    }
}

inline void KeysBelow(Registry& registry, HKey parent, const std::string& subKey,
                      const std::string& path, Lines* out) {
    RegKey key(registry);
    if (key.Open(parent, subKey, regaccess::kRead) != winerr::kSuccess) {
        return out->push_back("locked " + path);
    }
    size_t before = out->size();
    char name[1024];
    std::string data(70000, '\0');
    std::uint32_t nameSize = sizeof name, type = 0, size = 70000;
    for (std::uint32_t i = 0; registry.EnumValue(key.Get(), i, name, &nameSize, &type, data.data(),
                                                 &size) == winerr::kSuccess;
         ++i, nameSize = sizeof name, size = 70000) {
        std::string bytes = data.substr(0, size), where = path + "|" + name;
        bool text = type == regtype::kSz && !bytes.empty() && bytes.find('\0') == size - 1;
        out->push_back(text ? "value " + where + " = " + bytes.substr(0, size - 1)
                            : "raw " + where + " = " + std::to_string(type) + ":" +
                                  Replace(bytes, std::string(1, '\0'), "\\0"));
    }
    for (std::uint32_t i = 0; registry.EnumKey(key.Get(), i, name, &nameSize) == winerr::kSuccess;
         ++i, nameSize = sizeof name) {
        KeysBelow(registry, key.Get(), name, path + "\\" + name, out);
    }
    if (out->size() == before && !subKey.empty()) {
        out->push_back("key " + path);
    }
}

}  // namespace seed

inline void Seed(MemoryPlatform& mem, const Lines& lines) {
    for (const std::string& line : lines) {
        auto [kind, rest] = seed::Split(line, " ");
        auto [where, data] = seed::Split(rest, " = ");
        if (kind == "folder") {
            mem.files.AddFolder(where);
        } else if (kind == "file" || kind == "readonly") {
            mem.files.AddFile(where, data,
                              kind == "file" ? fileattr::kArchive : fileattr::kReadOnly);
        } else if (kind == "key" || kind == "value") {
            seed::PutValue(mem.registry, where, regtype::kSz, data + '\0');
        } else if (kind == "raw") {
            auto [type, bytes] = seed::Split(data, ":");
            seed::PutValue(mem.registry, where, static_cast<std::uint32_t>(std::stoul(type)),
                           seed::Replace(bytes, "\\0", std::string(1, '\0')));
        } else if (kind == "cache") {
            MemoryUrlCache::Entry entry;
            entry.url = where;
            bool file = !data.empty() && !std::isdigit(static_cast<unsigned char>(data[0]));
            entry.headerInfo.assign(data.empty() || file ? 0 : std::stoul(data), 'h');
            entry.localFileName = file ? data : "";
            ASSERT_EQ(winerr::kSuccess, mem.urlCache.Commit(entry));
        } else if (kind == "history") {
            mem.urlHistory.entries.push_back({where, data});
        } else if (kind == "bin") {
            mem.shell.recycleBin.push_back(std::stoll(where));
        } else {
            ADD_FAILURE() << "unknown seed line: " << line;
        }
    }
}

inline Lines State(MemoryPlatform& mem) {
    Lines out;
    seed::FilesBelow(mem.files, "C:", &out);
    for (const auto& [name, key] : seed::kRoots) {
        seed::KeysBelow(mem.registry, key, "", name, &out);
    }
    std::vector<char> block(70000);
    auto* entry = reinterpret_cast<UrlCacheEntryInfo*>(block.data());
    UrlCacheFind find(mem.urlCache);
    std::uint32_t size = 70000;
    for (WinError e = find.First(entry, &size); e == winerr::kSuccess;
         size = 70000, e = find.Next(entry, &size)) {
        out.push_back(std::string("cache ") + entry->sourceUrlName);
    }
    for (const HistoryUrl& record : mem.urlHistory.entries) {
        out.push_back("history " + record.url);
    }
    for (std::int64_t size : mem.shell.recycleBin) {
        out.push_back("bin " + std::to_string(size));
    }
    return out;
}

// The lines of `all` that are not in `gone`, in their order.
inline Lines Without(const Lines& all, const Lines& gone) {
    Lines out;
    for (const std::string& line : all) {
        out.insert(out.end(), std::find(gone.begin(), gone.end(), line) == gone.end(), line);
    }
    return out;
}
