// Text to value: any text gives a value inside the range of its parse identifier, and the text
// shown for a value always parses.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "patch/ValueText.h"

namespace {
struct Range {
  int id, lo, hi;
};
constexpr std::array<Range, 17> kRanges{{{2, 0, 0},
                                         {1007, 0, 0},
                                         {1014, 0, 0},
                                         {1011, 0, 600},
                                         {1016, 0, 600},
                                         {1035, 1, 9999},
                                         {1037, 1000, 16001},
                                         {1045, 1000, 16001},
                                         {1038, 21, 8000},
                                         {1044, 21, 8000},
                                         {1042, 3, 200},
                                         {1043, 1, 2000},
                                         {1046, 1, 10},
                                         {1047, 1, 14},
                                         {1002, 0, 100},
                                         {1053, 0, 100},
                                         {0, 0, 100}}};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Range& r = kRanges[data[0] % kRanges.size()];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const int value = orv::parseValue(r.id, text);
  if (value < r.lo || value > r.hi) __builtin_trap();
  const int shown = orv::parseValue(r.id, orv::formatValue(r.id, value));
  if (shown < r.lo || shown > r.hi) __builtin_trap();
  return 0;
}
