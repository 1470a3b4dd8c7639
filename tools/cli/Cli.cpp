#include "tools/cli/Cli.h"

#include <algorithm>

#include "patch/GenericException.h"
#include "patch/StringTable.h"

#ifndef ORV_VERSION
#define ORV_VERSION "0.0.0"
#endif

namespace orv::cli {

namespace {

std::vector<Command>& table() {
  static std::vector<Command> commands;
  return commands;
}

void printUsageLines(std::ostream& os, const Command& c) {
  std::string_view usage = c.usage;
  bool first = true;
  while (!usage.empty()) {
    const std::size_t end = usage.find('\n');
    os << (first ? "usage: orv-cli " : "       orv-cli ") << usage.substr(0, end) << '\n';
    usage.remove_prefix(end == std::string_view::npos ? usage.size() : end + 1);
    first = false;
  }
}

void printHelp(std::ostream& os) {
  os << "orv-cli: library, patch and SysEx companion of ORV Editor\n\n"
        "usage: orv-cli COMMAND ARGUMENTS...\n"
        "       orv-cli --help | --version\n\n"
        "Slots are numbered 1..100 as the library list shows them. Hex is upper case, bytes\n"
        "separated by one space. A failing command leaves no partial file. new, export and\n"
        "from-json replace an existing file only with --force; a read-only file is never\n"
        "replaced.\n\n"
        "Commands:\n";
  for (const Command& c : commands()) {
    std::string_view usage = c.usage;
    while (!usage.empty()) {
      const std::size_t end = usage.find('\n');
      os << "  " << usage.substr(0, end) << '\n';
      usage.remove_prefix(end == std::string_view::npos ? usage.size() : end + 1);
    }
    os << "      " << c.summary << "\n";
  }
  os << "\nExit status: 0 on success, 1 on failure, 2 on wrong usage.\n";
}

const Command* findCommand(std::string_view name) {
  for (const Command& c : commands())
    if (c.name == name) return &c;
  return nullptr;
}

// A failure of the file operations: its message text, then the path and the system's reason
// in parentheses: "Failed to load Library file. (Rock.ZBL: No such file or directory)".
std::string failureText(const CGenericException& e) {
  std::string text(stringText(e.code()));
  if (text.empty()) text = "Error " + std::to_string(e.code());
  const std::string detail = e.detail();
  return detail.empty() ? text : text + " (" + detail + ")";
}

int runCommand(const Command& command, const Args& args, Io& io) {
  try {
    const int status = command.run(args, io);
    io.out.flush();
    if (!io.out) {
      io.err << "orv-cli: cannot write to standard output\n";
      return 1;
    }
    return status;
  } catch (const UsageError& e) {
    io.err << "orv-cli: " << e.what() << '\n';
    printUsageLines(io.err, command);
    return 2;
  } catch (const CGenericException& e) {
    io.err << "orv-cli: " << failureText(e) << '\n';
  } catch (const CliError& e) {
    io.err << "orv-cli: " << e.what() << '\n';
  } catch (const std::exception& e) {
    io.err << "orv-cli: " << e.what() << '\n';
  }
  return 1;
}

}  // namespace

bool registerCommand(Command command) {
  auto& commands = table();
  const auto at = std::find_if(commands.begin(), commands.end(),
                               [&](const Command& c) { return c.order > command.order; });
  commands.insert(at, std::move(command));
  return true;
}

const std::vector<Command>& commands() {
  return table();
}

int runCli(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    printHelp(err);
    return 2;
  }
  const std::string& first = args.front();
  if (first == "--help" || first == "-h" || first == "help") {
    printHelp(out);
    return 0;
  }
  if (first == "--version") {
    out << "orv-cli " << ORV_VERSION << '\n';
    return 0;
  }
  const Command* command = findCommand(first);
  if (!command) {
    err << "orv-cli: unknown command '" << first << "'\n\n";
    printHelp(err);
    return 2;
  }
  const Args rest(args.begin() + 1, args.end());
  if (rest.size() == 1 && (rest[0] == "--help" || rest[0] == "-h")) {
    printUsageLines(out, *command);
    out << "  " << command->summary << '\n';
    return 0;
  }
  Io io{out, err};
  return runCommand(*command, rest, io);
}

}  // namespace orv::cli
