#pragma once

#include <string>
#include <string_view>

namespace fennory {

class InteractionPort;
struct ParameterTable;
struct ViewState;

// Each box of the Search Options dialog takes at most this many characters.
inline constexpr std::size_t kSearchTextLimit = 10;

// A typed number: leading blanks skipped, then the longest prefix that forms a decimal number
// (optional sign, digits, a full stop as the decimal point, optional exponent), the rest
// ignored; 0 when there is none. Independent of the process locale. Rounded to single precision.
float ConvertTypedNumber(std::string_view text);

// The range messages for the table's new values, in check order, each on its own line; empty
// when all four pass.
std::string CheckParameterRanges(const ParameterTable& table);

// The Search Options dialog: offers the last confirmed texts with the re-make box unticked.
// On OK stores the re-make choice and the texts (an empty text becomes its default), sets the
// table's new values and checks their ranges. True when confirmed and every value is in range.
bool AskSearchOptions(ViewState& state, InteractionPort& port, ParameterTable& table);

}  // namespace fennory
