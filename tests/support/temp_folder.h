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
    Remove();  // one left by an earlier run of the same process number
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { Remove(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  // Tests make files and folders read-only; Windows deletes no read-only file.
  void Remove() const {
    namespace fs = std::filesystem;
    std::error_code ec, ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ec);
  }

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
