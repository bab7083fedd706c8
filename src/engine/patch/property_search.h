#pragma once

#include <cstddef>
#include <string_view>

namespace fennory {

// A property is its name, one NUL, then a 4-byte little-endian float, at any offset.
inline constexpr std::size_t kValueSize = 4;

struct PropertyMatch {
    bool found = false;
    const unsigned char* value = nullptr;  // match + name length + 1
};

// The first occurrence of `name` at or after `start` whose four value bytes lie wholly within
// the `limit` bytes from `start` to the end of the data. The bytes around the name are not
// examined. A limit of 0 or less finds nothing.
PropertyMatch FindProperty(const unsigned char* start, std::string_view name, std::ptrdiff_t limit);

float LoadFloat(const unsigned char* bytes);
void StoreFloat(unsigned char* bytes, float value);

}  // namespace fennory
