// Reading registry values whose name or data may not fit the fixed buffers an eraser
// shows them with. A value an eraser deletes is always named in full (a name cut short
// would delete another value or none) and always gets a line.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

struct RegistryValue {
    std::string name;
    std::string data;        // as the registry returned it, terminator included when stored
    bool oversized = false;  // the name or the data did not fit the buffers
};

// The value at `index` of key, read into buffers of `capacity` bytes; a name or data
// that does not fit is read again at its own size. The error of the enumeration
// otherwise (kNoMoreItems at the end).
WinError EnumValueWhole(Registry& registry, HKey key, std::uint32_t index, std::uint32_t capacity,
                        RegistryValue* out);
// The data of the value `name`, read the same way.
WinError QueryValueWhole(Registry& registry, HKey key, const std::string& name,
                         std::uint32_t capacity, RegistryValue* out);

// The text a buffer of `capacity` bytes shows of a value: all of it when it fitted;
// otherwise its first bytes, cut after a whole GBK character, then "...".
std::string ShownText(const RegistryValue& value, std::uint32_t capacity);
