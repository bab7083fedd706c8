#include "common/numbers.h"

#include <limits>

namespace fennory {

long LeadingDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    constexpr long kMax = std::numeric_limits<long>::max();
    long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (value > (kMax - digit) / 10) {
            return negative ? std::numeric_limits<long>::min() : kMax;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

}  // namespace fennory
