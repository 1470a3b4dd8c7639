// from-design: a library written by hand in the readable design form (see PatchDesign.h).
#include <CLI/CLI.hpp>
#include <memory>

#include "patch/LibraryFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/PatchDesign.h"

namespace orv::cli {

namespace {

int fromDesign(const std::string& in, const std::string& out, bool force) {
  Library library;
  try {
    library = libraryFromDesign(readJson(in));
  } catch (const CliError& e) {
    throw CliError(in + ": " + e.what());
  }
  refuseToReplace(out, force);
  writeLibrary(library, out);
  return 0;
}

Runner declareFromDesign(CLI::App& app) {
  auto a = std::make_shared<InOutArgs>();
  addForceOption(app, a->force);
  addArgument(app, "IN.json", a->in, "the library design: patches by type names and knob captions");
  addArgument(app, "OUT.ZBL", a->out, "the library file to write");
  return [a](Io&) { return fromDesign(a->in, a->out, a->force); };
}

const bool registered = registerCommand(
    {"from-design",
     "write the library a hand-written design describes (sounds by section types and knob\n"
     "      captions, as show prints them; --force replaces a file)",
     75, declareFromDesign});

}  // namespace

}  // namespace orv::cli
