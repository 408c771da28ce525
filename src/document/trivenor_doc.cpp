#include "document/trivenor_doc.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "document/utf8_path.h"

namespace trivenor {

namespace {

/// Sets `loading` for as long as it lives, so it is cleared again however the read or write
/// ends, also by an exception.
class LoadingScope {
 public:
  explicit LoadingScope(bool& loading) : loading_(loading) { loading_ = true; }
  ~LoadingScope() { loading_ = false; }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  bool& loading_;
};

/// The document keeps an absolute path, so that saving again and the recent-file list still find
/// the file after the working folder has changed.
std::string AbsolutePathOf(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(path), error);
  return error ? path : Utf8FromPath(absolute);
}

}  // namespace

std::string FileTitleOf(const std::string& path) {
  const std::string name = Utf8FromPath(PathFromUtf8(path).filename());
  // A path ending in a separator has no last component; a message must still name something.
  return name.empty() ? path : name;
}

CTrivenorDoc::CTrivenorDoc() : files(&diskFiles_) {
  edit_.Track(selectedComponent);
  edit_.Track(selectedPort);
  edit_.Track(wireTarget);
  edit_.Track(editedInput);
  RestartHistory();
}

void CTrivenorDoc::EmptyDocument() {
  // The references go first: they point into the circuit, and the dialogs closed below must not
  // find them dangling.
  ClearReferences();
  circuit_.Clear();
  // Whatever keeps something derived from the circuit (the compiled plan) must not take the
  // circuit read next for the one it was derived from.
  ++circuit_.structureVersion;
  subCircuitList.clear();
  if (closeModelessDialogs) {
    closeModelessDialogs();
  }
  const DocumentSettings defaults;
  settings.canvasWidth = defaults.canvasWidth;
  settings.canvasFont.reset();
  settings.spareFlag = defaults.spareFlag;
  settings.editable = defaults.editable;
}

void CTrivenorDoc::NewDocument() {
  EmptyDocument();
  title_ = kUntitled;
  pathName_.clear();
  modified_ = false;
  RestartHistory();
}

DocumentError CTrivenorDoc::OpenDocument(const std::string& path) {
  return Load(path, path, [this, &path] { TakeFile(path); });
}

DocumentError CTrivenorDoc::RecoverDocument(const std::string& copyPath,
                                            const std::string& originalPath) {
  return Load(copyPath, originalPath.empty() ? copyPath : originalPath, [this, &originalPath] {
    pathName_ = originalPath;
    title_ = originalPath.empty() ? kUntitled : FileTitleOf(originalPath);
    modified_ = true;
  });
}

DocumentError CTrivenorDoc::Load(const std::string& path, const std::string& ownPath,
                                 const std::function<void()>& takeOver) {
  // Everything that can keep the file from being read is found out before the document is
  // touched, so such a failure leaves the current document as it was.
  const DocumentBytes file = ReadDocumentBytes(path);
  if (file.error != DocumentError::None) {
    return file.error;
  }
  EmptyDocument();
  modified_ = true;
  DocumentError error;
  {
    LoadingScope scope(loading);
    try {
      error = LoadDocumentBytes(ownPath, file.bytes, circuit_, settings, *files);
    } catch (...) {
      NewDocument();  // a half-read circuit is nothing to edit, run or save
      throw;
    }
  }
  if (error == DocumentError::None) {
    takeOver();
    RestartHistory();
    if (modified_) {
      history_.ForgetSaved();
    }
  } else {
    NewDocument();
  }
  UpdateAllViews();
  return error;
}

DocumentError CTrivenorDoc::SaveDocument(const std::string& path) {
  DocumentError error;
  {
    LoadingScope scope(loading);
    error = SaveDocumentFile(path, circuit_, settings);
  }
  if (error == DocumentError::None) {
    TakeFile(path);
    history_.MarkSaved();
  }
  UpdateAllViews();
  return error;
}

DocumentError CTrivenorDoc::SaveCopy(const std::string& path) {
  return SaveDocumentFile(path, circuit_, settings);
}

void CTrivenorDoc::UpdateAllViews() {
  if (updateAllViews) {
    updateAllViews();
  }
}

void CTrivenorDoc::RecordStep(std::string name) {
  history_.Record(std::move(name), TakeSnapshot(circuit_, settings));
  HistoryChanged();
}

void CTrivenorDoc::Undo() {
  if (CanUndo() && !Restore(history_.Undo())) {
    history_.Redo();  // the state stays, and so does the place in the history
  }
  HistoryChanged();
}

void CTrivenorDoc::Redo() {
  if (CanRedo() && !Restore(history_.Redo())) {
    history_.Undo();
  }
  HistoryChanged();
}

void CTrivenorDoc::TakeFile(const std::string& path) {
  pathName_ = AbsolutePathOf(path);
  title_ = FileTitleOf(path);
  modified_ = false;
}

void CTrivenorDoc::RestartHistory() {
  history_.Restart(TakeSnapshot(circuit_, settings));
  HistoryChanged();
}

bool CTrivenorDoc::Restore(const DocumentSnapshot& state) {
  ClearReferences();
  if (!RestoreSnapshot(state, circuit_, settings)) {
    return false;
  }
  // Whatever keeps something derived from the circuit must know it has been replaced.
  ++circuit_.structureVersion;
  modified_ = !history_.AtSaved();
  UpdateAllViews();
  return true;
}

void CTrivenorDoc::ClearReferences() {
  selectedComponent = nullptr;
  selectedPort = nullptr;
  wireTarget = nullptr;
  editedInput = nullptr;
}

void CTrivenorDoc::HistoryChanged() {
  if (historyChanged) {
    historyChanged();
  }
}

}  // namespace trivenor
