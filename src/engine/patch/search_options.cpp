#include "patch/search_options.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/numbers.h"
#include "patch/parameter_table.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// from_chars reports a value beyond double's range without saying which way; the decimal
// exponent of the first significant digit tells overflow from underflow.
double OutOfRange(std::string_view mantissa, long exponent) {
    long magnitude = 0;
    const std::size_t point = mantissa.find('.');
    const std::string_view whole = mantissa.substr(0, point);
    const std::size_t firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        magnitude = static_cast<long>(whole.size() - firstWhole) - 1;
    } else if (point != std::string_view::npos) {
        const std::string_view fraction = mantissa.substr(point + 1);
        magnitude = -static_cast<long>(fraction.find_first_not_of('0')) - 1;
    }
    return magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

const std::string& TextOrDefault(const std::string& text, const std::string& fallback) {
    return text.empty() ? fallback : text;
}

}  // namespace

float ConvertTypedNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t mantissaStart = at;
    std::size_t digits = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        ++digits;
    }
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && IsDigit(text[at]); ++at) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0f;
    }
    const std::size_t mantissaEnd = at;
    long exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        // An exponent counts only when at least one digit follows its optional sign.
        std::size_t end = at + 1;
        if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
            ++end;
        }
        if (end < text.size() && IsDigit(text[end])) {
            while (end < text.size() && IsDigit(text[end])) {
                ++end;
            }
            exponent = LeadingDecimal(text.substr(at + 1, end - at - 1));
            at = end;
        }
    }
    // Only the matched prefix reaches from_chars, so "inf", "nan" and hexadecimal forms never do.
    double value = 0.0;
    const auto parsed = std::from_chars(text.data() + mantissaStart, text.data() + at, value,
                                        std::chars_format::general);
    if (parsed.ec == std::errc::result_out_of_range) {
        value = OutOfRange(text.substr(mantissaStart, mantissaEnd - mantissaStart), exponent);
    }
    return static_cast<float>(negative ? -value : value);
}

std::string CheckParameterRanges(const ParameterTable& table) {
    struct Range {
        ParameterSlot slot;
        double bound;
        const char* text;
    };
    static constexpr Range kRanges[] = {
        {kEnginePower, 100.0, "Value for eng_power must lie in range 0-100%\n"},
        {kRudderDrag, 0.5, "Value for rudder-drag must lie in range 0.0 - 0.5\n"},
        {kGcHeight, 10.0, "Value for gc_height must lie in range 0.0 - 10.0\n"},
        {kSurfaceDrag, 0.5, "Value for LR must lie in range 0.0 - 0.5\n"},
    };
    std::string message;
    for (const Range& range : kRanges) {
        const double value = table.entries[range.slot].newValue;
        if (value < 0.0 || value > range.bound) {
            message += range.text;
        }
    }
    return message;
}

bool AskSearchOptions(ViewState& state, InteractionPort& port, ParameterTable& table) {
    SearchOptionsFields fields;
    fields.engineText = state.enginePowerText;
    fields.rudderText = state.rudderDragText;
    fields.gravityText = state.gravityHeightText;
    fields.surfaceText = state.surfaceDragText;
    fields.remakeCheck = 0;
    if (!port.ShowSearchOptions(fields)) {
        return false;
    }
    state.remakeCatalogue = fields.remakeCheck != 0 ? 1 : 0;
    state.enginePowerText = TextOrDefault(fields.engineText, state.enginePowerDefault);
    state.rudderDragText = TextOrDefault(fields.rudderText, state.rudderDragDefault);
    state.gravityHeightText = TextOrDefault(fields.gravityText, state.gravityHeightDefault);
    state.surfaceDragText = TextOrDefault(fields.surfaceText, state.surfaceDragDefault);

    for (std::size_t slot : {kUnitShip, kMass, kMaxSpeed}) {
        table.entries[slot].newValue = 0.0f;
    }
    table.entries[kGcHeight].newValue = ConvertTypedNumber(state.gravityHeightText);
    table.entries[kSurfaceDrag].newValue = ConvertTypedNumber(state.surfaceDragText);
    table.entries[kEnginePower].newValue = ConvertTypedNumber(state.enginePowerText);
    table.entries[kRudderDrag].newValue = ConvertTypedNumber(state.rudderDragText);

    const std::string failures = CheckParameterRanges(table);
    if (!failures.empty()) {
        port.ShowMessage(failures);
        return false;
    }
    return true;
}

}  // namespace fennory
