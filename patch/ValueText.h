#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Parameter values as text and back, keyed by parameter identifier (1001..1055; for parsing
// also 2, the identifier of a display without a value). Numbers always use the "C" conventions:
// "." as decimal point, no grouping, "-" for negatives, whatever the user's locale.

// The text shown for a raw value: one byte for one-byte parameters, the 14-bit number for the
// two-byte ones.
std::string formatValue(int identifier, int value);

// The value of typed text. A number is read from the start of the text (leading blanks skipped,
// reading stops at the first character that does not belong to it); text that does not begin with
// a number reads as 0. The result is rounded half up and clamped to the parameter's range.
int parseValue(int identifier, std::string_view text);

// The same for text the user typed, where text that is no number is refused rather than read as
// 0: none unless the text begins with a number (a cut-off also takes "Thru").
std::optional<int> typedValue(int identifier, std::string_view text);

}  // namespace orv
