#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patch/MessageReporter.h"
#include "patch/PatchData.h"

using namespace orv;

namespace {
struct RecordingReporter : IMessageReporter {
  std::vector<int> shown;
  void showMessage(int id, Icon) override { shown.push_back(id); }
};
}  // namespace

TEST(PatchData, InitWithoutNameIsEmptyAndZeroPadded) {
  PatchData p;
  p.bytes.fill(0x55);
  initPatch(std::nullopt, p);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p.bytes.data()), 5), "Empty");
  for (std::size_t i = 5; i < 64; ++i) EXPECT_EQ(p[i], 0) << i;
  // Bytes the Init patch does not name stay as they were.
  for (std::size_t i : {64u, 127u, 135u, 143u, 147u, 152u, 164u, 165u, 224u, 255u})
    EXPECT_EQ(p[i], 0x55) << i;
  EXPECT_EQ(readValue(p, patch::kDelayHighCut, true), 1000);
  EXPECT_EQ(readValue(p, patch::kDelayLowCut, true), 21);
  EXPECT_EQ(readValue(p, 193, true), 3);
  EXPECT_EQ(readValue(p, 199, true), 1000);
  for (std::size_t on : {159u, 175u, 191u, 207u, 223u}) EXPECT_EQ(p[on], 127);
}

TEST(PatchData, InitCutsLongNamesWithoutTerminator) {
  PatchData p;
  const std::string name(70, 'x');
  initPatch(name, p);
  for (std::size_t i = 0; i < 64; ++i) EXPECT_EQ(p[i], 'x');
}

TEST(PatchData, TwoByteEncoding) {
  PatchData p;
  writeValue(p, 180, true, 16001);
  EXPECT_EQ(p[180], 125);
  EXPECT_EQ(p[181], 1);
  writeValue(p, 180, true, 600);
  EXPECT_EQ(p[180], 4);
  EXPECT_EQ(p[181], 88);
  EXPECT_EQ(readValue(p, 180, true), 600);
}

TEST(PatchData, TypeDefaultsAndUnknownTypes) {
  PatchData p;
  p.bytes.fill(9);
  EXPECT_TRUE(writeTypeDefaults(p, patch::kEffectType, patch::Tremolo));
  EXPECT_EQ(p[161], 0);
  EXPECT_EQ(p[162], 0);
  EXPECT_EQ(p[163], 9);
  EXPECT_FALSE(writeTypeDefaults(p, patch::kCompType, 2));
  EXPECT_FALSE(writeTypeDefaults(p, patch::kReverbType, 4));
  EXPECT_EQ(p[145], 9);
  EXPECT_EQ(effectListToData(2), patch::Phaser);
  EXPECT_EQ(effectListToData(3), patch::Tremolo);
}

TEST(PatchData, ModelChecks) {
  RecordingReporter r;
  LibraryEntry e;
  e.modelCode = 0;
  EXPECT_FALSE(acceptForModel(e, true, '2', r));
  e.modelCode = '1';
  EXPECT_FALSE(acceptForModel(e, true, '2', r));
  EXPECT_EQ(r.shown, (std::vector<int>{404, 404}));
  e.modelCode = '0';
  EXPECT_TRUE(acceptForModel(e, true, '1', r));
  e.modelCode = 0xFF;
  EXPECT_TRUE(acceptForModel(e, true, '4', r));
  e.modelCode = '3';
  EXPECT_TRUE(acceptForModel(e, false, '1', r));

  e.data[patch::kAmpType] = 6;
  EXPECT_FALSE(acceptAmpType(e.data, maxAmpType('4'), r));
  EXPECT_TRUE(acceptAmpType(e.data, 7, r));
}
