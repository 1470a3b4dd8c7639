#include "patch/ValueText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace orv {

namespace {

// Identifiers with a rule of their own.
enum : int {
  kNoValue = 2,
  kCabinet = 1007,
  kRackThreshold = 1011,
  kRackRatio = 1014,
  kRackOutput = 1016,
  kDelayTime = 1035,
  kDelayHighCut = 1037,
  kDelayLowCut = 1038,
  kReverbTime = 1042,
  kReverbPreDelay = 1043,
  kReverbLowCut = 1044,
  kReverbHighCut = 1045,
  kReverbHighRatio = 1046,
  kReverbLowRatio = 1047,
};

constexpr int kHighCutThru = 16001;
constexpr int kLowCutThru = 21;

// `tenths` / 10 with exactly one decimal, computed on integers so no rounding can creep in.
std::string tenthsText(long long tenths) {
  std::string text = tenths < 0 ? "-" : "";
  const unsigned long long magnitude =
      tenths < 0 ? 0ull - static_cast<unsigned long long>(tenths) : tenths;
  text += std::to_string(magnitude / 10);
  text += '.';
  text += static_cast<char>('0' + magnitude % 10);
  return text;
}

// Below 100 tenths with one decimal, from 100 up as whole units rounded down.
std::string tenthsOrWholeText(int value) {
  return value < 100 ? tenthsText(value) : std::to_string(value / 10);
}

bool isCBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text after leading blanks and an optional sign; `negative` tells the sign.
std::string_view unsignedPart(std::string_view text, bool& negative) {
  std::size_t i = 0;
  while (i < text.size() && isCBlank(text[i])) ++i;
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  text.remove_prefix(i);
  // A second sign is not part of a number.
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) return {};
  return text;
}

// A number too large or too small for a float: infinity or 0. Decided in double precision, and
// beyond that by the sign of the exponent.
float outOfFloatRange(std::string_view digits) {
  double d = 0;
  const auto result =
      std::from_chars(digits.data(), digits.data() + digits.size(), d, std::chars_format::general);
  if (result.ec == std::errc())
    return std::fabs(d) < 1 ? 0.0f : std::numeric_limits<float>::infinity();
  const std::string_view number(digits.data(),
                                static_cast<std::size_t>(result.ptr - digits.data()));
  const std::size_t e = number.find_first_of("eE");
  const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
  return tiny ? 0.0f : std::numeric_limits<float>::infinity();
}

// A decimal number from the start of the text, read in single precision; 0 when there is none.
float leadingDecimal(std::string_view text) {
  bool negative = false;
  const std::string_view digits = unsignedPart(text, negative);
  float x = 0;
  const auto result =
      std::from_chars(digits.data(), digits.data() + digits.size(), x, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range)
    x = outOfFloatRange(digits);
  else if (result.ec != std::errc())
    x = 0;
  if (std::isnan(x)) x = 0;
  return negative ? -x : x;
}

// A whole number from the start of the text; saturates beyond the range of long long.
long long leadingInteger(std::string_view text) {
  bool negative = false;
  const std::string_view digits = unsignedPart(text, negative);
  unsigned long long n = 0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (result.ec == std::errc::result_out_of_range)
    n = std::numeric_limits<unsigned long long>::max();
  else if (result.ec != std::errc())
    n = 0;
  const auto limit = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
  const long long magnitude = static_cast<long long>(std::min(n, limit));
  return negative ? -magnitude : magnitude;
}

// trunc(y + 0.5), clamped to [lo, hi] before any conversion to int.
int halfUpClamped(float y, int lo, int hi) {
  const double rounded = std::trunc(static_cast<double>(y) + 0.5);
  if (!(rounded > lo)) return lo;  // also catches NaN
  if (rounded > hi) return hi;
  return static_cast<int>(rounded);
}

int clampInteger(long long n, int lo, int hi) {
  return static_cast<int>(std::clamp<long long>(n, lo, hi));
}

}  // namespace

std::string formatValue(int identifier, int value) {
  switch (identifier) {
    case kRackThreshold:
      return tenthsText(value - 600ll) + "dB";
    case kRackOutput:
      return tenthsText(value - 200ll) + "dB";
    case kDelayTime:
      return tenthsText(value) + "ms";
    case kDelayHighCut:
    case kReverbHighCut:
      return value == kHighCutThru ? "Thru" : std::to_string(value) + "Hz";
    case kDelayLowCut:
    case kReverbLowCut:
      return value == kLowCutThru ? "Thru" : std::to_string(value) + "Hz";
    case kReverbTime:
      return tenthsOrWholeText(value) + "s";
    case kReverbPreDelay:
      return tenthsOrWholeText(value) + "ms";
    case kCabinet:
    case kRackRatio:
      return {};
    default:
      return tenthsText(value);
  }
}

int parseValue(int identifier, std::string_view text) {
  switch (identifier) {
    case kNoValue:
    case kCabinet:
    case kRackRatio:
      return 0;
    case kRackThreshold:
      return halfUpClamped((leadingDecimal(text) + 60.0f) * 10.0f, 0, 600);
    case kRackOutput:
      return halfUpClamped((leadingDecimal(text) + 20.0f) * 10.0f, 0, 600);
    case kDelayTime:
      return halfUpClamped(leadingDecimal(text) * 10.0f, 1, 9999);
    case kDelayHighCut:
    case kReverbHighCut:
      if (text == "Thru") return kHighCutThru;
      return clampInteger(leadingInteger(text), 1000, kHighCutThru);
    case kDelayLowCut:
    case kReverbLowCut:
      if (text == "Thru") return kLowCutThru;
      return clampInteger(leadingInteger(text), kLowCutThru, 8000);
    case kReverbTime:
      return halfUpClamped(leadingDecimal(text) * 10.0f, 3, 200);
    case kReverbPreDelay:
      return halfUpClamped(leadingDecimal(text) * 10.0f, 1, 2000);
    case kReverbHighRatio:
      return halfUpClamped(leadingDecimal(text) * 10.0f, 1, 10);
    case kReverbLowRatio:
      return halfUpClamped(leadingDecimal(text) * 10.0f, 1, 14);
    default:
      return halfUpClamped(leadingDecimal(text) * 10.0f, 0, 100);
  }
}

bool readsAsValue(int identifier, std::string_view text) {
  bool negative = false;
  const std::string_view digits = unsignedPart(text, negative);
  const auto isDigit = [&](std::size_t i) {
    return i < digits.size() && digits[i] >= '0' && digits[i] <= '9';
  };
  if (isDigit(0) || (!digits.empty() && digits[0] == '.' && isDigit(1))) return true;
  const bool cutFilter = identifier == kDelayHighCut || identifier == kReverbHighCut ||
                         identifier == kDelayLowCut || identifier == kReverbLowCut;
  return cutFilter && text == "Thru";
}

}  // namespace orv
