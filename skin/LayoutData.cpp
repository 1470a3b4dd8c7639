#include "skin/LayoutData.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv {
namespace {

constexpr int kSmallStrip = 187, kAmpTypeStrip = 188, kAmpStrip = 189, kPlate = 190;
constexpr int kSwitchSprite = 192, kRatioScale = 193, kFirstAmpLabel = 194;
constexpr int kNarrowPullDownSprite = 212, kPullDownSprite = 213;

// One column of a section row: its x and, where it differs from the row's, its width.
struct Column {
  int x;
  int width = 0;
};

class TableBuilder {
 public:
  void add(int id, ControlKind kind, LayoutRect units, int image = 0, unsigned flags = 0,
           std::string_view text = {}) {
    rows_.push_back({id, kind, units, LayoutData::toPixels(units), image, flags, text});
  }

  // A row of controls of one kind: the n-th column gets the identifier first + n.
  void addRow(int first, ControlKind kind, std::span<const Column> columns, int y, int width,
              int height, int image) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const int w = columns[i].width ? columns[i].width : width;
      add(first + int(i), kind, {columns[i].x, y, w, height}, image);
    }
  }

  // Section labels are hidden statics whose text the main window draws.
  void addLabels(int first, std::span<const Column> columns, int y,
                 std::span<const std::string_view> texts) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const int w = columns[i].width ? columns[i].width : 32;
      add(first + int(i), ControlKind::Label, {columns[i].x, y, w, 8}, 0, kLayoutHidden, texts[i]);
    }
  }

  std::vector<ControlLayout> take() { return std::move(rows_); }

 private:
  std::vector<ControlLayout> rows_;
};

void addAmplifier(TableBuilder& t) {
  t.add(1078, ControlKind::Dial, {175, 43, 35, 34}, kAmpTypeStrip);
  // The amplifier-type names: five on the left of the selector, three on the right. The template
  // gives them the size of the cover pictures at the same places; the skin sets their widths.
  constexpr std::array<std::array<int, 2>, 8> names = {
      {{130, 72}, {130, 63}, {136, 54}, {136, 44}, {136, 36}, {210, 45}, {212, 54}, {210, 63}}};
  for (int i = 0; i < 8; ++i)
    t.add(1087 + i, ControlKind::Button, {names[i][0], names[i][1], 32, 8}, kFirstAmpLabel + i);
  t.add(1095, ControlKind::Picture, {210, 45, 32, 8}, 220);
  t.add(1096, ControlKind::Picture, {212, 54, 32, 8}, 221);
  t.add(1097, ControlKind::Picture, {210, 63, 32, 8}, 222);
  t.add(1099, ControlKind::Picture, {470, 22, 53, 13}, 225);
  t.add(1100, ControlKind::Picture, {251, 22, 53, 10}, 240);
  constexpr std::array<Column, 5> dials = {{{246, 38}, {288}, {329}, {371}, {412}}};
  t.addRow(1111, ControlKind::Dial, dials, 43, 37, 33, kAmpStrip);
  constexpr std::array<Column, 5> displays = {{{250}, {292}, {333}, {374}, {415}}};
  t.addRow(1101, ControlKind::NumberDisplay, displays, 32, 28, 11, kPlate);
  t.add(1117, ControlKind::PullDown, {458, 30, 67, 15}, kPullDownSprite);
}

void addSwitchesAndTypes(TableBuilder& t) {
  constexpr std::array<int, 5> switchY = {94, 149, 203, 257, 311};
  for (int i = 0; i < 5; ++i)
    t.add(1019 + i, ControlKind::Button, {144, switchY[i], 17, 28}, kSwitchSprite);
  t.add(1033, ControlKind::PullDown, {167, 107, 67, 15}, kPullDownSprite);
  t.add(1034, ControlKind::PullDown, {167, 162, 67, 15}, kPullDownSprite);
  t.add(1035, ControlKind::PullDown, {165, 210, 67, 15}, kPullDownSprite, kLayoutHidden);
  t.add(1036, ControlKind::PullDown, {167, 270, 67, 15}, kPullDownSprite);
  t.add(1147, ControlKind::PullDown, {432, 93, 43, 15}, kNarrowPullDownSprite);
}

// The common columns of the sections' dials and number displays.
constexpr std::array<Column, 7> kDialColumns = {{{253}, {290}, {328}, {365}, {402}, {440}, {477}}};
constexpr std::array<Column, 7> kDisplayColumns = {
    {{253}, {290}, {327}, {365}, {402}, {440}, {477}}};
constexpr std::array<Column, 7> kLabelColumns = {{{250}, {288}, {325}, {363}, {400}, {438}, {475}}};

