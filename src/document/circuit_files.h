#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace trivenor {

/// Where the files named by dynamic sub-circuits are read from. The editor and the runner read
/// the disk; tests use files in memory and the fuzzer none at all.
class FileReader {
 public:
  virtual ~FileReader() = default;
  /// A name shared by every path that leads to the same file (its canonical path), or nothing
  /// when there is no such file.
  virtual std::optional<std::string> Identity(const std::string& path) = 0;
  /// The file's bytes, or nothing when it cannot be read. Reads at most `limit` + 1 bytes, so
  /// the caller can tell a file that is too large without holding all of it.
  virtual std::optional<std::vector<std::uint8_t>> ReadAll(const std::string& path,
                                                           std::size_t limit) = 0;
};

/// Files on disk; paths are UTF-8.
class DiskFileReader final : public FileReader {
 public:
  std::optional<std::string> Identity(const std::string& path) override;
  std::optional<std::vector<std::uint8_t>> ReadAll(const std::string& path,
                                                   std::size_t limit) override;
};

/// Reads nothing: every file "cannot be opened".
class NoFileReader final : public FileReader {
 public:
  std::optional<std::string> Identity(const std::string&) override { return std::nullopt; }
  std::optional<std::vector<std::uint8_t>> ReadAll(const std::string&, std::size_t) override {
    return std::nullopt;
  }
};

/// The state one load shares across all the files it reads: the files being read (a file of the
/// chain cannot be opened again, which ends chains of dynamic sub-circuits that lead back to
/// themselves), the nesting depth and the budgets that keep memory and work in proportion.
class LoadContext {
 public:
  /// `documentSize` is the size of the file the load started with.
  LoadContext(FileReader& files, std::size_t documentSize);

  FileReader& files() { return files_; }

  /// Marks a file as being read; false when it already is.
  bool EnterFile(const std::string& identity);
  void LeaveFile(const std::string& identity);

  /// How many more bytes the files of dynamic sub-circuits may bring.
  std::size_t RemainingBytes() const;
  /// Accounts for a file read for a dynamic sub-circuit; throws FormatError past the budget.
  /// Only the first read of a file widens the sample budget: reading the same file again
  /// brings no new data that could justify more memory.
  void ChargeBytes(const std::string& identity, std::size_t size);
  /// Accounts for delay and graph sample slots; throws FormatError past the budget.
  void ChargeSlots(std::size_t slots);

  /// One more nested circuit record; throws FormatError when nested too deep.
  void EnterRecord();
  void LeaveRecord() { --depth_; }

 private:
  FileReader& files_;
  std::set<std::string> openFiles_;
  std::set<std::string> filesSeen_;
  std::size_t bytesRead_;
  std::size_t distinctBytes_;
  std::size_t byteBudget_;
  std::size_t slotsUsed_ = 0;
  int depth_ = 0;
};

}  // namespace trivenor
