#include "platform/memory/memory_environment.h"

#include <cstring>

#include "platform/gbk.h"

namespace {

// The size rule of the ANSI calls: the length when text fits with its terminator, else
// the size needed.
std::uint32_t CopyOut(const std::string& text, char* buffer, std::uint32_t size) {
    std::uint32_t needed = static_cast<std::uint32_t>(text.size()) + 1;
    if (needed > size) {
        return needed;
    }
    std::memcpy(buffer, text.c_str(), needed);
    return needed - 1;
}

}  // namespace

bool MemoryEnvironment::NameLess::operator()(const std::string& a, const std::string& b) const {
    return GbkAsciiLower(a) < GbkAsciiLower(b);
}

MemoryEnvironment::MemoryEnvironment() {
    Set("TMP", "C:\\Documents and Settings\\user\\Local Settings\\Temp");
}

void MemoryEnvironment::Set(const std::string& name, const std::string& value) {
    if (value.empty()) {
        variables_.erase(name);
    } else {
        variables_[name] = value;
    }
}

std::uint32_t MemoryEnvironment::GetVariable(const std::string& name, char* buffer,
                                             std::uint32_t size) {
    if (faults.Check("Environment.GetVariable", name) != winerr::kSuccess) {
        return 0;
    }
    auto found = variables_.find(name);
    return found == variables_.end() ? 0 : CopyOut(found->second, buffer, size);
}

std::uint32_t MemoryEnvironment::TempPath(char* buffer, std::uint32_t size) {
    if (faults.Check("Environment.TempPath", "") != winerr::kSuccess) {
        return 0;
    }
    auto tmp = variables_.find("TMP");
    if (tmp == variables_.end()) {
        return 0;
    }
    std::string path = tmp->second;
    if (!GbkEndsWithSeparator(path)) {
        path += '\\';
    }
    return CopyOut(path, buffer, size);
}
