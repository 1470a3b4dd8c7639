#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device/PatchDifferences.h"

using namespace orv;

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const PatchData& before, const PatchData& after, uint8_t model = '1') {
  Rows rows;
  for (const PatchDifference& d : patchDifferences({before, model}, {after, model}))
    rows.push_back({d.section, d.parameter, d.before, d.after});
  return rows;
}

void rename(PatchData& p, const std::string& name) {
  std::fill_n(p.bytes.begin(), patch::kNameLength, 0);
  std::copy(name.begin(), name.end(), p.bytes.begin());
}

}  // namespace

TEST(PatchDifferences, SamePatchHasNoRows) {
  PatchData p;
  initPatch("Clean", p);
  EXPECT_TRUE(rowsOf(p, p).empty());
}

// Chorus and Flanger keep their settings in the same bytes: read under the other type they would
// be numbers without a meaning, so each type's settings are listed under its own name.
TEST(PatchDifferences, ChangedEffectTypeListsEachTypesOwnSettings) {
  PatchData stored;
  initPatch("Clean", stored);
  stored[patch::kGain] = 50;
  stored[161] = 40;  // Chorus Speed
  stored[162] = 12;  // Chorus Depth
  PatchData edited = stored;
  rename(edited, "Lead");
  edited[patch::kGain] = 62;
  edited[patch::kEffectType] = patch::Flanger;
  edited[patch::kEffectOn] = patch::kOn;
  for (uint8_t at = 161; at <= 165; ++at) edited[at] = 0;
  edited[162] = 25;  // Flanger Manual

  const Rows expected = {
      {"Patch", "Name", "Clean", "Lead"},
      {"Amp", "Gain", "5.0", "6.2"},
      {"Effect", "Type", "Chorus", "Flanger"},
      {"Effect", "On/Off", "Off", "On"},
      {"Effect", "Flanger Speed", "(not in use)", "0.0"},
      {"Effect", "Flanger Manual", "(not in use)", "2.5"},
      {"Effect", "Flanger Depth", "(not in use)", "0.0"},
      {"Effect", "Flanger Feedback", "(not in use)", "0.0"},
      {"Effect", "Flanger Spread", "(not in use)", "0.0"},
      {"Effect", "Chorus Speed", "4.0", "(not in use)"},
      {"Effect", "Chorus Depth", "1.2", "(not in use)"},
      {"Effect", "Chorus Mix", "0.0", "(not in use)"},
  };
  EXPECT_EQ(rowsOf(stored, edited), expected);
}

// Hall and Room share their knobs: only what changed is listed. Bytes no knob of the present
// types reads (the Spring's, spare ones) are counted, not shown as numbers.
TEST(PatchDifferences, SharedKnobsAreComparedAndUnusedBytesCounted) {
  PatchData stored;
  initPatch("Clean", stored);
  stored[203] = 30;  // Hall Level
  PatchData edited = stored;
  edited[patch::kReverbType] = patch::Room;
  edited[203] = 45;
  edited[100] = 7;  // spare byte
  edited[166] = 9;  // beyond the Chorus' knobs
  edited[255] = 1;  // never stored
  const Rows expected = {
      {"Reverb", "Type", "Hall", "Room"},
      {"Reverb", "Level", "3.0", "4.5"},
      {"Patch", "Data not in use", "", "2 bytes differ"},
  };
  EXPECT_EQ(rowsOf(stored, edited), expected);
}
