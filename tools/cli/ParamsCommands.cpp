// The parameter identifiers of a model: what `format`, `parse`, `sysex encode param` and the
// simulator's `knob` take, with the section, caption, range and unit the panel shows.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iomanip>
#include <map>
#include <memory>

#include "device/ControlRanges.h"
#include "device/ParameterMap.h"
#include "patch/NameLists.h"
#include "patch/PatchData.h"
#include "patch/ValueText.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"
#include "device/PatchSections.h"

namespace orv::cli {

namespace {

struct ParamRow {
  std::string section, types, caption, range, unit;
};
using ParamRows = std::map<int, ParamRow>;

std::string joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

std::string rangeText(int min, int max) {
  return std::to_string(min) + ".." + std::to_string(max);
}

// The unit of a value text: what follows the number ("ms" of "30.0ms"); none for a bare number
// or a word ("Thru").
std::string unitOf(const std::string& text) {
  const std::size_t end = text.find_first_not_of("+-0123456789.");
  return end == 0 || end == std::string::npos ? std::string() : text.substr(end);
}

std::vector<std::string> listNames(int list, int count) {
  std::vector<std::string> names;
  const auto items = pullDownItems(list);
  for (int i = 0; i < count && i < int(items.size()); ++i) names.emplace_back(items[size_t(i)]);
  return names;
}

// The sections whose knobs change with the section's type.
bool typedKnobs(const std::string& key) {
  return key == "compressor" || key == "effect" || key == "reverb";
}

// Every knob and knob-like pull-down (cabinet, knee), found by describing a patch with each
// type of each section.
void addKnobs(ParamRows& rows, char model) {
  for (uint8_t type = 0; type < 4; ++type) {
    PatchData p;
    for (std::size_t at : {patch::kCompType, patch::kEffectType, patch::kReverbType}) p[at] = type;
    for (const SectionView& s : describePatch(p, uint8_t(model))) {
      for (const ParameterView& v : s.parameters) {
        auto [at, added] = rows.try_emplace(v.id, ParamRow{s.title, "", v.caption, "", ""});
        if (typedKnobs(s.key) && s.typeName)
          at->second.types += (at->second.types.empty() ? "" : ", ") + *s.typeName;
        if (!added) continue;
        if (v.selector) {
          const int list = v.id == params::kCabinet ? cabinetListKind(model) : panel::kKneeList;
          const int count = panel::pullDownItemCount(list);
          at->second.range = rangeText(0, count - 1);
          at->second.unit = joined(listNames(list, count), ", ");
        } else if (v.id == 1014) {
          std::vector<std::string> marks;
          for (int i = 0; !ratioMark(i).empty(); ++i) marks.emplace_back(ratioMark(i));
          at->second.range = rangeText(0, int(marks.size()) - 1);
          at->second.unit = "ratio " + joined(marks, ", ");
        } else if (const auto range = panel::knobRange(v.id)) {
          const std::string min = formatValue(v.id, range->min),
                            max = formatValue(v.id, range->max);
          at->second.range = rangeText(range->min, range->max);
          at->second.unit = "shown " + min + ".." + max;
          const std::string unit = unitOf(min).empty() ? unitOf(max) : unitOf(min);
          if (!unit.empty()) at->second.unit += ", unit " + unit;
        }
      }
    }
  }
}

// The type bytes (chosen with the pull-downs and the amp type knob) and the on/off switches.
void addTypesAndSwitches(ParamRows& rows, char model) {
  std::vector<std::string> amps;
  for (int i = 0; i <= maxAmpType(model); ++i) amps.emplace_back(ampModelName(model, i));
  rows[params::kAmpType] = {"Amp", "", "Type", rangeText(0, maxAmpType(model)), joined(amps, ", ")};
  std::vector<std::string> effects;
  for (uint8_t data = 0; data < 4; ++data)
    effects.emplace_back(pullDownItems(panel::kEffectTypeList)[effectDataToList(data)]);
  rows[params::kEffectType] = {"Effect", "", "Type", "0..3", joined(effects, ", ")};
  const struct {
    int id;
    const char* section;
    int list;
  } typed[] = {{params::kCompType, "Compressor", panel::kCompTypeList},
               {params::kDelayType, "Delay", panel::kDelayTypeList},
               {params::kReverbType, "Reverb", panel::kReverbTypeList}};
  for (const auto& t : typed) {
    const int count = panel::pullDownItemCount(t.list);
    rows[t.id] = {t.section, "", "Type", rangeText(0, count - 1),
                  joined(listNames(t.list, count), ", ")};
  }
  rows[params::kGateType] = {"Gate", "", "Type", "0", ""};
  const std::pair<int, const char*> switches[] = {{params::kCompOn, "Compressor"},
                                                  {params::kEffectOn, "Effect"},
                                                  {params::kDelayOn, "Delay"},
                                                  {params::kReverbOn, "Reverb"},
                                                  {params::kGateOn, "Gate"}};
  for (const auto& [id, section] : switches)
    rows[id] = {section, "", "On/Off", "0 or 127", "0 on, 127 off"};
}

char parseModel(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '4')
    throw UsageError("MODEL must be 0 to 4, not '" + text + "'");
  return text[0];
}

int printParams(const std::string& modelText, Io& io) {
  const char model = parseModel(modelText);
  ParamRows rows;
  addKnobs(rows, model);
  addTypesAndSwitches(rows, model);
  io.out << "Parameters of model " << model
         << " (ID for format, parse and the simulator's knob; OFFSET for sysex encode param)\n";
  const auto column = [&](const std::string& text, int width) {
    io.out << std::left << std::setw(width) << text << ' ';
  };
  column("ID", 4), column("OFFSET", 6), column("SECTION", 10), column("CAPTION", 11);
  column("RANGE", 11), io.out << "UNIT / VALUES\n";
  for (const auto& [id, row] : rows) {
    column(std::to_string(id), 4), column(std::to_string(params::offsetOf(id)), 6);
    column(row.section, 10), column(row.caption, 11), column(row.range, 11);
    io.out << row.unit;
    if (!row.types.empty()) io.out << (row.unit.empty() ? "" : "  ") << "[" << row.types << "]";
    io.out << '\n';
  }
  return 0;
}

Runner declareParams(CLI::App& app) {
  auto model = std::make_shared<std::string>("1");
  addArgument(app, "MODEL", *model, "the model code, 0 to 4 (default 1)", true);
  return [model](Io& io) { return printParams(*model, io); };
}

const bool registered = registerCommand(
    {"params",
     "list every parameter ID with its section, caption, range and unit for MODEL (default 1)", 75,
     declareParams});

}  // namespace

}  // namespace orv::cli
