// Commands on library and patch files: list, show, new, export, import.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <system_error>

#include "patch/LibraryFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "device/PatchSections.h"

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

int list(const std::string& lib, Io& io) {
  std::error_code unreadable;  // reported by the read below, with the file's name
  if (magicOf(lib, unreadable) == "VKRP")
    throw CliError(lib + " is a patch file, not a library; use: orv-cli show " + lib);
  Library library;
  readLibrary(library, lib);
  for (const std::string& row : rowTexts(library)) io.out << latin1ToUtf8(row) << '\n';
  return 0;
}

int show(const std::string& file, const std::optional<std::string>& slotText, Io& io) {
  LibraryEntry entry;
  if (slotText) {  // also an empty one: "" is no slot number
    const std::size_t slot = parseSlot(*slotText);
    Library library;
    readLibrary(library, file);
    entry = library.slot(slot);
    io.out << "Slot: " << slot + 1 << '\n';
  } else {
    readPatchFile(entry, file);
  }
  showEntry(entry, io.out);
  return 0;
}

int makeNew(const fs::path& path, bool force) {
  refuseToReplace(path, force);
  PatchData patch;
  initPatch(std::nullopt, patch);
  writeLibrary(makeNewLibrary(patch), path);
  return 0;
}

int exportSlot(const std::string& lib, const std::string& slotText, const std::string& out,
               bool force) {
  const std::size_t slot = parseSlot(slotText);
  Library library;
  readLibrary(library, lib);
  refuseToReplace(out, force);
  writePatchFile(library.slot(slot), out);
  return 0;
}

int importSlot(const std::string& lib, const std::string& slotText, const std::string& in) {
  const std::size_t slot = parseSlot(slotText);
  Library library;
  readLibrary(library, lib);
  LibraryEntry entry;
  readPatchFile(entry, in);
  library.slot(slot) = entry;  // header, data and model byte as read
  writeLibrary(library, lib);
  return 0;
}

// The arguments of a file command as parsed.
struct FileArgs {
  std::string lib, slot, file;
  bool force = false;
};

const char* const kLibHelp = "the library file";
const char* const kSlotHelp = "a slot number, 1 to 100";

Runner declareList(CLI::App& app) {
  auto a = std::make_shared<FileArgs>();
  addArgument(app, "LIB.ZBL", a->lib, kLibHelp);
  return [a](Io& io) { return list(a->lib, io); };
}

Runner declareShow(CLI::App& app) {
  auto a = std::make_shared<FileArgs>();
  addArgument(app, "FILE", a->file, "the library file (with SLOT) or the patch file");
  addArgument(app, "SLOT", a->slot, kSlotHelp, true);
  const CLI::Option* slot = app.get_option("SLOT");
  return [a, slot](Io& io) {
    return show(a->file, slot->count() > 0 ? std::optional(a->slot) : std::nullopt, io);
  };
}

Runner declareNew(CLI::App& app) {
  auto a = std::make_shared<FileArgs>();
  addForceOption(app, a->force);
  addArgument(app, "LIB.ZBL", a->lib, "the library file to write");
  return [a](Io&) { return makeNew(a->lib, a->force); };
}

Runner declareExport(CLI::App& app) {
  auto a = std::make_shared<FileArgs>();
  addForceOption(app, a->force);
  addArgument(app, "LIB.ZBL", a->lib, kLibHelp);
  addArgument(app, "SLOT", a->slot, kSlotHelp);
  addArgument(app, "OUT.ZBP", a->file, "the patch file to write");
  return [a](Io&) { return exportSlot(a->lib, a->slot, a->file, a->force); };
}

Runner declareImport(CLI::App& app) {
  auto a = std::make_shared<FileArgs>();
  addArgument(app, "LIB.ZBL", a->lib, kLibHelp);
  addArgument(app, "SLOT", a->slot, kSlotHelp);
  addArgument(app, "IN.ZBP", a->file, "the patch file to read");
  return [a](Io&) { return importSlot(a->lib, a->slot, a->file); };
}

const bool registered =
    registerCommand({"list", "print the 100 rows of a library, one per line", 10, declareList}) &&
    registerCommand({"show",
                     "print a patch: name, model byte, header and every section",
                     20,
                     declareShow,
                     {"LIB.ZBL SLOT", "PATCH.ZBP"}}) &&
    registerCommand({"new", "write a new library of 100 \"Empty\" slots (--force replaces a file)",
                     30, declareNew}) &&
    registerCommand({"export", "write one slot as a patch file (--force replaces a file)", 40,
                     declareExport}) &&
    registerCommand({"import", "put a patch file into a slot; the library is rewritten in place",
                     50, declareImport});

}  // namespace

}  // namespace orv::cli
