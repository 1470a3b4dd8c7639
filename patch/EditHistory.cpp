#include "patch/EditHistory.h"

#include <algorithm>
#include <utility>

namespace orv {

bool EditHistory::Step::loads() const {
  if (before.baseline == after.baseline) return false;
  const auto values = [](const PatchData& p) {
    return p.bytes.begin() + static_cast<std::ptrdiff_t>(patch::kNameLength);
  };
  return !std::equal(values(before.sound), before.sound.bytes.end(), values(after.sound));
}

bool EditHistory::joins(const Step& step) const {
  if (!joinable_ || done_ == 0 || done_ != steps_.size()) return false;
  const Step& last = steps_.back();
  return step.control != 0 && last.control == step.control && !last.changesLibrary() &&
         !step.changesLibrary() && step.at >= last.at && step.at - last.at <= kMergeWindow &&
         last.after.sound == step.before.sound;
}

void EditHistory::record(Step step) {
  const bool sameSound =
      step.before.sound == step.after.sound && step.before.baseline == step.after.baseline;
  if (sameSound && !step.changesLibrary()) return;
  if (joins(step)) {
    Step& last = steps_.back();
    last.after = step.after;
    last.at = step.at;
    // A gesture that went back to where it started is no step at all.
    if (last.before.sound == last.after.sound && last.before.baseline == last.after.baseline) {
      steps_.pop_back();
      done_ = steps_.size();
      joinable_ = false;
    }
    return;
  }
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
  steps_.push_back(std::move(step));
  if (steps_.size() > limit_) steps_.pop_front();
  done_ = steps_.size();
  joinable_ = true;
}

void EditHistory::clear() {
  steps_.clear();
  done_ = 0;
  joinable_ = false;
}

const EditHistory::Step* EditHistory::undo() {
  if (!canUndo()) return nullptr;
  joinable_ = false;
  return &steps_[--done_];
}

const EditHistory::Step* EditHistory::redo() {
  if (!canRedo()) return nullptr;
  joinable_ = false;
  return &steps_[done_++];
}

std::vector<EditHistory::SlotChange> EditHistory::changedSlots(const Library& before,
                                                               const Library& after) {
  std::vector<SlotChange> out;
  const std::size_t n = std::min(before.size(), after.size());
  for (std::size_t i = 0; i < n; ++i)
    if (before.slot(i) != after.slot(i)) out.push_back({i, before.slot(i), after.slot(i)});
  return out;
}

void EditHistory::restoreSlots(Library& library, const Step& step, bool undo) {
  for (const SlotChange& c : step.changed)
    if (c.slot < library.size()) library.slot(c.slot) = undo ? c.before : c.after;
}

}  // namespace orv
