#pragma once
// Whole files written and read as bytes; no test framework here, so the fuzz targets share it.
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace vyk::test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vyk::test
