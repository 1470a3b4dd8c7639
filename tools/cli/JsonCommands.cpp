// JSON forms of library and patch files: to-json and from-json.
#include <cstring>
#include <fstream>
#include <iterator>

#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "patch/StringTable.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/PatchJson.h"

namespace orv::cli {

namespace {

namespace fs = std::filesystem;

// The file's first four bytes, or nothing when it cannot be read.
std::optional<std::string> magicOf(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  char magic[4] = {};
  in.read(magic, 4);
  return std::string(magic, static_cast<std::size_t>(in.gcount()));
}

int toJson(const Args& args, Io& io) {
  expectArgCount(args, 1, 1);
  const fs::path path = args[0];
  const std::optional<std::string> magic = magicOf(path);
  if (!magic) {
    const bool patch = path.extension() == ".ZBP" || path.extension() == ".zbp";
    throw CGenericException(patch ? strings::PatchImportFailed : strings::LibraryLoadFailed, 1,
                            path.string());
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
  std::error_code ec;
  std::ifstream in(path, std::ios::binary);
  if (fs::is_directory(path, ec) || !in) throw CliError(path.string() + ": cannot be read");
  try {
    return Json::parse(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const Json::exception& e) {
    throw CliError(path.string() + ": not valid JSON (" + e.what() + ")");
  }
}

int fromJson(const Args& args, Io& io) {
  expectArgCount(args, 2, 2);
  const Json json = readJson(args[0]);
  try {
    if (jsonKind(json) == JsonKind::Patch)
      writePatchFile(patchFromJson(json), args[1]);
    else
      writeLibrary(libraryFromJson(json), args[1]);
  } catch (const CliError& e) {
    throw CliError(args[0] + ": " + e.what());
  }
  (void)io;
  return 0;
}

const bool registered =
    registerCommand({"to-json", "to-json FILE",
                     "print a library or patch file (told apart by its magic) as JSON", 60,
                     toJson}) &&
    registerCommand({"from-json", "from-json IN.json OUT",
                     "write the library or patch file a JSON document describes", 70, fromJson});

}  // namespace

}  // namespace orv::cli
