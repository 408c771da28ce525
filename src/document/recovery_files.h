#pragma once

#include <string>
#include <utility>
#include <vector>

#include "document/trivenor_doc.h"

namespace trivenor {

/// The recovery copies that running editors keep in one folder, each editor under an id of its
/// own. An editor's copy is "recovery-<id>.trv", in the normal file format; beside it
/// "recovery-<id>.path" holds the path of the user's file it belongs to (UTF-8, empty for an
/// untitled document), so the circuit file itself stays as it is. "recovery-<id>.lock" is the
/// running editor's lock, which the shell takes and asks about. Qt-free.
class RecoveryFolder {
 public:
  explicit RecoveryFolder(std::string folder) : folder_(std::move(folder)) {}

  const std::string& folder() const { return folder_; }
  std::string CopyPath(const std::string& id) const { return PathOf(id, ".trv"); }
  std::string OriginPath(const std::string& id) const { return PathOf(id, ".path"); }
  std::string LockPath(const std::string& id) const { return PathOf(id, ".lock"); }

  /// Writes the copy of `document` for the editor `id`, the folder made first when missing.
  /// Both files are replaced atomically; the document stays as it is. False when writing
  /// failed.
  bool Write(const std::string& id, CTrivenorDoc& document) const;
  bool HasCopy(const std::string& id) const;
  /// The path of the user's file the copy of `id` belongs to; empty for an untitled document.
  std::string OriginalPathOf(const std::string& id) const;
  /// Removes the copy of `id` and the file beside it (not the lock).
  void Remove(const std::string& id) const;
  /// Makes the copy of `from` the copy of `to`, by renaming. False when that failed.
  bool Adopt(const std::string& from, const std::string& to) const;
  /// Every id other than `own` with a copy or a lock here, those with the newest copies first.
  std::vector<std::string> OtherIds(const std::string& own) const;

 private:
  std::string PathOf(const std::string& id, const char* suffix) const;

  std::string folder_;
};

/// The title the recovery question names: the name of the user's file, or "Unbenannt".
std::string RecoveredTitle(const std::string& originalPath);

}  // namespace trivenor
