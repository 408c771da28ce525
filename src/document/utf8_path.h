#pragma once

#include <filesystem>
#include <string>

namespace trivenor {

/// Paths are UTF-8 in memory; this keeps that meaning on systems whose narrow paths are not.
inline std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace trivenor
