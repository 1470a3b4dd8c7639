// Commands that organise and exchange the slots of a library file: rename, move, copy,
// syx-export and syx-import. Each reads the whole library first and rewrites it in place only
// once everything has been checked, so a refused command leaves the file as it was.
#include <CLI/CLI.hpp>
#include <memory>

#include "device/SyxFile.h"
#include "patch/LibraryFile.h"
#include "patch/LibrarySlots.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"

namespace orv::cli {

namespace {

namespace fs = std::filesystem;

// Reads the library, lets `change` edit it and writes it back.
template <typename Change>
int rewrite(const std::string& lib, Change change) {
  Library library;
  readLibrary(library, lib);
  change(library);
  writeLibrary(library, lib);
  return 0;
}

int renameCommand(const std::string& lib, const std::string& slotText, const std::string& name) {
  const std::size_t slot = parseSlot(slotText);
  return rewrite(lib, [&](Library& l) { renameSlot(l, slot, name); });
}

int moveCommand(const std::string& lib, const std::string& fromText, const std::string& toText) {
  const std::size_t from = parseSlot(fromText), to = parseSlot(toText);
  return rewrite(lib, [&](Library& l) { moveSlot(l, from, to); });
}

int copyCommand(const std::string& lib, const std::string& fromText, const std::string& toText) {
  const std::size_t from = parseSlot(fromText), to = parseSlot(toText);
  return rewrite(lib, [&](Library& l) { copySlot(l, from, to); });
}

int syxExport(const std::string& lib, const std::vector<std::string>& slotTexts,
              const std::string& out, bool force) {
  std::vector<std::size_t> slots;
  for (const std::string& text : slotTexts) slots.push_back(parseSlot(text));
  Library library;
  readLibrary(library, lib);
  if (slots.empty())
    for (std::size_t i = 0; i < library.size(); ++i) slots.push_back(i);
  std::vector<PatchData> patches;
  for (std::size_t slot : slots) patches.push_back(library.slot(slot).data);
  refuseToReplace(out, force);
  writeSyxFile(patches, out);
  return 0;
}

int syxImport(const std::string& lib, const std::string& slotText, const std::string& in, Io& io) {
  const std::size_t first = parseSlot(slotText);
  Library library;
  readLibrary(library, lib);
  const SyxContents syx = readSyxFile(in);
  if (first + syx.patches.size() > library.size())
    throw CliError(in + ": " + std::to_string(syx.patches.size()) +
                   " patches do not fit from slot " + slotText + " on; nothing imported");
  for (std::size_t i = 0; i < syx.patches.size(); ++i)
    library.slot(first + i) = entryFromSyx(syx.patches[i], patch::kAnyModel);
  writeLibrary(library, lib);
  io.out << syx.patches.size() << " patches into slots " << first + 1 << ".."
         << first + syx.patches.size() << ", " << syx.foreignMessages
         << " other messages skipped\n";
  return 0;
}

struct SlotArgs {
  std::string lib, slot, other, file;
  std::vector<std::string> slots;
  bool force = false;
};

const char* const kLibHelp = "the library file, rewritten in place";

Runner declareRename(CLI::App& app) {
  auto a = std::make_shared<SlotArgs>();
  addArgument(app, "LIB.ZBL", a->lib, kLibHelp);
  addArgument(app, "SLOT", a->slot, "a slot number, 1 to 100");
  addArgument(app, "NAME", a->other, "the new name: up to 64 characters, ASCII only");
  return [a](Io&) { return renameCommand(a->lib, a->slot, a->other); };
}

Runner declareMove(CLI::App& app) {
  auto a = std::make_shared<SlotArgs>();
  addArgument(app, "LIB.ZBL", a->lib, kLibHelp);
  addArgument(app, "FROM", a->slot, "the slot to move, 1 to 100");
  addArgument(app, "TO", a->other, "where it goes, 1 to 100");
  return [a](Io&) { return moveCommand(a->lib, a->slot, a->other); };
}

Runner declareCopy(CLI::App& app) {
  auto a = std::make_shared<SlotArgs>();
  addArgument(app, "LIB.ZBL", a->lib, kLibHelp);
  addArgument(app, "FROM", a->slot, "the slot to copy, 1 to 100");
  addArgument(app, "TO", a->other, "the slot it replaces, 1 to 100");
  return [a](Io&) { return copyCommand(a->lib, a->slot, a->other); };
}

Runner declareSyxExport(CLI::App& app) {
  auto a = std::make_shared<SlotArgs>();
  addForceOption(app, a->force);
  addArgument(app, "LIB.ZBL", a->lib, "the library file");
  addArgument(app, "OUT.syx", a->file, "the SysEx file to write");
  app.add_option("SLOT", a->slots, "the slots to write, in this order (default: all 100)");
  return [a](Io&) { return syxExport(a->lib, a->slots, a->file, a->force); };
}

Runner declareSyxImport(CLI::App& app) {
  auto a = std::make_shared<SlotArgs>();
  addArgument(app, "LIB.ZBL", a->lib, kLibHelp);
  addArgument(app, "SLOT", a->slot, "the first slot to fill, 1 to 100");
  addArgument(app, "IN.syx", a->file, "the SysEx file to read");
  return [a](Io& io) { return syxImport(a->lib, a->slot, a->file, io); };
}

const bool registered =
    registerCommand({"rename", "give a slot's patch a new name", 52, declareRename}) &&
    registerCommand({"move", "move a slot; the slots between shift by one", 54, declareMove}) &&
    registerCommand({"copy", "copy a slot over another", 56, declareCopy}) &&
    registerCommand({"syx-export",
                     "write slots as a standard SysEx file, one Bulk Dump each (--force replaces "
                     "a file)",
                     64, declareSyxExport}) &&
    registerCommand({"syx-import",
                     "put the Bulk Dumps of a SysEx file into consecutive slots (model byte FF);\n"
                     "      other messages are skipped and counted",
                     66, declareSyxImport});

}  // namespace

}  // namespace orv::cli
