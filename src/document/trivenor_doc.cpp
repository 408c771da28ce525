#include "document/trivenor_doc.h"

#include <filesystem>
#include <system_error>

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
}

void CTrivenorDoc::EmptyDocument() {
  // The references go first: they point into the circuit, and the dialogs closed below must not
  // find them dangling.
  selectedComponent = nullptr;
  selectedPort = nullptr;
  wireTarget = nullptr;
  editedInput = nullptr;
  circuit_.Clear();
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
}

DocumentError CTrivenorDoc::OpenDocument(const std::string& path) {
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
      error = LoadDocumentBytes(path, file.bytes, circuit_, settings, *files);
    } catch (...) {
      NewDocument();  // a half-read circuit is nothing to edit, run or save
      throw;
    }
  }
  if (error == DocumentError::None) {
    TakeFile(path);
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
  }
  UpdateAllViews();
  return error;
}

void CTrivenorDoc::UpdateAllViews() {
  if (updateAllViews) {
    updateAllViews();
  }
}

void CTrivenorDoc::TakeFile(const std::string& path) {
  pathName_ = AbsolutePathOf(path);
  title_ = FileTitleOf(path);
  modified_ = false;
}

}  // namespace trivenor
