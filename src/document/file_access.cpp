#include "document/file_access.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>
#include <utility>

#include "document/utf8_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace trivenor {

namespace fs = std::filesystem;

namespace {

thread_local WriteFaultHook writeFaultHook;

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

// The calls below differ between systems. Each reports failure as -1 (or false) with errno set.

#ifdef _WIN32

int OpenForReading(const fs::path& path) {
  return _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

/// `shared`: a new file that others may read as usual; otherwise only its owner, until the
/// permissions of the file it replaces are copied onto it.
int CreateExclusive(const fs::path& path, bool /*shared*/) {
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
}

/// False for anything but a regular file.
bool RegularFileSize(int descriptor, std::uint64_t& size) {
  struct _stat64 info;
  if (_fstat64(descriptor, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    return false;
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

long long ReadSome(int descriptor, std::uint8_t* data, std::size_t size) {
  return _read(descriptor, data, static_cast<unsigned>(size));
}

long long WriteSome(int descriptor, const std::uint8_t* data, std::size_t size) {
  return _write(descriptor, data, static_cast<unsigned>(size));
}

bool SyncToDisk(int descriptor) {
  return _commit(descriptor) == 0;
}

bool CloseFile(int descriptor) {
  return _close(descriptor) == 0;
}

bool MayWrite(const fs::path& path) {
  return _waccess(path.c_str(), 2) == 0;
}

/// Windows cannot flush a folder; NTFS journals the rename itself.
void SyncFolder(const fs::path&) {}

#else

int OpenForReading(const fs::path& path) {
  // O_NONBLOCK: opening a pipe without a writer would otherwise wait for one.
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor;
}

/// `shared`: a new file that others may read as usual (the umask decides); otherwise only its
/// owner may, until the permissions of the file it replaces are copied onto it.
int CreateExclusive(const fs::path& path, bool shared) {
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                        shared ? 0666 : 0600);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor;
}

/// False for anything but a regular file.
bool RegularFileSize(int descriptor, std::uint64_t& size) {
  struct stat info;
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    return false;
  }
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

long long ReadSome(int descriptor, std::uint8_t* data, std::size_t size) {
  ssize_t done;
  do {
    done = ::read(descriptor, data, size);
  } while (done < 0 && errno == EINTR);
  return done;
}

long long WriteSome(int descriptor, const std::uint8_t* data, std::size_t size) {
  ssize_t done;
  do {
    done = ::write(descriptor, data, size);
  } while (done < 0 && errno == EINTR);
  return done;
}

bool SyncToDisk(int descriptor) {
  if (::fsync(descriptor) == 0) {
    return true;
  }
  // Some file systems cannot sync at all; there is nothing more to wait for then.
  return errno == EINVAL || errno == ENOTSUP;
}

bool CloseFile(int descriptor) {
  // After EINTR the descriptor is gone on Linux, and the data was synced before.
  return ::close(descriptor) == 0 || errno == EINTR;
}

/// Checked with the effective ids, as opening the file would be.
bool MayWrite(const fs::path& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

/// Makes the rename itself durable. Only a matter of timing: the data is already on disk and
/// the target complete either way, so a failure here is not reported.
void SyncFolder(const fs::path& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor >= 0) {
    ::fsync(descriptor);
    ::close(descriptor);
  }
}

#endif

/// The errno value behind an error of std::filesystem; EIO when it has none.
int ErrnoOf(const std::error_code& error) {
  const std::error_condition condition = error.default_error_condition();
  return condition.category() == std::generic_category() ? condition.value() : EIO;
}

ReadFailure ClassifyRead(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      return ReadFailure::NotFound;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EAGAIN:  // a conflicting lock
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return ReadFailure::Denied;
    default:
      return ReadFailure::Failed;
  }
}

WriteFailure ClassifyWrite(int error) {
  switch (error) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return WriteFailure::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM:
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return WriteFailure::Denied;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
    case EINVAL:  // characters the file system does not allow in names (FAT, Windows)
      return WriteFailure::BadName;
    default:
      return WriteFailure::Failed;
  }
}

class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) {
      CloseFile(descriptor_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return descriptor_; }
  /// Closes now, so that a failure can be reported: 0 or the errno value.
  int Close() {
    const bool closed = CloseFile(std::exchange(descriptor_, -1));
    return closed ? 0 : errno;
  }

 private:
  int descriptor_;
};

/// Reads until the end of the file or until `limit` is passed by one byte; 0 or an errno value.
/// `expected` is the size the file had when opened; it may still grow or shrink meanwhile.
int ReadUpTo(int descriptor, std::uint64_t expected, std::size_t limit,
             std::vector<std::uint8_t>& bytes) {
  const std::size_t wanted = limit == SIZE_MAX ? limit : limit + 1;
  bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(expected, wanted)));
  std::uint8_t chunk[65536];
  while (bytes.size() < wanted) {
    const long long done =
        ReadSome(descriptor, chunk, std::min(sizeof chunk, wanted - bytes.size()));
    if (done < 0) {
      return errno;
    }
    if (done == 0) {
      break;
    }
    bytes.insert(bytes.end(), chunk, chunk + done);
  }
  return 0;
}

