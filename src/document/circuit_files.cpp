#include "document/circuit_files.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <system_error>

#include "document/archive.h"
#include "document/file_limits.h"
#include "document/utf8_path.h"
#include "model/component_kind.h"

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

namespace {

/// Roughly the heap a copy of `circuit` takes: each object with its allocation overhead, the
/// lists of its ports and the pointers that hold it. Delay and graph samples are counted apart.
std::size_t Footprint(const SubCircuit& circuit) {
  constexpr std::size_t kPort = sizeof(Port) + 24;
  constexpr std::size_t kComponent = sizeof(Component) + 96;
  constexpr std::size_t kCircuit = sizeof(SubCircuit) + 128;
  std::size_t bytes = kCircuit + (circuit.inputs.size() + circuit.outputs.size()) * kPort +
                      circuit.junctions.size() * (sizeof(Junction) + 24);
  for (const auto& component : circuit.components) {
    bytes += component->kind == kind::SubCircuit
                 ? Footprint(static_cast<const SubCircuit&>(*component))
                 : kComponent + (component->inputs.size() + component->outputs.size()) * kPort;
  }
  return bytes;
}

}  // namespace

LoadContext::LoadContext(FileReader& files, std::size_t documentSize)
    : files_(files),
      bytesRead_(documentSize),
      distinctBytes_(documentSize),
      byteBudget_(std::max(file_limits::kBaseBytesPerLoad,
                           documentSize * file_limits::kBytesPerDocumentByte)) {}

LoadContext::~LoadContext() = default;

int LoadContext::Intern(const std::string& identity) {
  const auto [entry, added] = fileNumbers_.emplace(identity, static_cast<int>(reading_.size()));
  if (added) {
    reading_.push_back(0);
    charged_.push_back(0);
  }
  return entry->second;
}

std::optional<int> LoadContext::FileAt(const std::string& path) {
  if (const auto known = pathFiles_.find(path); known != pathFiles_.end()) {
    return known->second;
  }
  std::optional<int> file;
  if (const std::optional<std::string> identity = files_.Identity(path)) {
    file = Intern(*identity);
  }
  pathFiles_.emplace(path, file);
  return file;
}

bool LoadContext::EnterFile(const std::string& identity) {
  return EnterFile(Intern(identity));
}

bool LoadContext::EnterFile(int file) {
  char& reading = reading_[static_cast<std::size_t>(file)];
  if (reading == 0) {
    reading = 1;
    return true;
  }
  // Every decode in progress kept a stored copy here because of where it runs. (Only a decode
  // that met no such refusal is sure to give the same circuit wherever the file is met again:
  // any file a chain leads back to is refused somewhere inside its first decode.)
  for (DecodeFrame& frame : decodes_) {
    frame.dependsOnPlace = true;
  }
  return false;
}

void LoadContext::LeaveFile(int file) {
  reading_[static_cast<std::size_t>(file)] = 0;
}

std::size_t LoadContext::RemainingBytes() const {
  return byteBudget_ - std::min(bytesRead_, byteBudget_);
}

void LoadContext::ChargeBytes(int file, std::size_t size) {
  if (size > RemainingBytes()) {
    throw FormatError();
  }
  bytesRead_ += size;
  if (charged_[static_cast<std::size_t>(file)] == 0) {
    charged_[static_cast<std::size_t>(file)] = 1;
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
  peakDepth_ = std::max(peakDepth_, depth_);
}

const DecodedFile* LoadContext::CopySource(int file) const {
  const auto found = decoded_.find(file);
  return found != decoded_.end() ? &found->second : nullptr;
}

void LoadContext::ChargeCopy(const DecodedFile& decoded) {
  if (depth_ + decoded.depth > file_limits::kMaxNesting) {
    throw FormatError();
  }
  ChargeCopyMemory(decoded);
  peakDepth_ = std::max(peakDepth_, depth_ + decoded.depth);
}

void LoadContext::ChargeCopyMemory(const DecodedFile& decoded) {
  const std::size_t budget =
      file_limits::kBaseCopyBytes + distinctBytes_ * file_limits::kCopyBytesPerByte;
  if (decoded.footprint > budget - std::min(copiedBytes_, budget)) {
    throw FormatError();
  }
  copiedBytes_ += decoded.footprint;
  ChargeSlots(decoded.sampleSlots);
}

void LoadContext::BeginDecode() {
  decodes_.push_back({false, slotsUsed_, depth_, peakDepth_});
  peakDepth_ = depth_;
}

// A decode that failed throws past its EndDecode; the load is over then and the context with it.
void LoadContext::EndDecode(int file, const SubCircuit* circuit) {
  DecodeFrame frame = std::move(decodes_.back());
  decodes_.pop_back();
  const int depth = peakDepth_ - frame.depthBefore;
  peakDepth_ = std::max(peakDepth_, frame.peakBefore);
  if (!frame.dependsOnPlace) {
    DecodedFile kept;
    kept.footprint = circuit != nullptr ? Footprint(*circuit) : 0;
    kept.sampleSlots = slotsUsed_ - frame.slotsBefore;
    kept.depth = depth;
    // What is kept for the copies is one more copy in memory until the load ends.
    ChargeCopyMemory(kept);
    kept.circuit = circuit != nullptr ? circuit->CloneCircuit() : nullptr;
    decoded_[file] = std::move(kept);
  }
}

}  // namespace trivenor
