#include "ParameterReference.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "device/ControlRanges.h"
#include "device/ParameterMap.h"
#include "device/PatchSections.h"
#include "patch/NameLists.h"
#include "patch/PatchData.h"
#include "patch/ValueText.h"
#include "skin/ModelSkin.h"

namespace orv::helpdoc {

namespace {

using panel::Section;

constexpr const char* kEllipsis = " \xE2\x80\xA6 ";  // " … "
constexpr int kDelayHighCut = 1037, kDelayLowCut = 1038, kRackRatio = 1014;

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

std::vector<std::string> listNames(int list) {
  std::vector<std::string> names;
  for (std::string_view item : pullDownItems(list)) names.emplace_back(item);
  return names;
}

// The number at the start of a value text and the count of its decimals.
double numberOf(const std::string& text, int& decimals) {
  const std::size_t point = text.find('.');
  const std::size_t end = text.find_first_not_of("+-0123456789.");
  decimals = point == std::string::npos
                 ? 0
                 : int((end == std::string::npos ? text.size() : end) - point - 1);
  return std::strtod(text.c_str(), nullptr);
}

std::string unitOf(const std::string& text) {
  const std::size_t end = text.find_first_not_of("+-0123456789.");
  return end == std::string::npos ? std::string() : text.substr(end);
}

// One step of a read-out, taken between the second and third value so that a word at an end of
// the range ("Thru") does not get in the way.
std::string stepText(int id, int min) {
  const std::string a = formatValue(id, min + 1), b = formatValue(id, min + 2);
  int decimals = 0;
  const double first = numberOf(a, decimals);
  const double step = numberOf(b, decimals) - first;
  char number[32];
  std::snprintf(number, sizeof number, "%.*f", decimals, step);
  return number + unitOf(b);
}

// Range and step of a parameter as its read-out or selector shows them.
void describeValues(ReferenceRow& row, int id, char family) {
  if (id == params::kCabinet) {
    row.range = joined(listNames(cabinetListKind(family)));
  } else if (id == params::kKnee) {
    row.range = joined(listNames(panel::kKneeList));
  } else if (id == kRackRatio) {
    std::vector<std::string> marks;
    for (int i = 0; !ratioMark(i).empty(); ++i) marks.emplace_back(ratioMark(i));
    row.range = joined(marks);
  } else if (const auto range = panel::knobRange(id)) {
    row.range = formatValue(id, range->min) + kEllipsis + formatValue(id, range->max);
    row.step = stepText(id, range->min);
  }
}

bool shown(int id, const ModelSkin& skin) {
  if (id == params::kCabinet) return skin.hasCabinet;
  if (id == kDelayHighCut || id == kDelayLowCut) return skin.delayHasCuts;
  return true;
}

// A patch whose typed sections (compressor, effect, reverb) all hold item `item` of their
// pull-down lists.
PatchData patchOfListItem(uint8_t item) {
  PatchData p;
  p[patch::kCompType] = p[patch::kReverbType] = item;
  p[patch::kEffectType] = effectListToData(item);
  return p;
}

Section sectionOf(const std::string& key) {
  if (key == "amp") return Section::Amp;
  if (key == "compressor") return Section::Compressor;
  if (key == "effect") return Section::Effect;
  if (key == "delay") return Section::Delay;
  if (key == "reverb") return Section::Reverb;
  return Section::Gate;
}

bool typedKnobs(Section s) {
  return s == Section::Compressor || s == Section::Effect || s == Section::Reverb;
}

ReferenceTable knobTable(const SectionView& view, char family, const ModelSkin& skin) {
  const Section section = sectionOf(view.key);
  const std::string title(panel::sectionTitle(section, family));
  ReferenceTable t{ReferenceTable::Kind::Knobs, ParameterReference::slug(title), title, {}, {}};
  if (typedKnobs(section)) {
    t.key += "." + ParameterReference::slug(view.typeName.value_or("?"));
    t.title += ": " + view.typeName.value_or("?");
  }
  for (const ParameterView& v : view.parameters) {
    if (!shown(v.id, skin)) continue;
    ReferenceRow row{t.key + "." + ParameterReference::slug(v.caption), v.caption, "", ""};
    describeValues(row, v.id, family);
    t.rows.push_back(std::move(row));
  }
  return t;
}

ReferenceTable ampTypeTable(char family) {
  const std::string title(panel::ampSelectorTitle(family));
  ReferenceTable t{ReferenceTable::Kind::Choices, ParameterReference::slug(title), title, {}, {}};
  for (int type = 0; type <= maxAmpType(family); ++type) {
    const std::string name(ampModelName(family, type));
    t.rows.push_back({t.key + "." + ParameterReference::slug(name), name, "", ""});
  }
  return t;
}

// Position of a table's section on the panel; a section's types follow each other.
long rankOf(const ReferenceTable& t) {
  static const std::vector<std::string> order{"amp-type",   "mic-type", "amp",
                                              "compressor", "effect",   "delay",
                                              "tape-echo",  "reverb",   "noise-gate"};
  const std::string head = t.key.substr(0, t.key.find('.'));
  return std::find(order.begin(), order.end(), head) - order.begin();
}

bool panelOrder(const ReferenceTable& a, const ReferenceTable& b) {
  return rankOf(a) < rankOf(b);
}

bool sameContent(const ReferenceTable& a, const ReferenceTable& b) {
  return a.kind == b.kind && a.key == b.key && a.title == b.title && a.rows == b.rows;
}

}  // namespace

std::string ParameterReference::slug(std::string_view text) {
  std::string s;
  for (char c : text) {
    const bool digit = c >= '0' && c <= '9', upper = c >= 'A' && c <= 'Z';
    if (digit || upper || (c >= 'a' && c <= 'z'))
      s += upper ? char(c - 'A' + 'a') : c;
    else if (!s.empty() && s.back() != '-')
      s += '-';
  }
  while (!s.empty() && s.back() == '-') s.pop_back();
  return s;
}

std::vector<ReferenceTable> ParameterReference::ofFamily(char family) {
  const ModelSkin& skin = ModelSkin::forModel(family);
  std::vector<ReferenceTable> tables{ampTypeTable(family)};
  // List items 0..3 cover every type of every typed section, in the order of the pull-downs;
  // the untyped sections come once.
  for (uint8_t item = 0; item < 4; ++item) {
    for (const SectionView& view : describePatch(patchOfListItem(item), uint8_t(family))) {
      if (view.parameters.empty()) continue;
      ReferenceTable t = knobTable(view, family, skin);
      const bool seen = std::any_of(tables.begin(), tables.end(),
                                    [&](const ReferenceTable& o) { return o.key == t.key; });
      if (!seen) tables.push_back(std::move(t));
    }
  }
  std::stable_sort(tables.begin(), tables.end(), panelOrder);
  for (ReferenceTable& t : tables) t.families = {family};
  return tables;
}

std::vector<ReferenceTable> ParameterReference::build() {
  std::vector<ReferenceTable> all;
  for (char family = '0'; family <= '4'; ++family) {
    for (ReferenceTable& t : ofFamily(family)) {
      const auto same = std::find_if(all.begin(), all.end(),
                                     [&](const ReferenceTable& o) { return sameContent(o, t); });
      if (same != all.end())
        same->families.push_back(family);
      else
        all.push_back(std::move(t));
    }
  }
  // Every family's amplifier before the compressor, Tape Echo beside Delay.
  std::stable_sort(all.begin(), all.end(), panelOrder);
  return all;
}

}  // namespace orv::helpdoc
