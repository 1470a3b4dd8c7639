// Value texts: format and parse by parameter identifier.
#include <limits>

#include "patch/ValueText.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"

namespace orv::cli {

namespace {

constexpr long long kIntMin = std::numeric_limits<int>::min();
constexpr long long kIntMax = std::numeric_limits<int>::max();

int format(const Args& args, Io& io) {
  expectArgCount(args, 2, 2);
  const int id = static_cast<int>(parseNumber(args[0], kIntMin, kIntMax, "ID"));
  const int value = static_cast<int>(parseNumber(args[1], kIntMin, kIntMax, "VALUE"));
  io.out << formatValue(id, value) << '\n';
  return 0;
}

int parse(const Args& args, Io& io) {
  expectArgCount(args, 2, 2);
  const int id = static_cast<int>(parseNumber(args[0], kIntMin, kIntMax, "ID"));
  io.out << parseValue(id, args[1]) << '\n';
  return 0;
}

const bool registered =
    registerCommand({"format", "format ID VALUE",
                     "print the text shown for a raw value of parameter ID (e.g. 1011 300)", 80,
                     format}) &&
    registerCommand({"parse", "parse ID TEXT",
                     "print the value typed TEXT gives parameter ID (e.g. 1037 Thru)", 90, parse});

}  // namespace

}  // namespace orv::cli
