#include "clean/registry_values.h"

#include <vector>

#include "clean/registry_text.h"
#include "platform/gbk.h"

namespace {

// A value name has at most 16,383 characters.
constexpr std::uint32_t kLongestName = 16384;

WinError QueryData(Registry& registry, HKey key, std::uint32_t size, RegistryValue* out) {
    std::vector<char> data(size);
    WinError error = registry.QueryValue(key, out->name, nullptr, data.data(), &size);
    if (error == winerr::kSuccess) {
        out->data.assign(data.data(), size);
    }
    return error;
}

}  // namespace

WinError EnumValueWhole(Registry& registry, HKey key, std::uint32_t index, std::uint32_t capacity,
                        RegistryValue* out) {
    std::vector<char> name(capacity);
    std::vector<char> data(capacity);
    std::uint32_t nameSize = capacity;
    std::uint32_t dataSize = capacity;
    WinError error =
        registry.EnumValue(key, index, name.data(), &nameSize, nullptr, data.data(), &dataSize);
    if (error == winerr::kSuccess) {
        *out = {std::string(name.data(), nameSize), std::string(data.data(), dataSize), false};
        return error;
    }
    if (error != winerr::kMoreData) {
        return error;
    }
    // Again without data, for the whole name and the size of the data.
    name.resize(kLongestName);
    nameSize = kLongestName;
    dataSize = 0;
    error = registry.EnumValue(key, index, name.data(), &nameSize, nullptr, nullptr, &dataSize);
    if (error != winerr::kSuccess) {
        return error;
    }
    out->name.assign(name.data(), nameSize);
    error = QueryData(registry, key, dataSize, out);
    out->oversized = true;
    return error;
}

WinError QueryValueWhole(Registry& registry, HKey key, const std::string& name,
                         std::uint32_t capacity, RegistryValue* out) {
    out->name = name;
    out->oversized = false;
    WinError error = QueryData(registry, key, capacity, out);
    if (error != winerr::kMoreData) {
        return error;
    }
    std::uint32_t size = 0;
    error = registry.QueryValue(key, name, nullptr, nullptr, &size);
    if (error != winerr::kSuccess) {
        return error;
    }
    error = QueryData(registry, key, size, out);
    out->oversized = true;
    return error;
}

std::string ShownText(const RegistryValue& value, std::uint32_t capacity) {
    std::string text =
        RegistryText(value.data.data(), static_cast<std::uint32_t>(value.data.size()));
    if (!value.oversized || text.size() < capacity) {
        return text;
    }
    size_t end = 0;  // the end of the last whole character within capacity - 1 bytes
    for (size_t i = 0; i < text.size();) {
        size_t next = i + (IsGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1);
        if (next > capacity - 1 || next > text.size()) {
            break;
        }
        end = i = next;
    }
    return text.substr(0, end) + "...";
}
