#pragma once
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orv::cli {

using Args = std::vector<std::string>;

// Where a command writes: `out` for its result, `err` for diagnostics.
struct Io {
  std::ostream& out;
  std::ostream& err;
};

// One command of orv-cli. Commands register themselves from their own source file (see
// registerCommand), so adding commands never touches the dispatcher.
struct Command {
  std::string name;     // first word on the command line
  std::string usage;    // one or more lines, each the arguments after "orv-cli "
  std::string summary;  // one line for --help
  int order = 0;        // position in --help; commands are listed by ascending order
  // Runs with the arguments after the name; returns the exit status (0 on success). Throws
  // UsageError for wrong usage, CliError or CGenericException for failures.
  std::function<int(const Args& args, Io& io)> run;
};

// Wrong usage: exit status 2, the message and the command's usage on standard error.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// A failure with its own text: exit status 1, the text on standard error.
struct CliError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Adds a command; returns true so that it can initialise a namespace-scope constant.
bool registerCommand(Command command);
const std::vector<Command>& commands();

// Runs orv-cli with `args` (without the program name) and returns the exit status.
int runCli(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace orv::cli
