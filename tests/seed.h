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
//                                     with 5000 bytes of header
//   history URL                       a record of the URL history object
//
// State() lists the files below C:, the registry keys that hold nothing and every value
// (other types as "raw KEY|name = type:bytes"), the cache entries and the history records,
// each in the order the platform enumerates them.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "log_lines.h"
#include "platform/memory/memory_platform.h"

namespace seed {

struct Root {
    const char* name;
    HKey key;
};
constexpr Root kRoots[] = {{"HKCU", regroot::kCurrentUser},
                           {"HKLM", regroot::kLocalMachine},
                           {"HKCR", regroot::kClassesRoot}};

inline void SplitAt(const std::string& text, const std::string& mark, std::string* head,
                    std::string* tail) {
    size_t at = text.find(mark);
    *head = text.substr(0, at);
    *tail = at == std::string::npos ? "" : text.substr(at + mark.size());
}

inline HKey RootOf(const std::string& path, std::string* rest) {
    for (const Root& root : kRoots) {
        std::string prefix = std::string(root.name) + "\\";
        if (path.compare(0, prefix.size(), prefix) == 0) {
            *rest = path.substr(prefix.size());
            return root.key;
        }
    }
    ADD_FAILURE() << "no registry root in " << path;
    return HKey{};
}

inline void PutValue(Registry& registry, const std::string& where, const std::string& data,
                     std::uint32_t type = regtype::kSz) {
    std::string keyPath, name, subKey;
    SplitAt(where, "|", &keyPath, &name);
    RegKey key(registry);
    ASSERT_EQ(winerr::kSuccess,
              key.Create(RootOf(keyPath, &subKey), subKey, regaccess::kAllAccess));
    if (where.find('|') != std::string::npos) {
        std::string guarded = data + 'X';  // a byte after the data that is no terminator
        ASSERT_EQ(winerr::kSuccess, registry.SetValue(key.Get(), name, type, guarded.data(),
                                                      static_cast<std::uint32_t>(data.size())));
    }
}

// "TYPE:BYTES" of a raw line: the type and the bytes, "\0" standing for a NUL.
inline void PutRaw(Registry& registry, const std::string& where, const std::string& data) {
    std::string type, shown, bytes;
    SplitAt(data, ":", &type, &shown);
    for (size_t i = 0; i < shown.size(); ++i) {
        bool nul = shown.compare(i, 2, "\\0") == 0;
        bytes += nul ? '\0' : shown[i];
        i += nul ? 1 : 0;
    }
    PutValue(registry, where, bytes, static_cast<std::uint32_t>(std::stoul(type)));
}

inline void SeedLine(MemoryPlatform& mem, const std::string& line) {
    std::string kind, rest, where, data;
    SplitAt(line, " ", &kind, &rest);
    SplitAt(rest, " = ", &where, &data);
    if (kind == "folder") {
        mem.files.AddFolder(where);
    } else if (kind == "file" || kind == "readonly") {
        mem.files.AddFile(where, data, kind == "file" ? fileattr::kArchive : fileattr::kReadOnly);
    } else if (kind == "key" || kind == "value") {
        PutValue(mem.registry, where, data + '\0');
    } else if (kind == "raw") {
        PutRaw(mem.registry, where, data);
    } else if (kind == "cache") {
        MemoryUrlCache::Entry entry;
        entry.url = where;
        entry.headerInfo.assign(data.empty() ? 0 : std::stoul(data), 'h');
        ASSERT_EQ(winerr::kSuccess, mem.urlCache.Commit(entry));
    } else if (kind == "history") {
        mem.urlHistory.entries.push_back({where, data});
    } else {
        ADD_FAILURE() << "unknown seed line: " << line;
    }
}

inline void FilesBelow(MemoryFiles& files, const std::string& folder, Lines* out) {
    FindHandle handle;
    FindData entry;
    if (files.FindFirst(folder + "\\*.*", &handle, &entry) != winerr::kSuccess) {
        return;
    }
    do {
        std::string path = folder + "\\" + entry.name;
        if (entry.name == "." || entry.name == "..") {
            continue;
        }
        if (entry.attributes & fileattr::kDirectory) {
            out->push_back("folder " + path);
            FilesBelow(files, path, out);
        } else {
            bool readOnly = entry.attributes & fileattr::kReadOnly;
            out->push_back((readOnly ? "readonly " : "file ") + path + " = " + files.Content(path));
        }
    } while (files.FindNext(handle, &entry) == winerr::kSuccess);
    files.EndFind(handle);
}

inline std::string ValueLine(const std::string& where, std::uint32_t type,
                             const std::string& data) {
    bool text = type == regtype::kSz && !data.empty() && data.find('\0') == data.size() - 1;
    if (text) {
        return "value " + where + " = " + data.substr(0, data.size() - 1);
    }
    std::string shown;
    for (char c : data) {
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    return "raw " + where + " = " + std::to_string(type) + ":" + shown;
}

inline void KeysBelow(Registry& registry, HKey parent, const std::string& subKey,
                      const std::string& path, Lines* out) {
    RegKey key(registry);
    if (key.Open(parent, subKey, regaccess::kRead) != winerr::kSuccess) {
        out->push_back("locked " + path);
        return;
    }
    size_t before = out->size();
    char name[1024];
    std::string data(70000, '\0');
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t nameSize = sizeof name, type = 0;
        std::uint32_t dataSize = static_cast<std::uint32_t>(data.size());
        if (registry.EnumValue(key.Get(), i, name, &nameSize, &type, data.data(), &dataSize) !=
            winerr::kSuccess) {
            break;
        }
        out->push_back(ValueLine(path + "|" + name, type, data.substr(0, dataSize)));
    }
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t nameSize = sizeof name;
        if (registry.EnumKey(key.Get(), i, name, &nameSize) != winerr::kSuccess) {
            break;
        }
        KeysBelow(registry, key.Get(), name, path + "\\" + name, out);
    }
    if (out->size() == before && !subKey.empty()) {
        out->push_back("key " + path);
    }
}

