#pragma once

#include <string_view>

namespace fennory {

inline constexpr char kCatalogueName[] = "DIR4.TXT";
// The count line is the only line that holds this text; its leading number is the count.
inline constexpr std::string_view kCountLineMark = "= No. of file";

}  // namespace fennory
