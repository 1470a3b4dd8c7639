// JSON forms of library and patch files: to-json and from-json.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "patch/StringTable.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/PatchJson.h"

namespace orv::cli {

namespace {

namespace fs = std::filesystem;

// Why a file cannot be opened for reading; nothing when it can.
std::error_code readFailure(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return std::make_error_code(std::errc::is_a_directory);
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (in) return {};
  return std::error_code(errno ? errno : EIO, std::generic_category());
}

// The file's first four bytes, or nothing (and the reason) when it cannot be read.
std::optional<std::string> magicOf(const fs::path& path, std::error_code& reason) {
  if (reason = readFailure(path); reason) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  in.read(magic, 4);
  return std::string(magic, static_cast<std::size_t>(in.gcount()));
}

int toJson(const Args& args, Io& io) {
  expectArgCount(args, 1, 1);
  const fs::path path = args[0];
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

int fromJson(const Args& given, Io& io) {
  Args args = given;
  const bool force = takeForceOption(args);
  expectArgCount(args, 2, 2);
  const Json json = readJson(args[0]);
  // The document is checked whole before anything is written.
  std::optional<LibraryEntry> patch;
  std::optional<Library> library;
  try {
    if (jsonKind(json) == JsonKind::Patch)
      patch = patchFromJson(json);
    else
      library = libraryFromJson(json);
  } catch (const CliError& e) {
    throw CliError(args[0] + ": " + e.what());
  }
  refuseToReplace(args[1], force);
  if (patch)
    writePatchFile(*patch, args[1]);
  else
    writeLibrary(*library, args[1]);
  (void)io;
  return 0;
}

const bool registered =
    registerCommand({"to-json", "to-json FILE",
                     "print a library or patch file (told apart by its magic) as JSON", 60,
                     toJson}) &&
    registerCommand({"from-json", "from-json [--force] IN.json OUT",
                     "write the library or patch file a JSON document describes (--force replaces "
                     "a file)",
                     70, fromJson});

}  // namespace

}  // namespace orv::cli
