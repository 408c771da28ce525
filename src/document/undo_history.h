#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "document/document_snapshot.h"

namespace trivenor {

/// The states a document went through, one per undo step, oldest first, with the name of the
/// step that led to each, and where among them the current state and the saved one are. Undo
/// moves back one state, redo forward; a new step drops the states undone before it. The
/// states together stay within a memory budget whatever the circuit's size: the oldest go first.
class UndoHistory {
 public:
  /// 64 MB keep more than 100 states of a circuit of several thousand components.
  static constexpr std::size_t kDefaultBudget = std::size_t{64} << 20;

  explicit UndoHistory(std::size_t budget = kDefaultBudget) : budget_(budget) {}

  /// Forgets every step: `state`, just opened or new, is the only one, and the saved one.
  void Restart(DocumentSnapshot state);
  /// The step `name` led from the current state to `state`, which becomes the current one.
  void Record(std::string name, DocumentSnapshot state);

  bool CanUndo() const { return current_ > 0; }
  bool CanRedo() const { return current_ + 1 < states_.size(); }
  /// The step Undo would take back, and the one Redo would make again; empty when none.
  std::string UndoName() const;
  std::string RedoName() const;
  /// Moves back one step and returns the state there. Only when CanUndo.
  const DocumentSnapshot& Undo();
  /// Moves forward one step and returns the state there. Only when CanRedo.
  const DocumentSnapshot& Redo();

  /// The current state is what the file holds now.
  void MarkSaved() { saved_ = current_; }
  /// Whether the current state is what was last saved or opened.
  bool AtSaved() const { return saved_ == current_; }
  /// No state is what the file holds (a recovered document): every state counts as modified.
  void ForgetSaved() { saved_.reset(); }

  /// The heap the states take, as counted against the budget.
  std::size_t Footprint() const { return footprint_; }
  /// How many steps could be undone one after the other from the newest state.
  std::size_t StepCount() const { return states_.empty() ? 0 : states_.size() - 1; }

 private:
  struct Entry {
    std::string step;  ///< what led here; empty for the oldest state
    DocumentSnapshot state;
  };

  static std::size_t FootprintOf(const Entry& entry);
  void DropOldest();

  std::deque<Entry> states_;
  std::size_t current_ = 0;
  std::optional<std::size_t> saved_;
  std::size_t budget_;
  std::size_t footprint_ = 0;
};

}  // namespace trivenor
