// diff: two patches compared parameter by parameter, as the editor's Show Differences lists them.
// Each side is a patch file, a slot of a library file ("Rock.ZBL:3"), or JSON from to-json (a
// patch, or a slot of a library: "rock.json:3"). Exits as diff(1) does.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "device/PatchDifferences.h"
#include "patch/LibraryFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/PatchJson.h"

namespace orv::cli {

namespace {

namespace fs = std::filesystem;

// A side as typed: the file, and the slot index when one was named.
struct Source {
  std::string file;
  std::optional<std::size_t> slot;
};

// "Rock.ZBL:3" names slot 3; a file whose own name ends so is taken whole.
Source parseSource(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return {text, {}};
  const std::string number = text.substr(colon + 1);
  if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return {text, {}};
  std::error_code ec;
  if (fs::exists(text, ec)) return {text, {}};
  return {text.substr(0, colon), parseSlot(number)};
}

std::string magic(const std::string& file) {
  std::error_code reason;
  const std::optional<std::string> m = magicOf(file, reason);
  if (!m) throw CliError(file + ": cannot be read (" + reason.message() + ")");
  return *m;
}

Json jsonOf(const std::string& file) {
  try {
    const Json json = readJson(file);
    jsonKind(json);
    return json;
  } catch (const CliError&) {
    throw CliError(file + ": neither a patch file, a library file nor JSON written by to-json");
  }
}

// JSON whose fields disagree with its bytes is refused with the reason.
template <typename Read>
auto fromJson(const std::string& file, Read read) {
  try {
    return read();
  } catch (const CliError& e) {
    throw CliError(file + ": " + e.what());
  }
}

LibraryEntry slotOf(const std::string& file, std::size_t slot) {
  const std::string m = magic(file);
  if (m == "VKRP")
    throw UsageError(file + " is a patch file and has no slots; name it without \":" +
                     std::to_string(slot + 1) + "\"");
  Library library;
  if (m == "VKRB") {
    readLibrary(library, file);
  } else {
    const Json json = jsonOf(file);
    if (jsonKind(json) != JsonKind::Library)
      throw UsageError(file + " holds one patch and has no slots");
    library = fromJson(file, [&] { return libraryFromJson(json); });
  }
  return library.slot(slot);
}

LibraryEntry wholeFile(const std::string& file) {
  const std::string m = magic(file);
  const std::string slotHint = file + " is a library: name one of its slots, as " + file + ":1";
  if (m == "VKRB") throw UsageError(slotHint);
  LibraryEntry entry;
  if (m == "VKRP") {
    readPatchFile(entry, file);
    return entry;
  }
  const Json json = jsonOf(file);
  if (jsonKind(json) == JsonKind::Library) throw UsageError(slotHint);
  return fromJson(file, [&] { return patchFromJson(json); });
}

LibraryEntry load(const std::string& text) {
  const Source source = parseSource(text);
  return source.slot ? slotOf(source.file, *source.slot) : wholeFile(source.file);
}

// Columns are counted in characters, not in the bytes of their UTF-8.
std::size_t width(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

using Row = std::array<std::string, 4>;

void printTable(const std::vector<Row>& rows, std::ostream& out) {
  std::array<std::size_t, 3> widths{};
  for (const Row& row : rows)
    for (std::size_t i = 0; i < widths.size(); ++i) widths[i] = std::max(widths[i], width(row[i]));
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < widths.size(); ++i)
      out << row[i] << std::string(widths[i] - width(row[i]) + 2, ' ');
    out << row[3] << '\n';
  }
}

int diff(const std::string& a, const std::string& b, bool json, Io& io) {
  const LibraryEntry first = load(a), second = load(b);
  const auto rows =
      patchDifferences({first.data, first.modelCode}, {second.data, second.modelCode});
  if (json) {
    Json j = Json::object();
    j["a"] = a, j["b"] = b, j["same"] = rows.empty();
    j["differences"] = Json::array();
    for (const PatchDifference& d : rows)
      j["differences"].push_back({{"section", d.section},
                                  {"parameter", d.parameter},
                                  {"a", latin1ToUtf8(d.before)},
                                  {"b", latin1ToUtf8(d.after)}});
    io.out << j.dump(2) << '\n';
  } else if (rows.empty()) {
    io.out << "No differences: " << a << " and " << b << " hold the same sound and name.\n";
  } else {
    std::vector<Row> table{{"SECTION", "PARAMETER", a, b}};
    for (const PatchDifference& d : rows)
      table.push_back({d.section, d.parameter, latin1ToUtf8(d.before), latin1ToUtf8(d.after)});
    printTable(table, io.out);
  }
  return rows.empty() ? 0 : 1;
}

struct DiffArgs {
  std::string a, b;
  bool json = false;
};

const char* const kSideHelp =
    "a patch file (.ZBP), a library slot (LIB.ZBL:3, slots 1 to 100), or JSON written by "
    "to-json (a patch, or a library's slot: LIB.json:3)";

Runner declareDiff(CLI::App& app) {
  auto a = std::make_shared<DiffArgs>();
  app.add_flag("--json", a->json, "print the differences as JSON")
      ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
  addArgument(app, "A", a->a, std::string("the first patch: ") + kSideHelp);
  addArgument(app, "B", a->b, "the second patch, in any of the same forms");
  return [a](Io& io) { return diff(a->a, a->b, a->json, io); };
}

const bool registered = registerCommand(
    {"diff",
     "list the parameters in which patches A and B differ, valued as the panel shows them;\n"
     "      A and B are each a patch file, a library slot (LIB.ZBL:3) or to-json output (a\n"
     "      library's slot as LIB.json:3); exit 0 same, 1 different, 2 on wrong usage or a\n"
     "      file that cannot be read",
     25,
     declareDiff,
     {},
     2});

}  // namespace

}  // namespace orv::cli
