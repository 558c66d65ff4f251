#pragma once
// File names are UTF-8 in the program's strings on every system. std::filesystem's own narrow
// conversions follow the system's code page on Windows (and not even the same one both ways),
// so paths are made from and read back to text through these two.
#include <filesystem>
#include <string>
#include <string_view>

namespace vyk {

inline std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace vyk
