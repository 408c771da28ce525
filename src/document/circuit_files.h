#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/sub_circuit.h"

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

/// A dynamic sub-circuit's file as one load decoded it the first time. Every further copy of
/// it in the same load is built from this one, so a file placed many times is read once.
struct DecodedFile {
  /// Null when the file holds no circuit (another version text): its copies keep their stored
  /// copies.
  std::unique_ptr<SubCircuit> circuit;
  /// What a copy costs: roughly the heap its objects take, its delay and graph slots, and the
  /// depth of nested records its decode reached.
  std::size_t footprint = 0;
  std::size_t sampleSlots = 0;
  int depth = 0;
};

/// The state one load shares across all the files it reads: the files being read (a file of the
/// chain cannot be opened again, which ends chains of dynamic sub-circuits that lead back to
/// themselves), the files already decoded, the nesting depth and the budgets that keep memory
/// and work in proportion.
class LoadContext {
 public:
  /// `documentSize` is the size of the file the load started with.
  LoadContext(FileReader& files, std::size_t documentSize);
  ~LoadContext();

  FileReader& files() { return files_; }

  /// The number within this load of the file `path` leads to, or nothing when there is no such
  /// file. Every path is looked up once, however often the load meets it.
  std::optional<int> FileAt(const std::string& path);
  /// Marks a file as being read; false when it already is. The string form takes an identity.
  bool EnterFile(int file);
  bool EnterFile(const std::string& identity);
  void LeaveFile(int file);

  /// How many more bytes the files of dynamic sub-circuits may bring.
  std::size_t RemainingBytes() const;
  /// Accounts for a file read for a dynamic sub-circuit; throws FormatError past the budget.
  /// Only the first read of a file widens the sample and copy budgets: reading the same file
  /// again brings no new data that could justify more memory.
  void ChargeBytes(int file, std::size_t size);
  /// Accounts for delay and graph sample slots; throws FormatError past the budget.
  void ChargeSlots(std::size_t slots);

  /// One more nested circuit record; throws FormatError when nested too deep.
  void EnterRecord();
  void LeaveRecord() { --depth_; }

  /// The decoded `file` to copy at this point of the load, or null when it has to be decoded
  /// (again).
  const DecodedFile* CopySource(int file) const;
  /// Accounts for a copy of `decoded` as its decode was accounted for; throws FormatError past
  /// a budget or the nesting depth.
  void ChargeCopy(const DecodedFile& decoded);
  /// Brackets the decode of `file`. `circuit` is what it gave (null: no circuit), kept for
  /// later copies unless the result depended on where it was read.
  void BeginDecode();
  void EndDecode(int file, const SubCircuit* circuit);

 private:
  /// One decode in progress.
  struct DecodeFrame {
    /// A file could not be opened inside it because it was being read already. Elsewhere the
    /// same decode could open that file and give another circuit.
    bool dependsOnPlace;
    std::size_t slotsBefore;
    int depthBefore;
    int peakBefore;
  };

  int Intern(const std::string& identity);
  void ChargeCopyMemory(const DecodedFile& decoded);

  FileReader& files_;
  std::map<std::string, int> fileNumbers_;
  std::map<std::string, std::optional<int>> pathFiles_;
  std::vector<char> reading_;  ///< per file number: being read now
  std::vector<char> charged_;  ///< per file number: its bytes widened the budgets
  std::map<int, DecodedFile> decoded_;
  std::vector<DecodeFrame> decodes_;
  std::size_t bytesRead_;
  std::size_t distinctBytes_;
  std::size_t byteBudget_;
  std::size_t slotsUsed_ = 0;
  std::size_t copiedBytes_ = 0;
  int depth_ = 0;
  int peakDepth_ = 0;
};

}  // namespace trivenor
