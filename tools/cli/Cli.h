#pragma once
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace orv::cli {

using Args = std::vector<std::string>;

// Where a command writes: `out` for its result, `err` for diagnostics.
struct Io {
  std::ostream& out;
  std::ostream& err;
};

// Runs a command whose arguments have been parsed; returns the exit status (0 on success).
// Throws UsageError for wrong usage, CliError or CGenericException for failures.
using Runner = std::function<int(Io& io)>;

// One command of orv-cli. Commands register themselves from their own source file (see
// registerCommand), so adding commands never touches the dispatcher.
struct Command {
  std::string name;     // first word on the command line
  std::string summary;  // one line for --help
  int order = 0;        // position in --help; commands are listed by ascending order
  // Declares the command's options and positionals (each once, with its help text) on `app`;
  // the runner it returns sees their parsed values. The usage lines, the command's --help, the
  // program's --help (and so the manual page) and the usage errors all come from this.
  std::function<Runner(CLI::App& app)> declare;
  // The positional part of each usage line, for commands whose arguments take several forms
  // ("LIB.ZBL SLOT", "PATCH.ZBP"); empty when one line made from the declaration says it.
  std::vector<std::string> forms = {};
  // The exit status of a failure (CliError, CGenericException): 1, or 2 for a command whose 1
  // means an answer ("different").
  int failureStatus = 1;
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
