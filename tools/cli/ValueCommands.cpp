// Value texts: format and parse by parameter identifier.
#include <CLI/CLI.hpp>
#include <limits>
#include <memory>

#include "patch/ValueText.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"

namespace orv::cli {

namespace {

constexpr long long kIntMin = std::numeric_limits<int>::min();
constexpr long long kIntMax = std::numeric_limits<int>::max();
constexpr long long kFirstParameter = 1001, kLastParameter = 1055;

struct ValueArgs {
  std::string id, value;
};

int parameterId(const std::string& text) {
  return static_cast<int>(parseNumber(text, kFirstParameter, kLastParameter, "ID"));
}

Runner declareFormat(CLI::App& app) {
  auto a = std::make_shared<ValueArgs>();
  addArgument(app, "ID", a->id, "the parameter identifier");
  addArgument(app, "VALUE", a->value, "the raw value");
  return [a](Io& io) {
    const int id = parameterId(a->id);
    const int value = static_cast<int>(parseNumber(a->value, kIntMin, kIntMax, "VALUE"));
    io.out << formatValue(id, value) << '\n';
    return 0;
  };
}

Runner declareParse(CLI::App& app) {
  auto a = std::make_shared<ValueArgs>();
  addArgument(app, "ID", a->id, "the parameter identifier");
  addArgument(app, "TEXT", a->value, "the text as typed");
  return [a](Io& io) {
    const int id = parameterId(a->id);
    if (!readsAsValue(id, a->value))
      throw UsageError("TEXT must begin with a number, not '" + a->value + "'");
    io.out << parseValue(id, a->value) << '\n';
    return 0;
  };
}

const bool registered =
    registerCommand({"format",
                     "print the text shown for a raw value of parameter ID (e.g. 1011 300)", 80,
                     declareFormat}) &&
    registerCommand({"parse", "print the value typed TEXT gives parameter ID (e.g. 1037 Thru)", 90,
                     declareParse});

}  // namespace

}  // namespace orv::cli
