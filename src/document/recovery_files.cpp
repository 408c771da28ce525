#include "document/recovery_files.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string_view>
#include <system_error>

#include "document/file_access.h"
#include "document/utf8_path.h"

namespace trivenor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "recovery-";
constexpr std::string_view kSuffixes[] = {".trv", ".path", ".lock"};

/// The id in a file name of the folder, empty for any other file.
std::string IdOf(const std::string& name) {
  if (!name.starts_with(kPrefix)) {
    return {};
  }
  for (const std::string_view suffix : kSuffixes) {
    if (name.ends_with(suffix) && name.size() > kPrefix.size() + suffix.size()) {
      return name.substr(kPrefix.size(), name.size() - kPrefix.size() - suffix.size());
    }
  }
  return {};
}

}  // namespace

std::string RecoveryFolder::PathOf(const std::string& id, const char* suffix) const {
  return Utf8FromPath(PathFromUtf8(folder_) / PathFromUtf8(std::string(kPrefix) + id + suffix));
}

bool RecoveryFolder::Write(const std::string& id, CTrivenorDoc& document) const {
  std::error_code ignored;  // a folder that cannot be made shows in the writes below
  fs::create_directories(PathFromUtf8(folder_), ignored);
  const std::string& origin = document.PathName();
  const std::span<const std::uint8_t> originBytes(
      reinterpret_cast<const std::uint8_t*>(origin.data()), origin.size());
  return WriteFileSafely(OriginPath(id), originBytes) == WriteFailure::None &&
         document.SaveCopy(CopyPath(id)) == DocumentError::None;
}

bool RecoveryFolder::HasCopy(const std::string& id) const {
  std::error_code error;
  return fs::is_regular_file(PathFromUtf8(CopyPath(id)), error);
}

std::string RecoveryFolder::OriginalPathOf(const std::string& id) const {
  const FileContents origin = ReadWholeFile(OriginPath(id), 1 << 16);
  return std::string(origin.bytes.begin(), origin.bytes.end());
}

void RecoveryFolder::Remove(const std::string& id) const {
  std::error_code ignored;
  fs::remove(PathFromUtf8(CopyPath(id)), ignored);
  fs::remove(PathFromUtf8(OriginPath(id)), ignored);
}

bool RecoveryFolder::Adopt(const std::string& from, const std::string& to) const {
  std::error_code error;
  fs::rename(PathFromUtf8(OriginPath(from)), PathFromUtf8(OriginPath(to)), error);
  if (error) {
    fs::remove(PathFromUtf8(OriginPath(to)), error);  // an untitled document then
  }
  fs::rename(PathFromUtf8(CopyPath(from)), PathFromUtf8(CopyPath(to)), error);
  return !error;
}

std::vector<std::string> RecoveryFolder::OtherIds(const std::string& own) const {
  std::map<std::string, fs::file_time_type> found;  // the time of the copy, oldest without
  std::error_code error;
  for (fs::directory_iterator entry(PathFromUtf8(folder_), error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string id = IdOf(Utf8FromPath(entry->path().filename()));
    if (id.empty() || id == own) {
      continue;
    }
    std::error_code noTime;
    const fs::file_time_type time = fs::last_write_time(PathFromUtf8(CopyPath(id)), noTime);
    found[id] = noTime ? fs::file_time_type::min() : time;
  }
  std::vector<std::pair<std::string, fs::file_time_type>> sorted(found.begin(), found.end());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::vector<std::string> ids;
  for (const auto& [id, time] : sorted) {
    ids.push_back(id);
  }
  return ids;
}

std::string RecoveredTitle(const std::string& originalPath) {
  return originalPath.empty() ? CTrivenorDoc::kUntitled : FileTitleOf(originalPath);
}

}  // namespace trivenor
