#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace trivenor {

/// Why a file could not be read.
enum class ReadFailure {
  None,
  NotFound,  ///< the file or a folder on its path does not exist, or the path is empty
  Denied,    ///< no permission, or the file is locked or busy
  Failed,    ///< a folder, pipe or device where a file was expected, or an I/O error
};

struct FileContents {
  ReadFailure failure = ReadFailure::None;
  std::vector<std::uint8_t> bytes;
};

/// Reads the regular file at the UTF-8 `path`. Pipes and devices are refused without waiting
/// for them, so a stray name cannot hang the caller. Reads at most `limit` + 1 bytes, so the
/// caller can tell a file that is too large without holding all of it.
FileContents ReadWholeFile(const std::string& path, std::size_t limit = SIZE_MAX);

/// A regular file opened for reading in pieces. Like ReadWholeFile, it refuses pipes and
/// devices without waiting for them.
class FileStream {
 public:
  explicit FileStream(const std::string& path);
  ~FileStream();
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  /// None when the file is open.
  ReadFailure failure() const { return failure_; }
  /// The size when it was opened.
  std::uint64_t size() const { return size_; }
  /// Reads up to `size` bytes into `into`: how many, 0 at the end, or -1 with errno set.
  long long Read(std::uint8_t* into, std::size_t size);

 private:
  int descriptor_ = -1;
  ReadFailure failure_ = ReadFailure::None;
  std::uint64_t size_ = 0;
};

/// Why a file could not be written. An existing target is never touched when writing fails.
enum class WriteFailure {
  None,
  DiskFull,  ///< no room or quota left, or the file would exceed the size limit
  Denied,    ///< read-only file system, or no permission on the folder or the existing file
  BadName,   ///< empty path, a folder that does not exist, a name too long, or not a file
  Failed,    ///< anything else
};

/// Replaces the file at the UTF-8 `path` with `bytes`, or creates it. The bytes go to a new file
/// in the same folder, which is flushed to disk and only then renamed over the target, so the
/// target holds either the old or the new contents, whatever happens meanwhile. A replaced file
/// keeps its permission bits; a symbolic link is written through and stays a link. A read-only
/// target is refused even when its folder would allow replacing it.
WriteFailure WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes);

/// What a write fault hook decides for one write call of WriteFileSafely.
struct WriteFault {
  /// A short write: at most this many bytes go through, as when a disk fills up mid-call.
  std::size_t maxBytes = SIZE_MAX;
  /// Nonzero: the call writes nothing and fails with this errno value.
  int error = 0;
};

/// Called before each write with the number of bytes already written and the size of the
/// write about to happen.
using WriteFaultHook = std::function<WriteFault(std::size_t written, std::size_t size)>;

/// Lets tests make writes fail as a full disk or a broken device would, which they cannot
/// arrange for real. Installs `hook` for writes on the calling thread while the object lives.
class ScopedWriteFault {
 public:
  explicit ScopedWriteFault(WriteFaultHook hook);
  ~ScopedWriteFault();
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

 private:
  WriteFaultHook previous_;
};

}  // namespace trivenor
