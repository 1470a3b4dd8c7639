// The edit history: recording a step (a knob turn of its own, one joining a drag, a library step
// of one slot, found by comparing a full library) into a history that is full.
#include <chrono>
#include <cstdint>
#include <string>

#include "BenchReport.h"
#include "patch/EditHistory.h"
#include "patch/Library.h"

namespace {

using orv::EditHistory;

EditHistory::Step knobStep(orv::PatchData& sound, int control, EditHistory::Clock::time_point at,
                           int i) {
  EditHistory::Step s;
  s.control = control;
  s.at = at;
  s.before.sound = sound;
  s.before.baseline = sound;
  sound[129] = static_cast<uint8_t>(i % 128);
  sound[130] = static_cast<uint8_t>(i / 128 % 128);
  s.after = s.before;
  s.after.sound = sound;
  return s;
}

orv::Library fullLibrary() {
  orv::Library library;
  for (int i = 0; i < 100; ++i) {
    orv::LibraryEntry e;
    orv::initPatch("Bench patch " + std::to_string(i), e.data);
    library.append(e);
  }
  return library;
}

}  // namespace

int main() {
  using namespace std::chrono_literals;
  EditHistory history;
  orv::PatchData sound;
  auto at = EditHistory::Clock::time_point{};
  int i = 0;
  // Full from the start: every new step also drops the oldest.
  for (; i < int(EditHistory::kDefaultLimit); ++i) history.record(knobStep(sound, 0, at, i));

  const auto separateNs = orv::bench::sampleNs([&] {
    at += 1s;
    history.record(knobStep(sound, 1111 + i % 2, at, ++i));
  });
  orv::bench::report("history_record_step_median", orv::bench::median(separateNs) / 1e3, "us", 20);

  const auto dragNs = orv::bench::sampleNs([&] {
    at += 20ms;
    history.record(knobStep(sound, 1115, at, ++i));
  });
  orv::bench::report("history_record_drag_median", orv::bench::median(dragNs) / 1e3, "us", 20);

  const orv::Library before = fullLibrary();
  orv::Library after = before;
  std::size_t sink = 0;
  const auto libraryNs = orv::bench::sampleNs([&] {
    orv::LibraryEntry& slot = after.slot(std::size_t(++i % 100));
    slot.data[129] = static_cast<uint8_t>(slot.data[129] + 1);
    EditHistory::Step s;
    s.at = at += 1s;
    s.changed = EditHistory::changedSlots(before, after);
    sink += s.changed.size();
    history.record(std::move(s));
    slot = before.slot(std::size_t(i % 100));
  });
  orv::bench::report("history_record_library_step_median", orv::bench::median(libraryNs) / 1e3,
                     "us", 100);
  return sink == 0 ? 1 : 0;
}
