#include "device/PatchSections.h"

#include "device/ParameterMap.h"
#include "patch/NameLists.h"
#include "patch/ValueText.h"

namespace orv {

namespace {

using Ids = std::vector<int>;

// Parameter identifiers of each section and type, in knob order.
Ids compressorIds(int type) {
  if (type == patch::Stomp) return {1009, 1010};
  if (type == patch::Rack) return {1011, 1012, 1013, 1014, 1015, 1016};
  return {};
}

Ids effectIds(int type) {
  switch (type) {
    case patch::Chorus:
      return {1019, 1020, 1021};
    case patch::Flanger:
      return {1022, 1023, 1024, 1025, 1026};
    case patch::Tremolo:
      return {1031, 1032};
    case patch::Phaser:
      return {1027, 1028, 1029, 1030};
    default:
      return {};
  }
}

Ids reverbIds(int type) {
  if (type >= patch::Hall && type <= patch::Plate)
    return {1042, 1043, 1044, 1045, 1046, 1047, 1048};
  if (type == patch::Spring) return {1049, 1050};
  return {};
}

std::optional<std::string> nameInList(int list, int index) {
  const auto items = pullDownItems(list);
  if (index < 0 || index >= static_cast<int>(items.size())) return std::nullopt;
  return std::string(items[static_cast<std::size_t>(index)]);
}

ParameterView parameter(const PatchData& p, int id, std::string_view caption, char model) {
  ParameterView v;
  v.id = id;
  v.caption = caption;
  v.value = readValue(p, static_cast<std::size_t>(params::offsetOf(id)), params::isTwoByte(id));
  std::optional<std::string> name;
  if (id == params::kCabinet || id == params::kKnee) {
    v.selector = true;
    name = nameInList(id == params::kCabinet ? cabinetListKind(model) : 5, v.value);
    v.known = name.has_value();
    v.text = name.value_or("?");
  } else if (id == 1014) {
    const std::string_view mark = ratioMark(v.value);
    v.text = mark.empty() ? std::string_view("?") : mark;
  } else {
    v.text = formatValue(id, v.value);
  }
  return v;
}

void addParameters(SectionView& s, const PatchData& p, const Ids& ids,
                   const std::vector<std::string_view>& captions, char model) {
  for (std::size_t i = 0; i < ids.size() && i < captions.size(); ++i)
    s.parameters.push_back(parameter(p, ids[i], captions[i], model));
}

SectionView ampSection(const PatchData& p, char model) {
  SectionView s{"Amp", "amp", p[patch::kAmpType], std::nullopt, std::nullopt, {}};
  const std::string_view name = ampModelName(model, s.type);
  if (!name.empty()) s.typeName = std::string(name);
  const std::string_view first = model == '4' ? "Blend" : "Gain";
  addParameters(s, p, {1002, 1003, 1004, 1005, 1006, 1007},
                {first, "Master", "Bass", "Middle", "Treble", "Cabinet"}, model);
  return s;
}

SectionView typedSection(const PatchData& p, std::string title, std::string key, std::size_t typeAt,
                         std::size_t onAt, int list, Section section, const Ids& ids, char model) {
  SectionView s{std::move(title), std::move(key), p[typeAt], std::nullopt, p[onAt], {}};
  if (list >= 0) {
    const int item = section == Section::Effect ? effectDataToList(p[typeAt]) : p[typeAt];
    s.typeName = nameInList(list, item);
  }
  addParameters(s, p, ids, knobCaptions(section, s.type), model);
  return s;
}

}  // namespace

std::vector<SectionView> describePatch(const PatchData& p, uint8_t modelByte) {
  const char model = modelByte >= '0' && modelByte <= '4' ? static_cast<char>(modelByte) : '0';
  return {
      ampSection(p, model),
      typedSection(p, "Compressor", "compressor", patch::kCompType, patch::kCompOn, 0,
                   Section::Compressor, compressorIds(p[patch::kCompType]), model),
      typedSection(p, "Effect", "effect", patch::kEffectType, patch::kEffectOn, 1, Section::Effect,
                   effectIds(p[patch::kEffectType]), model),
      typedSection(p, "Delay", "delay", patch::kDelayType, patch::kDelayOn, 2, Section::Delay,
                   {1035, 1036, 1037, 1038, 1039}, model),
      typedSection(p, "Reverb", "reverb", patch::kReverbType, patch::kReverbOn, 3, Section::Reverb,
                   reverbIds(p[patch::kReverbType]), model),
      typedSection(p, "Gate", "gate", patch::kGateType, patch::kGateOn, -1, Section::Gate,
                   {1053, 1054}, model),
  };
}

}  // namespace orv
