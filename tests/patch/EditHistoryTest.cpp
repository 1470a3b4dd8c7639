#include <gtest/gtest.h>

#include <chrono>

#include "patch/EditHistory.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using Step = EditHistory::Step;

constexpr std::size_t kGain = 129, kBass = 131;
const EditHistory::Clock::time_point kStart{1000s};

// A gesture on `control` at `ms` after the start that sets `offset` of `sound` to `value`.
Step turn(PatchData& sound, int control, std::size_t offset, uint8_t value, int ms) {
  Step s;
  s.control = control;
  s.at = kStart + std::chrono::milliseconds(ms);
  s.before.sound = sound;
  sound[offset] = value;
  s.after.sound = sound;
  return s;
}

TEST(EditHistory, ADragIsOneStepAndSeparateControlsOrPausesStayApart) {
  EditHistory h;
  PatchData sound;
  // A drag: 200 ms apart each, two seconds in all.
  for (int i = 1; i <= 10; ++i) h.record(turn(sound, 1111, kGain, uint8_t(i * 10), i * 200));
  ASSERT_EQ(h.size(), 1u) << "one drag, one step";
  // Another knob at once, then the first knob again, then the first after a pause.
  h.record(turn(sound, 1113, kBass, 7, 2100));
  h.record(turn(sound, 1111, kGain, 3, 2200));
  h.record(turn(sound, 1111, kGain, 4, 2800));
  EXPECT_EQ(h.size(), 4u);
  // Gestures of no control (a typed value, a switch) never join.
  h.record(turn(sound, 0, kBass, 8, 2810));
  h.record(turn(sound, 0, kBass, 9, 2820));
  EXPECT_EQ(h.size(), 6u);

  for (int i = 0; i < 5; ++i) ASSERT_NE(h.undo(), nullptr);
  const Step* drag = h.undo();
  ASSERT_NE(drag, nullptr);
  EXPECT_EQ(drag->before.sound[kGain], 0);
  EXPECT_EQ(drag->after.sound[kGain], 100) << "the drag's last value";
  EXPECT_EQ(h.undo(), nullptr);
}

TEST(EditHistory, AGestureAfterUndoOrRedoNeitherJoinsNorKeepsTheRedoSteps) {
  EditHistory h;
  PatchData sound;
  h.record(turn(sound, 1111, kGain, 10, 0));
  h.record(turn(sound, 1113, kBass, 20, 10));
  ASSERT_NE(h.undo(), nullptr);
  ASSERT_NE(h.redo(), nullptr);
  h.record(turn(sound, 1113, kBass, 30, 20));
  EXPECT_EQ(h.size(), 3u) << "the same knob right after a redo is a step of its own";

  ASSERT_NE(h.undo(), nullptr);
  sound[kBass] = 20;
  h.record(turn(sound, 1111, kGain, 40, 30));
  EXPECT_EQ(h.size(), 3u) << "the undone step is gone";
  EXPECT_FALSE(h.canRedo());
  EXPECT_EQ(h.undo()->after.sound[kGain], 40);
  EXPECT_EQ(h.undo()->after.sound[kBass], 20);
}

TEST(EditHistory, NothingChangedIsNoStepAndTheOldestStepsGoAtTheLimit) {
  EditHistory h(3);
  PatchData sound;
  Step same = turn(sound, 0, kGain, 0, 0);
  h.record(same);
  EXPECT_EQ(h.size(), 0u);
  for (int i = 1; i <= 5; ++i) h.record(turn(sound, 0, kGain, uint8_t(i), i * 1000));
  EXPECT_EQ(h.size(), 3u);
  const Step* s = nullptr;
  for (int i = 0; i < 3; ++i) s = h.undo();
  EXPECT_EQ(s->before.sound[kGain], 2) << "steps 1 and 2 were dropped";
  EXPECT_EQ(h.undo(), nullptr);
}

TEST(EditHistory, OnlyANewBaselineWithMoreThanANewNameIsALoad) {
  Step s;
  s.after.baseline[kGain] = 1;  // stored or loaded
  s.after.sound = s.after.baseline;
  EXPECT_TRUE(s.loads());
  s.after.sound = s.before.sound;
  s.after.sound[0] = 'N';  // stored under a new name
  EXPECT_FALSE(s.loads());
  s.after.baseline = s.before.baseline;
  s.after.sound[kGain] = 1;  // a knob
  EXPECT_FALSE(s.loads());
}

TEST(EditHistory, SlotsAreRestoredEitherWay) {
  Library before = makeNewLibrary(PatchData{});
  Library after = before;
  after.slot(3).data[kGain] = 50;
  after.slot(97).modelCode = '2';
  Step s;
  s.changed = EditHistory::changedSlots(before, after);
  ASSERT_EQ(s.changed.size(), 2u);
  EXPECT_EQ(s.changed[1].slot, 97u);
  Library walked = after;
  EditHistory::restoreSlots(walked, s, true);
  EXPECT_EQ(walked, before);
  EditHistory::restoreSlots(walked, s, false);
  EXPECT_EQ(walked, after);
}

}  // namespace
}  // namespace orv