/// The new contents on their way to the target. Removed again unless it replaced the target.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (descriptor_) {
      descriptor_.reset();
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }

  /// Creates the file under a name no other file in `folder` has; 0 or an errno value.
  int Create(const fs::path& folder, bool shared) {
    static std::atomic<std::uint64_t> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
      // A name that is unlikely to exist; the exclusive create makes sure of it.
      const auto clock =
          static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
      const std::uint64_t unique = clock * 0x9E3779B97F4A7C15u + counter++;
      char name[40];
      std::snprintf(name, sizeof name, ".trivenor-%016llx.tmp",
                    static_cast<unsigned long long>(unique));
      path_ = folder / name;
      const int descriptor = CreateExclusive(path_, shared);
      if (descriptor >= 0) {
        descriptor_.emplace(descriptor);
        return 0;
      }
      if (errno != EEXIST) {
        return errno;
      }
    }
    return EEXIST;
  }

  int Write(std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
      std::size_t size = std::min(kChunkBytes, bytes.size() - written);
      if (writeFaultHook) {
        const WriteFault fault = writeFaultHook(written, size);
        if (fault.error != 0) {
          return fault.error;
        }
        size = std::min(size, fault.maxBytes);
      }
      const long long done = WriteSome(descriptor_->get(), bytes.data() + written, size);
      if (done < 0) {
        return errno;
      }
      if (done == 0) {
        return EIO;  // no progress and no reason given: retrying would loop forever
      }
      written += static_cast<std::size_t>(done);
    }
    return 0;
  }

  /// Copies `permissions` onto the file, flushes it to disk and closes it; 0 or an errno value.
  int Finish(std::optional<fs::perms> permissions) {
    if (permissions) {
      std::error_code error;
      fs::permissions(path_, *permissions, error);
      if (error) {
        return ErrnoOf(error);
      }
    }
    if (!SyncToDisk(descriptor_->get())) {
      return errno;
    }
    return descriptor_->Close();
  }

  /// Renames the finished file over `target`; 0 or an errno value.
  int Replace(const fs::path& target) {
    std::error_code error;
    fs::rename(path_, target, error);
    if (error) {
      return ErrnoOf(error);
    }
    descriptor_.reset();
    return 0;
  }

 private:
  fs::path path_;
  /// Present from the creation until the file has replaced the target (closed by then).
  std::optional<Descriptor> descriptor_;
};

/// A link is written through, so that it stays a link to the new contents.
fs::path WithoutLink(const fs::path& path) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    fs::path resolved = fs::canonical(path, error);
    if (!error) {
      return resolved;
    }
  }
  return path;
}

}  // namespace

FileContents ReadWholeFile(const std::string& path, std::size_t limit) {
  if (path.empty()) {
    return {ReadFailure::NotFound, {}};
  }
  Descriptor file(OpenForReading(PathFromUtf8(path)));
  if (file.get() < 0) {
    return {ClassifyRead(errno), {}};
  }
  std::uint64_t size = 0;
  if (!RegularFileSize(file.get(), size)) {
    return {ReadFailure::Failed, {}};
  }
  FileContents contents;
  try {
    if (const int error = ReadUpTo(file.get(), size, limit, contents.bytes)) {
      return {ClassifyRead(error), {}};
    }
  } catch (const std::bad_alloc&) {
    return {ReadFailure::Failed, {}};  // a file larger than the memory left
  }
  return contents;
}

FileStream::FileStream(const std::string& path) {
  if (path.empty()) {
    failure_ = ReadFailure::NotFound;
    return;
  }
  descriptor_ = OpenForReading(PathFromUtf8(path));
  if (descriptor_ < 0) {
    failure_ = ClassifyRead(errno);
  } else if (!RegularFileSize(descriptor_, size_)) {
    failure_ = ReadFailure::Failed;
  }
}

FileStream::~FileStream() {
  if (descriptor_ >= 0) {
    CloseFile(descriptor_);
  }
}

long long FileStream::Read(std::uint8_t* into, std::size_t size) {
  return ReadSome(descriptor_, into, size);
}

WriteFailure WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) {
    return WriteFailure::BadName;
  }
  const fs::path target = WithoutLink(PathFromUtf8(path));
  if (!target.has_filename()) {
    return WriteFailure::BadName;
  }
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  std::optional<fs::perms> permissions;
  if (status.type() == fs::file_type::not_found) {
    // A new file; a missing folder shows when the temporary file is created.
  } else if (error) {
    return ClassifyWrite(ErrnoOf(error));
  } else if (!fs::is_regular_file(status)) {
    return WriteFailure::BadName;
  } else if (!MayWrite(target)) {
    // Its folder may well allow replacing it, but the file itself says it must not change.
    return ClassifyWrite(errno);
  } else {
    permissions = status.permissions() & fs::perms::all;
  }

  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  TemporaryFile temporary;
  int failure = temporary.Create(folder, !permissions.has_value());
  if (failure == 0) {
    failure = temporary.Write(bytes);
  }
  if (failure == 0) {
    failure = temporary.Finish(permissions);
  }
  if (failure == 0) {
    failure = temporary.Replace(target);
  }
  if (failure != 0) {
    return ClassifyWrite(failure);
  }
  SyncFolder(folder);
  return WriteFailure::None;
}

ScopedWriteFault::ScopedWriteFault(WriteFaultHook hook)
    : previous_(std::exchange(writeFaultHook, std::move(hook))) {}

ScopedWriteFault::~ScopedWriteFault() {
  writeFaultHook = std::move(previous_);
}

}  // namespace trivenor
