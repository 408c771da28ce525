#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/circuit_files.h"
#include "document/document_io.h"
#include "document/document_serializer.h"
#include "document/undo_history.h"
#include "model/circuit_edit.h"
#include "model/circuit_passes.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// The name the user knows the file at `path` by: its last path component, with its extension.
/// Documents are titled with it, and the error messages of DocumentErrorMessage name files by it.
std::string FileTitleOf(const std::string& path);

/// A circuit file offered for insertion as a sub-circuit.
struct SubCircuitListEntry {
  std::string displayName;  ///< the file's name with its extension, shown in the list
  std::string filePath;     ///< the full path
};

/// The application's one document: the top circuit, the settings stored with it, the editing
/// references the view keeps between mouse messages, and the files offered as sub-circuits.
/// "Neu" and "Öffnen" empty and refill the same object; the top circuit is never replaced.
/// Qt-free: the window side hooks in through `closeModelessDialogs` and `updateAllViews`.
class CTrivenorDoc {
 public:
  /// The title of a document that has no file yet.
  static constexpr const char* kUntitled = "Unbenannt";

  CTrivenorDoc();
  CTrivenorDoc(const CTrivenorDoc&) = delete;
  CTrivenorDoc& operator=(const CTrivenorDoc&) = delete;

  SubCircuit& circuit() { return circuit_; }
  const SubCircuit& circuit() const { return circuit_; }
  /// Every edit of the circuit goes through here; removing a part clears the editing references
  /// into it.
  CircuitEdit& edit() { return edit_; }
  /// One evaluation pass of the circuit, through its compiled plan: every pass outside the
  /// load's own goes through here. True when the circuit has output terminals.
  bool RunPass() { return passes_.RunPass(); }
  /// "Reset": every value of the circuit back to 0, the input terminals included.
  void ResetValues() { passes_.Reset(); }

  /// Forgets the editing references, clears the circuit and the sub-circuit list, closes the
  /// modeless dialogs and resets the stored settings. `tickPeriod` survives.
  void EmptyDocument();
  /// "Neu": empty, untitled, not modified, nothing to undo.
  void NewDocument();
  /// Opens `path`. A file that cannot be read (missing, no permission, a folder, too large)
  /// leaves the document as it was, its undo history included; one that turns out malformed
  /// leaves a new, empty, untitled document. On success the document is not modified, is titled
  /// with the file's name, keeps the absolute path and has nothing to undo. If an exception (out
  /// of memory) escapes the load, the document is left new, empty and untitled before it
  /// propagates, never half-read.
  DocumentError OpenDocument(const std::string& path);
  /// Saves to `path` (safely: a failed save leaves an existing file intact). On success the
  /// document takes the path and name and is not modified; on failure nothing changes and it
  /// stays modified.
  DocumentError SaveDocument(const std::string& path);
  /// Opens the recovery copy at `copyPath` as OpenDocument opens a file, but as the document of
  /// the user's file `originalPath` (empty for an untitled one): it takes that path and title,
  /// is modified, and no state of its history counts as saved.
  DocumentError RecoverDocument(const std::string& copyPath, const std::string& originalPath);
  /// Writes the document to `path` as saving does, safely, but leaves it as it is: its path,
  /// title, modified flag and history stay. For recovery copies.
  DocumentError SaveCopy(const std::string& path);

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }
  /// The file's name, or "Unbenannt".
  const std::string& Title() const { return title_; }
  /// The absolute path, empty while the document has no file.
  const std::string& PathName() const { return pathName_; }
  /// Asks every view to redraw; also done at the end of every open and save, since the views
  /// drew nothing while `loading` was set.
  void UpdateAllViews();

  /// Ends one change of the circuit or of its stored settings, as the user made it: the state
  /// now becomes one undo step, called `name` (German, as "Rückgängig: <name>" shows it). Drops
  /// what was undone before. The modified flag stays the edits' business: a typed value, for
  /// one, is a step that leaves it as it was.
  void RecordStep(std::string name);
  /// Nothing can be undone or redone while the circuit is locked: undo must neither lift a lock
  /// nor change a locked circuit. The history itself survives the lock.
  bool CanUndo() const { return settings.editable && history_.CanUndo(); }
  bool CanRedo() const { return settings.editable && history_.CanRedo(); }
  const UndoHistory& history() const { return history_; }
  /// Go back to the state before the last step, or forward to the state after the step undone
  /// last, as opening that state would show it. The path, the title, the sub-circuit list and
  /// the modeless dialogs stay; the editing references are cleared. The document is modified
  /// exactly when the state differs from the one last saved or opened. Does nothing when
  /// CanUndo (CanRedo) is false.
  void Undo();
  void Redo();

  /// Stored with the circuit: `canvasWidth`, `spareFlag`, `editable`, `canvasFont`.
  DocumentSettings settings;
  /// Milliseconds between evaluation passes; not stored, kept across "Neu" and "Öffnen".
  int tickPeriod = 50;
  /// Editing references (none = nullptr); they never own.
  Component* selectedComponent = nullptr;
  Port* selectedPort = nullptr;
  Port* wireTarget = nullptr;
  Port* editedInput = nullptr;
  /// Set while the file is read or written: the view draws nothing meanwhile. False again after
  /// every open and save, whatever the outcome.
  bool loading = false;
  /// Files loaded in the sub-circuit dialog, newest first.
  std::vector<std::unique_ptr<SubCircuitListEntry>> subCircuitList;

  /// Called by EmptyDocument: the window side closes and forgets the palettes and the
  /// sub-circuit dialog.
  std::function<void()> closeModelessDialogs;
  /// Called by UpdateAllViews.
  std::function<void()> updateAllViews;
  /// Called whenever what CanUndo, CanRedo or the names of the steps say may have changed.
  std::function<void()> historyChanged;
  /// Where dynamic sub-circuits are read from, and what tells whether one names the document's
  /// own file; the disk unless a test puts its own. Never null.
  FileReader* files;

 private:
  /// After a successful open or save: the document is now that file's, and not modified.
  void TakeFile(const std::string& path);
  /// Opening: reads the file at `path`, which the document counts as its own file `ownPath`;
  /// `takeOver` names the document after a successful read, before its history restarts.
  DocumentError Load(const std::string& path, const std::string& ownPath,
                     const std::function<void()>& takeOver);
  /// The current state is the only one in the history.
  void RestartHistory();
  /// Replaces the contents with `state`; false when it cannot be read back.
  bool Restore(const DocumentSnapshot& state);
  void ClearReferences();
  void HistoryChanged();

  SubCircuit circuit_;
  CircuitEdit edit_{circuit_};
  CircuitPasses passes_{circuit_};
  DiskFileReader diskFiles_;
  UndoHistory history_;
  bool modified_ = false;
  std::string title_ = kUntitled;
  std::string pathName_;
};

}  // namespace trivenor
