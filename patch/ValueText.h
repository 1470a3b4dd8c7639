#pragma once
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

// Whether typed text gives a value at all: it begins with a number (after blanks and a sign), or
// it is a word the parameter knows ("Thru" of the cut filters). Text that does not still reads
// as 0 in parseValue, as the number entry takes it.
bool readsAsValue(int identifier, std::string_view text);

}  // namespace orv
