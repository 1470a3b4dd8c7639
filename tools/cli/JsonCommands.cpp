// JSON forms of library and patch files: to-json and from-json.
#include <CLI/CLI.hpp>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>

#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "patch/RegularFile.h"
#include "patch/StringTable.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/PatchJson.h"

namespace orv::cli {

namespace {

namespace fs = std::filesystem;

int toJson(const fs::path& path, Io& io) {
  std::error_code reason;
  const std::optional<std::string> magic = magicOf(path, reason);
  if (!magic) {
    const bool patch = path.extension() == ".ZBP" || path.extension() == ".zbp";
    throw CGenericException(patch ? strings::PatchImportFailed : strings::LibraryLoadFailed, 1,
                            path.string(), reason);
  }
  if (*magic == "VKRP") {
    LibraryEntry entry;
    readPatchFile(entry, path);
    io.out << patchToJson(entry).dump(2) << '\n';
  } else if (*magic == "VKRB") {
    Library library;
    readLibrary(library, path);
    io.out << libraryToJson(library).dump(2) << '\n';
  } else {
    throw CliError(path.string() + ": " + std::string(stringText(strings::UnsupportedFile)) +
                   " (neither a library nor a patch file)");
  }
  return 0;
}

int fromJson(const std::string& in, const std::string& out, bool force) {
  const Json json = readJson(in);
  // The document is checked whole before anything is written.
  std::optional<LibraryEntry> patch;
  std::optional<Library> library;
  try {
    if (jsonKind(json) == JsonKind::Patch)
      patch = patchFromJson(json);
    else
      library = libraryFromJson(json);
  } catch (const CliError& e) {
    throw CliError(in + ": " + e.what());
  }
  refuseToReplace(out, force);
  if (patch)
    writePatchFile(*patch, out);
  else
    writeLibrary(*library, out);
  return 0;
}

Runner declareToJson(CLI::App& app) {
  auto a = std::make_shared<InOutArgs>();
  addArgument(app, "FILE", a->in, "the library or patch file");
  return [a](Io& io) { return toJson(a->in, io); };
}

Runner declareFromJson(CLI::App& app) {
  auto a = std::make_shared<InOutArgs>();
  addForceOption(app, a->force);
  addArgument(app, "IN.json", a->in, "the JSON document");
  addArgument(app, "OUT", a->out, "the library or patch file to write");
  return [a](Io&) { return fromJson(a->in, a->out, a->force); };
}

const bool registered =
    registerCommand({"to-json", "print a library or patch file (told apart by its magic) as JSON",
                     60, declareToJson}) &&
    registerCommand(
        {"from-json",
         "write the library or patch file a JSON document describes (--force replaces a file)", 70,
         declareFromJson});

}  // namespace

Json readJson(const fs::path& path) {
  if (const std::error_code reason = readFailure(path))
    throw CliError(path.string() + ": cannot be read (" + reason.message() + ")");
  std::ifstream in(path, std::ios::binary);
  try {
    return Json::parse(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const Json::exception& e) {
    throw CliError(path.string() + ": not valid JSON (" + e.what() + ")");
  }
}

}  // namespace orv::cli
