#include "tools/cli/Cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>

#include "patch/GenericException.h"
#include "patch/StringTable.h"
#include "tools/EmptyOptionValues.h"

#ifndef ORV_VERSION
#define ORV_VERSION "0.0.0"
#endif

namespace orv::cli {

namespace {

std::vector<Command>& table() {
  static std::vector<Command> commands;
  return commands;
}

bool isFlag(const CLI::Option& o) {
  return o.get_expected_max() == 0;
}

// The options of a command as declared, without the help flag, and its positionals.
std::vector<const CLI::Option*> declaredOptions(const CLI::App& app, bool positional) {
  std::vector<const CLI::Option*> result;
  for (const CLI::Option* o : app.get_options())
    if (o != app.get_help_ptr() && o->get_positional() == positional &&
        (positional || !o->get_lnames().empty()))
      result.push_back(o);
  return result;
}

// "--port NAME", "--force"
std::string optionText(const CLI::Option& o) {
  std::string text = "--" + o.get_lnames().front();
  if (!isFlag(o)) text += " " + o.get_type_name();
  return text;
}

// The arguments after "orv-cli " of each usage line: the name, the options, the positionals.
std::vector<std::string> usageLines(const Command& c, const CLI::App& app) {
  std::string head = c.name;
  for (const CLI::Option* o : declaredOptions(app, false)) head += " [" + optionText(*o) + "]";
  if (!c.forms.empty()) {
    std::vector<std::string> lines;
    for (const std::string& form : c.forms) lines.push_back(head + " " + form);
    return lines;
  }
  for (const CLI::Option* o : declaredOptions(app, true)) {
    const bool many = o->get_items_expected_max() > 1;
    const std::string name = o->get_name() + (many ? "..." : "");
    head += o->get_required() ? " " + name : " [" + name + "]";
  }
  return {head};
}

void printOptionLine(std::ostream& os, const CLI::Option& o) {
  std::string text = "  " + optionText(o);
  text.resize(std::max<std::size_t>(text.size() + 2, 30), ' ');
  os << text << o.get_description() << '\n';
}

// Each command is declared on an application of its own, made afresh for every use.
struct Declared {
  std::unique_ptr<CLI::App> app;
  Runner run;
};

Declared declare(const Command& c) {
  Declared d{std::make_unique<CLI::App>(c.summary, "orv-cli " + c.name), nullptr};
  d.app->set_help_flag("-h,--help", "show the usage and options of this command");
  d.run = c.declare(*d.app);
  return d;
}

void printUsageLines(std::ostream& os, const Command& c, const CLI::App& app) {
  bool first = true;
  for (const std::string& line : usageLines(c, app)) {
    os << (first ? "usage: orv-cli " : "       orv-cli ") << line << '\n';
    first = false;
  }
}

void printCommandHelp(std::ostream& os, const Command& c, const CLI::App& app) {
  printUsageLines(os, c, app);
  os << "  " << c.summary << '\n';
  const auto options = declaredOptions(app, false);
  if (options.empty()) return;
  os << "\nOptions:\n";
  for (const CLI::Option* o : options) printOptionLine(os, *o);
}

// Every option once (commands share --port and --midi-api), in the order first declared.
void printAllOptions(std::ostream& os, const std::vector<Declared>& declared) {
  std::vector<std::string> seen;
  os << "\nOptions of the commands:\n";
  for (const Declared& d : declared)
    for (const CLI::Option* o : declaredOptions(*d.app, false)) {
      if (std::find(seen.begin(), seen.end(), optionText(*o)) != seen.end()) continue;
      seen.push_back(optionText(*o));
      printOptionLine(os, *o);
    }
}

void printHelp(std::ostream& os) {
  os << "orv-cli: library, patch and SysEx companion of ORV Editor\n\n"
        "usage: orv-cli COMMAND ARGUMENTS...\n"
        "       orv-cli COMMAND --help\n"
        "       orv-cli --help | --version\n\n"
        "Slots are numbered 1..100 as the library list shows them. Hex is upper case, bytes\n"
        "separated by one space. A failing command leaves no partial file. new, export,\n"
        "syx-export, from-json and from-design replace an existing file only with --force;\n"
        "a read-only file is never replaced.\n\n"
        "Commands:\n";
  std::vector<Declared> declared;
  for (const Command& c : commands()) {
    declared.push_back(declare(c));
    for (const std::string& line : usageLines(c, *declared.back().app)) os << "  " << line << '\n';
    os << "      " << c.summary << "\n";
  }
  printAllOptions(os, declared);
  os << "\nExit status: 0 on success, 1 on failure, 2 on wrong usage; diff exits as diff(1)\n"
        "does: 0 same, 1 different, 2 on wrong usage or a file it cannot read.\n";
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

// Names the first argument nobody declared, as it stands on the command line.
std::string extrasText(const CLI::App& app, const Args& args, const CLI::ExtrasError& e) {
  const std::vector<std::string> extras = app.remaining();
  const auto first = std::find_if(args.begin(), args.end(), [&](const std::string& a) {
    return std::find(extras.begin(), extras.end(), a) != extras.end();
  });
  return first == args.end() ? e.what() : "unexpected argument '" + *first + "'";
}

// Parses the command's arguments; returns the exit status when that already ends the run
// (help, wrong usage), nothing when the command is to run.
std::optional<int> parseArguments(const Command& command, Declared& d, const Args& args, Io& io) {
  try {
    const Args kept = tools::keepEmptyValues(*d.app, args);
    std::vector<const char*> argv{"orv-cli"};
    for (const std::string& a : kept) argv.push_back(a.c_str());
    d.app->parse(int(argv.size()), argv.data());
    return std::nullopt;
  } catch (const CLI::CallForHelp&) {
    printCommandHelp(io.out, command, *d.app);
    return 0;
  } catch (const CLI::ExtrasError& e) {
    io.err << "orv-cli: " << extrasText(*d.app, args, e) << '\n';
  } catch (const CLI::ParseError& e) {
    io.err << "orv-cli: " << e.what() << '\n';
  } catch (const UsageError& e) {  // thrown by the options' own checks
    io.err << "orv-cli: " << e.what() << '\n';
  }
  printUsageLines(io.err, command, *d.app);
  return 2;
}

int runCommand(const Command& command, const Args& args, Io& io) {
  Declared d = declare(command);
  if (const auto status = parseArguments(command, d, args, io)) return *status;
  try {
    const int status = d.run(io);
    io.out.flush();
    if (!io.out) {
      io.err << "orv-cli: cannot write to standard output\n";
      return command.failureStatus;
    }
    return status;
  } catch (const UsageError& e) {
    io.err << "orv-cli: " << e.what() << '\n';
    printUsageLines(io.err, command, *d.app);
    return 2;
  } catch (const CGenericException& e) {
    io.err << "orv-cli: " << failureText(e) << '\n';
  } catch (const CliError& e) {
    io.err << "orv-cli: " << e.what() << '\n';
  } catch (const std::exception& e) {
    io.err << "orv-cli: " << e.what() << '\n';
  }
  return command.failureStatus;
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
  Io io{out, err};
  return runCommand(*command, rest, io);
}

}  // namespace orv::cli
