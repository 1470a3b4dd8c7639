#include "device/PatchDifferences.h"

#include <algorithm>
#include <array>

#include "device/ParameterMap.h"
#include "device/PatchSections.h"
#include "patch/Library.h"

namespace orv {

namespace {

// Where each section of describePatch() keeps its type byte and its on/off byte (0: none).
constexpr std::array<std::size_t, 6> kTypeAt = {patch::kAmpType,    patch::kCompType,
                                                patch::kEffectType, patch::kDelayType,
                                                patch::kReverbType, patch::kGateType};
constexpr std::array<std::size_t, 6> kOnAt = {
    0, patch::kCompOn, patch::kEffectOn, patch::kDelayOn, patch::kReverbOn, patch::kGateOn};

// The stored bytes (the last of the 256 is never stored) and which of them a row speaks for.
constexpr std::size_t kStoredBytes = PatchData::kSize - 1;
using Covered = std::array<bool, PatchData::kSize>;

class Differ {
 public:
  Differ(const DescribedPatch& before, const DescribedPatch& after)
      : before_(before), after_(after) {}

  std::vector<PatchDifference> run() {
    compareName();
    compareModel();
    const auto a = describePatch(before_.data, before_.model);
    const auto b = describePatch(after_.data, after_.model);
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
      cover(kTypeAt[i], 1);
      if (kOnAt[i]) cover(kOnAt[i], 1);
      compareSection(a[i], b[i]);
    }
    countUncovered();
    return std::move(rows_);
  }

 private:
  void add(const std::string& section, std::string parameter, std::string before,
           std::string after) {
    rows_.push_back({section, std::move(parameter), std::move(before), std::move(after)});
  }

  void cover(std::size_t at, std::size_t count) {
    std::fill_n(covered_.begin() + static_cast<std::ptrdiff_t>(at), count, true);
  }

  void compareName() {
    cover(0, patch::kNameLength);
    const std::string a = patchName(before_.data), b = patchName(after_.data);
    if (a != b) add("Patch", "Name", a, b);
  }

  static std::string modelText(uint8_t model) {
    if (model == patch::kAnyModel) return "any model";
    if (model >= '0' && model <= '9') return std::string(1, static_cast<char>(model));
    return "byte " + std::to_string(model);
  }

  void compareModel() {
    if (before_.model != after_.model)
      add("Patch", "Model", modelText(before_.model), modelText(after_.model));
  }

  static std::string typeText(const SectionView& s) {
    return s.typeName ? *s.typeName : "type " + std::to_string(s.type);
  }

  static std::string onOffText(int byte) {
    if (byte == patch::kOn) return "On";
    if (byte == patch::kOff) return "Off";
    return std::to_string(byte);
  }

  static const ParameterView* find(const SectionView& s, int id) {
    for (const ParameterView& p : s.parameters)
      if (p.id == id) return &p;
    return nullptr;
  }

  void coverParameter(int id) {
    cover(static_cast<std::size_t>(params::offsetOf(id)), params::isTwoByte(id) ? 2 : 1);
  }

  void compareSection(const SectionView& a, const SectionView& b) {
    const bool sameType = a.type == b.type;
    if (!sameType) add(b.title, "Type", typeText(a), typeText(b));
    if (a.onOff && b.onOff && *a.onOff != *b.onOff)
      add(b.title, "On/Off", onOffText(*a.onOff), onOffText(*b.onOff));
    // The second patch's parameters in knob order, then those only the first one's type has.
    for (const ParameterView& p : b.parameters) {
      coverParameter(p.id);
      if (const ParameterView* old = find(a, p.id)) {
        if (old->value != p.value) add(b.title, p.caption, old->text, p.text);
      } else {
        add(b.title, typeText(b) + " " + p.caption, kNotInUse, p.text);
      }
    }
    for (const ParameterView& p : a.parameters) {
      if (find(b, p.id)) continue;
      coverParameter(p.id);
      add(b.title, typeText(a) + " " + p.caption, p.text, kNotInUse);
    }
  }

  // Bytes no row speaks for: the settings of types not in use and spare bytes. They are stored,
  // so a difference there is one, shown as a count rather than as numbers without a meaning.
  void countUncovered() {
    int count = 0;
    for (std::size_t at = 0; at < kStoredBytes; ++at)
      if (!covered_[at] && before_.data[at] != after_.data[at]) ++count;
    if (count == 0) return;
    add("Patch", "Data not in use", "",
        std::to_string(count) + (count == 1 ? " byte differs" : " bytes differ"));
  }

  const DescribedPatch& before_;
  const DescribedPatch& after_;
  Covered covered_{};
  std::vector<PatchDifference> rows_;
};

}  // namespace

std::vector<PatchDifference> patchDifferences(const DescribedPatch& before,
                                              const DescribedPatch& after) {
  return Differ(before, after).run();
}

}  // namespace orv
