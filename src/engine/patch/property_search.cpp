#include "patch/property_search.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace fennory {

PropertyMatch FindProperty(const unsigned char* start, std::string_view name,
                           std::ptrdiff_t limit) {
    PropertyMatch match;
    if (limit <= 0 || name.empty()) {
        return match;
    }
    const std::size_t span = static_cast<std::size_t>(limit);
    // The first match is the one that counts: a later one would stand even nearer the end, so
    // if the first has no complete value none has.
    const void* hit = ::memmem(start, span, name.data(), name.size());
    if (hit == nullptr) {
        return match;
    }
    const auto* value = static_cast<const unsigned char*>(hit) + name.size() + 1;
    if (value + kValueSize > start + span) {
        return match;
    }
    match.found = true;
    match.value = value;
    return match;
}

float LoadFloat(const unsigned char* bytes) {
    const std::uint32_t bits = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                               std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
    return std::bit_cast<float>(bits);
}

void StoreFloat(unsigned char* bytes, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    bytes[0] = static_cast<unsigned char>(bits);
    bytes[1] = static_cast<unsigned char>(bits >> 8);
    bytes[2] = static_cast<unsigned char>(bits >> 16);
    bytes[3] = static_cast<unsigned char>(bits >> 24);
}

}  // namespace fennory
