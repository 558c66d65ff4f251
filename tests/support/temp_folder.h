#pragma once
// Files for tests: a folder of each test's own, and the bytes of a project file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "support/file_bytes.h"

namespace vyk::test {

// A folder of its own for each test, removed with it.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        "vyk_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A project file's first `size` bytes: a varying pattern with the file and header length
// fields set.
inline std::string FileBytes(size_t size, int16_t fileRecords, int16_t headerRecords) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>(i * 7 + 3);
  auto put16 = [&](size_t at, int16_t v) {
    if (at + 1 < size) {
      bytes[at] = static_cast<char>(v & 0xFF);
      bytes[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    }
  };
  put16(8, fileRecords);
  put16(10, headerRecords);
  return bytes;
}

}  // namespace vyk::test
