#include "tools/cli/PatchDesign.h"

#include <algorithm>

#include "device/ControlRanges.h"
#include "device/ParameterMap.h"
#include "patch/GenericException.h"
#include "patch/LibrarySlots.h"
#include "patch/NameLists.h"
#include "patch/StringTable.h"
#include "tools/cli/Cli.h"
#include "device/PatchSections.h"

namespace orv::cli {

namespace {

[[noreturn]] void bad(const std::string& where, const std::string& what) {
  throw CliError(where + ": " + what);
}

// A typed section: where its type and switch sit, its name list and its place in the panel.
struct SectionSpot {
  const char* key;
  std::size_t typeAt;
  std::size_t onAt;
  int list;
  panel::Section section;
};

constexpr SectionSpot kSpots[] = {
    {"compressor", patch::kCompType, patch::kCompOn, 0, panel::Section::Compressor},
    {"effect", patch::kEffectType, patch::kEffectOn, 1, panel::Section::Effect},
    {"delay", patch::kDelayType, patch::kDelayOn, 2, panel::Section::Delay},
    {"reverb", patch::kReverbType, patch::kReverbOn, 3, panel::Section::Reverb},
    {"gate", patch::kGateType, patch::kGateOn, -1, panel::Section::Gate},
};

std::string textOf(const Json& j, const std::string& where) {
  if (!j.is_string()) bad(where, "must be a string");
  return j.get<std::string>();
}

char modelOf(const Json& design, const std::string& where) {
  const auto it = design.find("model");
  if (it == design.end()) bad(where, "the field \"model\" is missing");
  const std::string model = textOf(*it, where + ".model");
  if (model.size() != 1 || model[0] < '0' || model[0] > '4')
    bad(where + ".model", "must be one of \"0\" to \"4\"");
  return model[0];
}

int indexIn(const std::vector<std::string_view>& names, const std::string& name,
            const std::string& where) {
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) bad(where, "\"" + name + "\" is not one of its names");
  return static_cast<int>(it - names.begin());
}

void setAmpType(PatchData& p, const Json& type, char model, const std::string& where) {
  std::vector<std::string_view> names;
  for (int i = 0; i <= maxAmpType(model); ++i) names.push_back(ampModelName(model, i));
  p[patch::kAmpType] = static_cast<uint8_t>(indexIn(names, textOf(type, where), where));
}

void setType(PatchData& p, const SectionSpot& s, const Json& type, const std::string& where) {
  if (s.list < 0) bad(where, "this section has one type only");
  int value = indexIn(pullDownItems(s.list), textOf(type, where), where);
  if (s.typeAt == patch::kEffectType) value = effectListToData(static_cast<uint8_t>(value));
  p[s.typeAt] = static_cast<uint8_t>(value);
  writeTypeDefaults(p, s.typeAt, static_cast<uint8_t>(value));
}

// The range of a parameter as the panel's controls take it.
panel::ValueRange rangeOf(int id, panel::Section section, uint8_t type, char model) {
  if (id == params::kCabinet) return {0, panel::pullDownItemCount(cabinetListKind(model)) - 1};
  if (id == params::kKnee) return {0, panel::pullDownItemCount(panel::kKneeList) - 1};
  for (int position = 0; position < 7; ++position)
    if (const panel::PositionSpec* spec = panel::positionSpec(section, type, position))
      if (spec->id == id) return spec->range;
  return {0, 127};
}

void setParameter(PatchData& p, const ParameterView& view, const Json& value,
                  panel::ValueRange range, char model, const std::string& where) {
  int raw = 0;
  if (view.selector) {
    const int list = view.id == params::kCabinet ? cabinetListKind(model) : panel::kKneeList;
    raw = indexIn(pullDownItems(list), textOf(value, where), where);
  } else {
    if (!value.is_number_integer()) bad(where, "must be a whole number");
    raw = value.get<int>();
    if (raw < range.min || raw > range.max)
      bad(where, "must lie within " + std::to_string(range.min) + ".." + std::to_string(range.max) +
                     ", not " + std::to_string(raw));
  }
  writeValue(p, static_cast<std::size_t>(params::offsetOf(view.id)), params::isTwoByte(view.id),
             raw);
}

// The parameters of a section, by caption, once its type is in place.
void setParameters(PatchData& p, const std::string& key, const Json& section, panel::Section s,
                   uint8_t type, char model, const std::string& where) {
  const std::vector<SectionView> views = describePatch(p, static_cast<uint8_t>(model));
  const auto view =
      std::find_if(views.begin(), views.end(), [&](const SectionView& v) { return v.key == key; });
  for (const auto& [caption, value] : section.items()) {
    if (caption == "type" || caption == "on") continue;
    const auto param = std::find_if(view->parameters.begin(), view->parameters.end(),
                                    [&](const ParameterView& v) { return v.caption == caption; });
    if (param == view->parameters.end())
      bad(where + "." + caption, "is not a knob of this section and type");
    setParameter(p, *param, value, rangeOf(param->id, s, type, model), model,
                 where + "." + caption);
  }
}

void setSwitch(PatchData& p, std::size_t onAt, const Json& on, const std::string& where) {
  if (!on.is_boolean()) bad(where, "must be true or false");
  p[onAt] = on.get<bool>() ? patch::kOn : patch::kOff;
}

void designSection(PatchData& p, const Json& design, const std::string& key, char model,
                   const std::string& where) {
  const auto it = design.find(key);
  if (it == design.end()) return;
  const Json& section = *it;
  const std::string at = where + "." + key;
  if (!section.is_object()) bad(at, "must be an object");
  if (key == "amp") {
    if (section.contains("type")) setAmpType(p, section["type"], model, at + ".type");
    if (section.contains("on")) bad(at + ".on", "the amplifier has no switch");
    setParameters(p, key, section, panel::Section::Amp, 0, model, at);
    return;
  }
  const SectionSpot& s = *std::find_if(std::begin(kSpots), std::end(kSpots),
                                       [&](const SectionSpot& x) { return x.key == key; });
  if (section.contains("type")) setType(p, s, section["type"], at + ".type");
  if (section.contains("on")) setSwitch(p, s.onAt, section["on"], at + ".on");
  setParameters(p, key, section, s.section, p[s.typeAt], model, at);
}

}  // namespace

