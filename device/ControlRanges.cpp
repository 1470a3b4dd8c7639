#include "device/ControlRanges.h"

#include <array>

#include "patch/PatchData.h"

namespace orv::panel {

namespace {

constexpr uint8_t kAnyType = 0xFF;

constexpr uint8_t T(int t) {
  return static_cast<uint8_t>(1u << t);
}

struct TypeRow {
  Section section;
  uint8_t types;  // bit t set: the row applies while the type byte is t; kAnyType: always
  int count;
  std::array<PositionSpec, 7> positions;
};

constexpr ValueRange kPercent{0, 100};

// clang-format off
constexpr std::array<TypeRow, 11> kRows{{
    {Section::Amp, kAnyType, 5,
     {{{1002, kPercent}, {1003, kPercent}, {1004, kPercent}, {1005, kPercent}, {1006, kPercent}}}},
    {Section::Compressor, T(0), 2, {{{1009, kPercent}, {1010, kPercent}}}},
    {Section::Compressor, T(1), 5,
     {{{1011, {0, 600}}, {1012, kPercent}, {1013, kPercent}, {1014, {0, 5}, true},
       {1016, {0, 600}}}}},
    {Section::Effect, T(0), 3, {{{1019, kPercent}, {1020, kPercent}, {1021, kPercent}}}},
    {Section::Effect, T(1), 5,
     {{{1022, kPercent}, {1023, kPercent}, {1024, kPercent}, {1025, kPercent}, {1026, kPercent}}}},
    {Section::Effect, T(2), 2, {{{1031, kPercent}, {1032, kPercent}}}},
    {Section::Effect, T(3), 4, {{{1027, kPercent}, {1028, kPercent}, {1029, kPercent}, {1030, kPercent}}}},
    {Section::Delay, kAnyType, 5,
     {{{1035, {1, 9999}}, {1036, kPercent}, {1037, {1000, 16001}}, {1038, {21, 8000}},
       {1039, kPercent}}}},
    {Section::Reverb, T(0) | T(1) | T(2), 7,
     {{{1042, {3, 200}}, {1043, {1, 2000}}, {1044, {21, 8000}}, {1045, {1000, 16001}},
       {1046, {1, 10}}, {1047, {1, 14}}, {1048, kPercent}}}},
    // Spring's two knobs are 0..100 like every other plain percentage; keeping the Hall ranges
    // would make 0..2 unreachable and let values up to 2000 into a 0..100 parameter.
    {Section::Reverb, T(3), 2, {{{1049, kPercent}, {1050, kPercent}}}},
    {Section::Gate, kAnyType, 2, {{{1053, kPercent}, {1054, kPercent}}}},
}};

constexpr std::array<SectionControls, 6> kSections{{
    {Section::Amp, 1101, 1111, 5, 128, 0, 0},
    {Section::Compressor, 1131, 1141, 5, 144, 1019, kCompTypePullDown},
    {Section::Effect, 1161, 1171, 5, 160, 1020, kEffectTypePullDown},
    {Section::Delay, 1191, 1201, 5, 176, 1021, kDelayTypePullDown},
    {Section::Reverb, 1221, 1231, 7, 192, 1022, kReverbTypePullDown},
    {Section::Gate, 1251, 1261, 2, 208, 1023, 0},
}};

constexpr std::array<int, 8> kPullDownCounts{2, 4, 1, 4, 6, 3, 5, 6};
// clang-format on

const TypeRow* rowFor(Section s, uint8_t type) {
  for (const TypeRow& r : kRows) {
    const bool applies = r.types == kAnyType || (type < 8 && (r.types & T(type)) != 0);
    if (r.section == s && applies) return &r;
  }
  return nullptr;
}

}  // namespace

int pullDownItemCount(int kind) {
  if (kind < 0 || kind >= static_cast<int>(kPullDownCounts.size())) return 0;
  return kPullDownCounts[static_cast<std::size_t>(kind)];
}

const SectionControls* sectionControls(Section s) {
  for (const SectionControls& c : kSections)
    if (c.section == s) return &c;
  return nullptr;
}

std::optional<ControlPosition> controlPosition(int controlId) {
  for (const SectionControls& c : kSections) {
    if (controlId >= c.firstDial && controlId < c.firstDial + c.positions)
      return ControlPosition{c.section, controlId - c.firstDial, true};
    if (controlId >= c.firstEdit && controlId < c.firstEdit + c.positions)
      return ControlPosition{c.section, controlId - c.firstEdit, false};
  }
  return std::nullopt;
}

const PositionSpec* positionSpec(Section s, uint8_t type, int position) {
  const TypeRow* row = rowFor(s, type);
  if (row == nullptr || position < 0 || position >= row->count) return nullptr;
  return &row->positions[static_cast<std::size_t>(position)];
}

ValueRange ampTypeRange(char modelCode) {
  return {0, maxAmpType(modelCode)};
}

std::optional<ValueRange> knobRange(int id) {
  for (const TypeRow& r : kRows)
    for (int i = 0; i < r.count; ++i)
      if (r.positions[static_cast<std::size_t>(i)].id == id)
        return r.positions[static_cast<std::size_t>(i)].range;
  return std::nullopt;
}

std::string_view sectionTitle(Section s, char modelCode) {
  switch (s) {
    case Section::Amp:
      return "Amp";
    case Section::Compressor:
      return "Compressor";
    case Section::Effect:
      return "Effect";
    case Section::Delay:
      return modelCode == '3' ? "Tape Echo" : "Delay";
    case Section::Reverb:
      return "Reverb";
    case Section::Gate:
      return "Noise Gate";
    default:
      return {};
  }
}

std::string_view ampSelectorTitle(char modelCode) {
  return modelCode == '4' ? "Mic Type" : "Amp Type";
}

}  // namespace orv::panel
