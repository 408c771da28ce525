#include "document/undo_history.h"

#include <utility>

namespace trivenor {

void UndoHistory::Restart(DocumentSnapshot state) {
  states_.clear();
  footprint_ = 0;
  current_ = 0;
  saved_.reset();
  Record({}, std::move(state));
  if (!states_.empty()) {
    saved_ = current_;
  }
}

void UndoHistory::Record(std::string name, DocumentSnapshot state) {
  while (CanRedo()) {
    footprint_ -= FootprintOf(states_.back());
    states_.pop_back();
  }
  if (saved_ && *saved_ >= states_.size()) {
    saved_.reset();  // the saved state was undone and is gone now
  }
  states_.push_back({std::move(name), std::move(state)});
  footprint_ += FootprintOf(states_.back());
  current_ = states_.size() - 1;
  while (footprint_ > budget_ && !states_.empty()) {
    DropOldest();
  }
}

std::string UndoHistory::UndoName() const {
  return CanUndo() ? states_[current_].step : std::string();
}

std::string UndoHistory::RedoName() const {
  return CanRedo() ? states_[current_ + 1].step : std::string();
}

const DocumentSnapshot& UndoHistory::Undo() {
  --current_;
  return states_[current_].state;
}

const DocumentSnapshot& UndoHistory::Redo() {
  ++current_;
  return states_[current_].state;
}

std::size_t UndoHistory::FootprintOf(const Entry& entry) {
  return sizeof(Entry) + entry.step.capacity() + entry.state.Footprint();
}

// A state too large for the budget on its own is dropped as well: then there is nothing to undo
// until the next step, which is the price of never holding more than the budget.
void UndoHistory::DropOldest() {
  footprint_ -= FootprintOf(states_.front());
  states_.pop_front();
  if (saved_) {
    saved_ = *saved_ > 0 ? std::optional(*saved_ - 1) : std::nullopt;
  }
  current_ = current_ > 0 ? current_ - 1 : 0;
}

}  // namespace trivenor