LibraryEntry patchFromDesign(const Json& design, const std::string& where) {
  if (!design.is_object()) bad(where, "must be an object");
  static const char* const kKeys[] = {"name",   "model", "amp",    "compressor",
                                      "effect", "delay", "reverb", "gate"};
  for (const auto& [key, value] : design.items())
    if (std::none_of(std::begin(kKeys), std::end(kKeys), [&](const char* k) { return key == k; }))
      bad(where + "." + key, "is not a known field");
  const auto name = design.find("name");
  if (name == design.end()) bad(where, "the field \"name\" is missing");
  const std::string text = textOf(*name, where + ".name");
  try {
    checkPatchName(text);
  } catch (const CGenericException& e) {
    bad(where + ".name", std::string(stringText(e.code())));
  }
  const char model = modelOf(design, where);
  LibraryEntry entry;
  initPatch(text, entry.data);
  for (const char* key : {"amp", "compressor", "effect", "delay", "reverb", "gate"})
    designSection(entry.data, design, key, model, where);
  entry.header = storedHeader(entry.data);
  entry.modelCode = static_cast<uint8_t>(model);
  return entry;
}

Library libraryFromDesign(const Json& design) {
  if (!design.is_object() || !design.contains("patches") || !design["patches"].is_array())
    bad("design", "must be an object with a list \"patches\"");
  const Json& patches = design["patches"];
  if (patches.size() > Library::kSlots) bad("patches", "holds more than 100 designs");
  PatchData empty;
  initPatch(std::nullopt, empty);
  Library library = makeNewLibrary(empty);
  for (std::size_t i = 0; i < patches.size(); ++i)
    library.slot(i) = patchFromDesign(patches[i], "patches[" + std::to_string(i) + "]");
  return library;
}

}  // namespace orv::cli
