// Commands on library and patch files: list, show, new, export, import.
#include <optional>
#include <system_error>

#include "patch/LibraryFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/PatchSections.h"

namespace orv::cli {

namespace {

namespace fs = std::filesystem;

std::string modelByteText(uint8_t model) {
  std::string text = hexBytes(std::span(&model, 1));
  if (model == patch::kAnyModel) return text + " (any model)";
  if (model >= 0x20 && model < 0x7F) return text + " ('" + static_cast<char>(model) + "')";
  return text;
}

std::string onOffText(int byte) {
  if (byte == patch::kOn) return "on";
  if (byte == patch::kOff) return "off";
  return "on/off byte " + std::to_string(byte);
}

void showEntry(const LibraryEntry& entry, std::ostream& out) {
  out << "Name: " << latin1ToUtf8(patchName(entry.data)) << '\n'
      << "Model byte: " << modelByteText(entry.modelCode) << '\n'
      << "Header: " << hexBytes(entry.header) << '\n';
  for (const SectionView& s : describePatch(entry.data, entry.modelCode)) {
    // The gate has one type and no name for it: only another type byte is worth showing.
    std::string type = s.typeName ? *s.typeName : "type " + std::to_string(s.type);
    if (s.key == "gate" && s.type == 0) type.clear();
    out << s.title << ": " << type;
    if (s.onOff) out << (type.empty() ? "" : ", ") << onOffText(*s.onOff);
    out << '\n';
    for (const ParameterView& p : s.parameters)
      out << "  " << p.caption << ": " << p.text << " (" << p.value << ")\n";
  }
}

int list(const Args& args, Io& io) {
  expectArgCount(args, 1, 1);
  Library library;
  readLibrary(library, args[0]);
  for (const std::string& row : rowTexts(library)) io.out << latin1ToUtf8(row) << '\n';
  return 0;
}

int show(const Args& args, Io& io) {
  expectArgCount(args, 1, 2);
  LibraryEntry entry;
  if (args.size() == 2) {
    const std::size_t slot = parseSlot(args[1]);
    Library library;
    readLibrary(library, args[0]);
    entry = library.slot(slot);
    io.out << "Slot: " << slot + 1 << '\n';
  } else {
    readPatchFile(entry, args[0]);
  }
  showEntry(entry, io.out);
  return 0;
}

int makeNew(const Args& given, Io& io) {
  Args args = given;
  const bool force = takeForceOption(args);
  if (args.empty()) throw UsageError("missing LIB.ZBL");
  expectArgCount(args, 1, 1);
  const fs::path path = args[0];
  refuseToReplace(path, force);
  PatchData patch;
  initPatch(std::nullopt, patch);
  writeLibrary(makeNewLibrary(patch), path);
  (void)io;
  return 0;
}

int exportSlot(const Args& given, Io& io) {
  Args args = given;
  const bool force = takeForceOption(args);
  expectArgCount(args, 3, 3);
  const std::size_t slot = parseSlot(args[1]);
  Library library;
  readLibrary(library, args[0]);
  refuseToReplace(args[2], force);
  writePatchFile(library.slot(slot), args[2]);
  (void)io;
  return 0;
}

int importSlot(const Args& args, Io& io) {
  expectArgCount(args, 3, 3);
  const std::size_t slot = parseSlot(args[1]);
  Library library;
  readLibrary(library, args[0]);
  LibraryEntry entry;
  readPatchFile(entry, args[2]);
  library.slot(slot) = entry;  // header, data and model byte as read
  writeLibrary(library, args[0]);
  (void)io;
  return 0;
}

const bool registered =
    registerCommand(
        {"list", "list LIB.ZBL", "print the 100 rows of a library, one per line", 10, list}) &&
    registerCommand({"show", "show LIB.ZBL SLOT\nshow PATCH.ZBP",
                     "print a patch: name, model byte, header and every section", 20, show}) &&
    registerCommand({"new", "new [--force] LIB.ZBL",
                     "write a new library of 100 \"Empty\" slots (--force replaces a file)", 30,
                     makeNew}) &&
    registerCommand({"export", "export [--force] LIB.ZBL SLOT OUT.ZBP",
                     "write one slot as a patch file (--force replaces a file)", 40, exportSlot}) &&
    registerCommand({"import", "import LIB.ZBL SLOT IN.ZBP",
                     "put a patch file into a slot; the library is rewritten in place", 50,
                     importSlot});

}  // namespace

}  // namespace orv::cli
