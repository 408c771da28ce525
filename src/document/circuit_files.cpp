#include "document/circuit_files.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <system_error>

#include "document/archive.h"
#include "document/file_limits.h"
#include "document/utf8_path.h"

namespace trivenor {

std::optional<std::string> DiskFileReader::Identity(const std::string& path) {
  std::error_code error;
  const auto canonical = std::filesystem::canonical(PathFromUtf8(path), error);
  if (error) {
    return std::nullopt;
  }
  return Utf8FromPath(canonical);
}

std::optional<std::vector<std::uint8_t>> DiskFileReader::ReadAll(const std::string& path,
                                                                 std::size_t limit) {
  const auto fsPath = PathFromUtf8(path);
  std::error_code error;
  // Only regular files: a device or a pipe could block or never end.
  if (!std::filesystem::is_regular_file(fsPath, error) || error) {
    return std::nullopt;
  }
  std::ifstream in(fsPath, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  const std::size_t wanted = limit == SIZE_MAX ? limit : limit + 1;
  std::vector<std::uint8_t> bytes;
  const auto size = std::filesystem::file_size(fsPath, error);
  if (!error) {
    bytes.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(size, wanted)));
  }
  char chunk[65536];
  while (bytes.size() < wanted) {
    const auto ask = static_cast<std::streamsize>(std::min(sizeof chunk, wanted - bytes.size()));
    in.read(chunk, ask);
    if (in.gcount() <= 0) {
      break;
    }
    bytes.insert(bytes.end(), chunk, chunk + in.gcount());
  }
  if (in.bad()) {
    return std::nullopt;
  }
  return bytes;
}

LoadContext::LoadContext(FileReader& files, std::size_t documentSize)
    : files_(files),
      bytesRead_(documentSize),
      distinctBytes_(documentSize),
      byteBudget_(std::max(file_limits::kBaseBytesPerLoad,
                           documentSize * file_limits::kBytesPerDocumentByte)) {}

bool LoadContext::EnterFile(const std::string& identity) {
  return openFiles_.insert(identity).second;
}

void LoadContext::LeaveFile(const std::string& identity) {
  openFiles_.erase(identity);
}

std::size_t LoadContext::RemainingBytes() const {
  return byteBudget_ - std::min(bytesRead_, byteBudget_);
}

void LoadContext::ChargeBytes(const std::string& identity, std::size_t size) {
  if (size > RemainingBytes()) {
    throw FormatError();
  }
  bytesRead_ += size;
  if (filesSeen_.insert(identity).second) {
    distinctBytes_ += size;
  }
}

void LoadContext::ChargeSlots(std::size_t slots) {
  const std::size_t budget =
      file_limits::kBaseSampleSlots + distinctBytes_ * file_limits::kSlotsPerByte;
  if (slots > budget - std::min(slotsUsed_, budget)) {
    throw FormatError();
  }
  slotsUsed_ += slots;
}

void LoadContext::EnterRecord() {
  if (depth_ >= file_limits::kMaxNesting) {
    throw FormatError();
  }
  ++depth_;
}

}  // namespace trivenor
