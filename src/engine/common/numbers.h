#pragma once

#include <string_view>

namespace fennory {

// The decimal number at the start of a text, read the way atol reads it in the C locale:
// leading white space, an optional sign, digits; 0 when there are none. Saturates instead of
// overflowing.
long LeadingDecimal(std::string_view text);

}  // namespace fennory
