#include "patch/property_search.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace fennory {
namespace {

// Finding a needle of two or more bytes: 32 positions at a time are filtered on the needle's
// first and last byte, so ordinary data is passed over at memory speed and only candidates are
// compared in full. Returns the first match, or sets `resume` to the first position it did not
// examine so that memmem can finish the tail. Without AVX2 memmem does the whole search.
#if defined(__x86_64__)
__attribute__((target("avx2"))) const unsigned char* FilterAvx2(const unsigned char* haystack,
                                                                std::size_t size,
                                                                const unsigned char* needle,
                                                                std::size_t length,
                                                                std::size_t& resume) {
    const __m256i first = _mm256_set1_epi8(static_cast<char>(needle[0]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(needle[length - 1]));
    std::size_t at = 0;
    for (; at + length - 1 + 32 <= size; at += 32) {
        const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(haystack + at));
        const __m256i tail =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(haystack + at + length - 1));
        auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(head, first), _mm256_cmpeq_epi8(tail, last))));
        while (mask != 0) {
            const std::size_t candidate = at + static_cast<std::size_t>(std::countr_zero(mask));
            if (std::memcmp(haystack + candidate + 1, needle + 1, length - 2) == 0) {
                return haystack + candidate;
            }
            mask &= mask - 1;
        }
    }
    resume = at;
    return nullptr;
}
#endif

const unsigned char* SearchBytes(const unsigned char* haystack, std::size_t size,
                                 const unsigned char* needle, std::size_t length) {
    if (length > size) {
        return nullptr;
    }
    std::size_t resume = 0;
    if (length >= 2) {
#if defined(__x86_64__)
        static const bool hasAvx2 = __builtin_cpu_supports("avx2");
        if (hasAvx2) {
            if (const unsigned char* hit = FilterAvx2(haystack, size, needle, length, resume)) {
                return hit;
            }
        }
#endif
    }
    return static_cast<const unsigned char*>(
        ::memmem(haystack + resume, size - resume, needle, length));
}

}  // namespace

PropertyMatch FindProperty(const unsigned char* start, std::string_view name,
                           std::ptrdiff_t limit) {
    PropertyMatch match;
    if (limit <= 0 || name.empty()) {
        return match;
    }
    const std::size_t span = static_cast<std::size_t>(limit);
    // The first match is the one that counts: a later one would stand even nearer the end, so
    // if the first has no complete value none has.
    const unsigned char* hit =
        SearchBytes(start, span, reinterpret_cast<const unsigned char*>(name.data()), name.size());
    if (hit == nullptr) {
        return match;
    }
    const unsigned char* value = hit + name.size() + 1;
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