void addCompressor(TableBuilder& t) {
  constexpr std::array<Column, 5> dials = {{{253}, {290}, {328}, {384}, {477}}};
  t.addRow(1141, ControlKind::Dial, dials, 107, 30, 28, kSmallStrip);
  constexpr std::array<int, 5> displayX = {253, 290, 327, 383, 476};
  for (int i = 0; i < 5; ++i)
    t.add(1131 + i, ControlKind::NumberDisplay, {displayX[i], i == 3 ? 97 : 96, 28, 11}, kPlate,
          i == 3 ? kLayoutHidden : 0u);
  constexpr std::array<Column, 6> labels = {{{250}, {288}, {325}, {382}, {436}, {474}}};
  constexpr std::array<std::string_view, 6> texts = {"Sustain", "Output", "", "", "", ""};
  t.addLabels(1151, labels, 87, texts);
  t.add(1276, ControlKind::Picture, {367, 102, 65, 35}, kRatioScale);
}

void addEffectAndDelay(TableBuilder& t) {
  std::array<Column, 5> dials = {kDialColumns[0], kDialColumns[1], kDialColumns[2], kDialColumns[3],
                                 kDialColumns[4]};
  const auto displays = std::span(kDisplayColumns).first(5);
  const auto labels = std::span(kLabelColumns).first(5);
  dials[4].width = 29;  // the effect's last dial is a unit narrower
  t.addRow(1171, ControlKind::Dial, dials, 161, 30, 28, kSmallStrip);
  t.addRow(1161, ControlKind::NumberDisplay, displays, 150, 28, 11, kPlate);
  constexpr std::array<std::string_view, 5> effectTexts = {"Speed", "Depth", "Mix", "", ""};
  t.addLabels(1181, labels, 141, effectTexts);

  t.addRow(1201, ControlKind::Dial, std::span(kDialColumns).first(5), 216, 30, 28, kSmallStrip);
  t.addRow(1191, ControlKind::NumberDisplay, displays, 204, 28, 11, kPlate);
  constexpr std::array<std::string_view, 5> delayTexts = {"Time", "Feedback", "High Cut", "Low Cut",
                                                          "Level"};
  t.addLabels(1211, labels, 195, delayTexts);
}

void addReverbAndGate(TableBuilder& t) {
  t.addRow(1231, ControlKind::Dial, kDialColumns, 270, 30, 28, kSmallStrip);
  t.addRow(1221, ControlKind::NumberDisplay, kDisplayColumns, 258, 28, 11, kPlate);
  std::array<Column, 7> labels = kLabelColumns;
  labels[3].width = 34;
  constexpr std::array<std::string_view, 7> reverbTexts = {
      "Time", "Pre Delay", "Low Cut", "High Cut", "High Ratio", "Low Ratio", "Level"};
  t.addLabels(1241, labels, 249, reverbTexts);

  t.addRow(1261, ControlKind::Dial, std::span(kDialColumns).first(2), 324, 30, 28, kSmallStrip);
  t.addRow(1251, ControlKind::NumberDisplay, std::span(kDisplayColumns).first(2), 312, 28, 11,
           kPlate);
  constexpr std::array<std::string_view, 2> gateTexts = {"Threshold", "Release"};
  t.addLabels(1271, std::span(kLabelColumns).first(2), 304, gateTexts);
}

void addLibrarySide(TableBuilder& t) {
  t.add(1012, ControlKind::ListBox, {10, 83, 100, 271}, 183);
  t.add(1287, ControlKind::ScrollBar, {113, 89, 8, 258}, 203);
  t.add(1285, ControlKind::RepeatButton, {112, 83, 8, 7}, 205);
  t.add(1284, ControlKind::RepeatButton, {112, 347, 8, 7}, 204);
  t.add(1004, ControlKind::Button, {132, 348, 16, 15}, 185, kLayoutDisabled);
  t.add(1273, ControlKind::Button, {429, 344, 93, 24}, 186, kLayoutDisabled);
  t.add(1076, ControlKind::EditBox, {254, 13, 268, 12});
  t.add(1077, ControlKind::StaticText, {12, 71, 96, 12});
}

std::vector<ControlLayout> buildTable() {
  TableBuilder t;
  addAmplifier(t);
  addSwitchesAndTypes(t);
  addCompressor(t);
  addEffectAndDelay(t);
  addReverbAndGate(t);
  addLibrarySide(t);
  return t.take();
}

const std::vector<ControlLayout>& table() {
  static const std::vector<ControlLayout> rows = buildTable();
  return rows;
}

}  // namespace

std::span<const ControlLayout> LayoutData::controls() {
  return table();
}

const ControlLayout* LayoutData::find(int id) {
  const auto& rows = table();
  const auto it =
      std::find_if(rows.begin(), rows.end(), [id](const ControlLayout& c) { return c.id == id; });
  return it == rows.end() ? nullptr : &*it;
}

const ControlLayout& LayoutData::at(int id) {
  if (const ControlLayout* c = find(id)) return *c;
  throw std::out_of_range("no control with identifier " + std::to_string(id));
}

}  // namespace orv
