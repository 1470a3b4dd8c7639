#pragma once
#include <chrono>
#include <cstddef>
#include <deque>
#include <vector>

#include "patch/Library.h"
#include "patch/PatchData.h"

namespace orv {

// The editor's one history of changes to the sound and the library, in the order they happened.
//
// A step holds the state on either side of it: the sound with the sound it was last loaded as
// (its baseline) and its edited flag, the current slot and File > Save's state, and the library
// slots it changed. A gesture on the same control that follows within half a second (a drag, a
// wheel burst, a run of arrow keys) joins the step before it, when that step was a plain sound
// change of the same control. The oldest steps go once the history holds `limit` steps.
//
// Not thread-safe: the window's thread records and walks it.
class EditHistory {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::size_t kDefaultLimit = 10000;
  static constexpr std::chrono::milliseconds kMergeWindow{500};

  struct Side {
    PatchData sound;
    PatchData baseline;
    bool edited = false;
    int currentSlot = -1;
    bool saveEnabled = false;
    bool operator==(const Side&) const = default;
  };
  struct SlotChange {
    std::size_t slot = 0;
    LibraryEntry before;
    LibraryEntry after;
  };
  struct Step {
    int control = 0;  // the control whose gestures may join this step; 0: none may
    Clock::time_point at;
    Side before;
    Side after;
    std::vector<SlotChange> changed;
    bool changesLibrary() const { return !changed.empty(); }
    // The sound was replaced as a whole (a load) rather than changed value by value: it took a
    // new baseline, and more than its name changed (storing under a new name is no load).
    bool loads() const;
  };

  explicit EditHistory(std::size_t limit = kDefaultLimit) : limit_(limit == 0 ? 1 : limit) {}

  // Records a step; the steps that were undone are gone. Joins the step before it as described
  // above. A step that changes nothing a user could undo is not kept.
  void record(Step step);
  // Forgets every step.
  void clear();

  bool canUndo() const { return done_ > 0; }
  bool canRedo() const { return done_ < steps_.size(); }
  // The step to take back (or again), moving the position; null when there is none.
  const Step* undo();
  const Step* redo();

  std::size_t size() const { return steps_.size(); }
  std::size_t undoable() const { return done_; }

  // The slots in which `after` differs from `before` (libraries of equal size; a slot beyond
  // the shorter one is not compared).
  static std::vector<SlotChange> changedSlots(const Library& before, const Library& after);
  // Puts the slots of `step` back as they were before it (`undo`) or after it.
  static void restoreSlots(Library& library, const Step& step, bool undo);

 private:
  bool joins(const Step& step) const;

  std::size_t limit_;
  std::deque<Step> steps_;
  std::size_t done_ = 0;   // steps_[0 .. done_) are in effect
  bool joinable_ = false;  // the last step may take the next gesture
};

}  // namespace orv