inline void CacheEntries(UrlCache& cache, Lines* out) {
    std::vector<char> block(70000);
    auto* entry = reinterpret_cast<UrlCacheEntryInfo*>(block.data());
    std::uint32_t size = static_cast<std::uint32_t>(block.size());
    UrlCacheFindHandle find;
    if (cache.FindFirstEntry(entry, &size, &find) != winerr::kSuccess) {
        return;
    }
    do {
        out->push_back(std::string("cache ") + entry->sourceUrlName);
        size = static_cast<std::uint32_t>(block.size());
    } while (cache.FindNextEntry(find, entry, &size) == winerr::kSuccess);
    cache.CloseFind(find);
}

}  // namespace seed

inline void Seed(MemoryPlatform& mem, const Lines& lines) {
    for (const std::string& line : lines) {
        seed::SeedLine(mem, line);
    }
}

inline Lines State(MemoryPlatform& mem) {
    Lines out;
    seed::FilesBelow(mem.files, "C:", &out);
    for (const seed::Root& root : seed::kRoots) {
        seed::KeysBelow(mem.registry, root.key, "", root.name, &out);
    }
    seed::CacheEntries(mem.urlCache, &out);
    for (const HistoryUrl& record : mem.urlHistory.entries) {
        out.push_back("history " + record.url);
    }
    return out;
}

// The lines of `all` that are not in `gone`, in their order.
inline Lines Without(Lines all, const Lines& gone) {
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&](const std::string& line) {
                                 return std::find(gone.begin(), gone.end(), line) != gone.end();
                             }),
              all.end());
    return all;
}

// The lines in any order, sorted.
inline Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// State `before` after a command that took the lines `gone` and put in `added` (a line
// changed is both), sorted: to compare with Sorted(State(mem)).
inline Lines Changed(const Lines& before, const Lines& gone, const Lines& added) {
    Lines after = Without(before, gone);
    after.insert(after.end(), added.begin(), added.end());
    return Sorted(after);
}
