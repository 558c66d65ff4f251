// Reading and writing the project file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "fakes.h"
#include "model/errors.h"
#include "model/project_file.h"

namespace vyk {
namespace {

namespace fs = std::filesystem;
using test::Harness;
using test::ReadBytes;
using test::TempFolder;

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// `size` bytes of a varying pattern with the file and header length fields set.
std::string FileBytes(size_t size, int16_t fileRecords, int16_t headerRecords) {
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

size_t EntriesIn(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(ProjectFile, WritesAndReadsBackByteForByte) {
  TempFolder folder;
  std::string path = folder.File("p.VYK");
  std::string bytes = FileBytes(kProjectFileSize, 48, 32);
  ProjectHeader header;
  EepromImage image;
  std::copy_n(bytes.begin(), kHeaderSize, header.Bytes().begin());
  std::copy_n(bytes.begin() + kHeaderSize, kImageSize, image.Bytes().begin());

  WriteProjectFile(path, header, image);
  EXPECT_EQ(ReadBytes(path), bytes);
  ProjectReadResult read = ReadProjectFile(path, ProjectHeader());
  EXPECT_EQ(read.status, ProjectReadStatus::Ok);
  EXPECT_EQ(read.header, header);
  EXPECT_EQ(read.image, image);
}

// A shorter header is laid over the one in memory; the image follows it.
TEST(ProjectFile, ShortHeaderKeepsTheRestOfTheOldOne) {
  TempFolder folder;
  std::string path = folder.File("p.VYK");
  std::string bytes = FileBytes(36 * 16, 36, 20);
  WriteBytes(path, bytes);
  ProjectHeader old;
  old.Bytes().fill(0x5A);
  ProjectReadResult read = ReadProjectFile(path, old);
  ASSERT_EQ(read.status, ProjectReadStatus::Ok);
  for (int i = 0; i < kHeaderSize; ++i)
    ASSERT_EQ(read.header.Bytes()[i], i < 320 ? uint8_t(bytes[i]) : 0x5A) << i;
  EXPECT_TRUE(std::equal(read.image.Bytes().begin(), read.image.Bytes().end(),
                         reinterpret_cast<const uint8_t*>(bytes.data()) + 320));
}

// A failed Open reports the error and leaves the project on screen as it was.
TEST(ProjectFile, ReadErrorsChangeNothing) {
  TempFolder folder;
  fs::create_directory(folder.Path() / "folder.VYK");
  struct Case {
    const char* name;
    std::optional<std::string> bytes;  // nothing: no file is written
    const char* message;
  } cases[] = {
      {"missing.VYK", {}, " not found"},
      {"folder.VYK", {}, "Error (1) reading "},
      {"empty.VYK", FileBytes(0, 48, 32), "Error (2) reading "},
      {"15.VYK", FileBytes(15, 48, 32), "Error (2) reading "},
      {"47.VYK", FileBytes(768, 47, 32), "Error (2) reading "},
      {"16.VYK", FileBytes(16, 48, 32), "Error (3) reading "},
      {"511.VYK", FileBytes(511, 48, 32), "Error (3) reading "},
      {"512.VYK", FileBytes(512, 48, 32), "Error (4) reading "},
      {"767.VYK", FileBytes(767, 48, 32), "Error (4) reading "},
      {"33.VYK", FileBytes(49 * 16, 49, 33), "Error (5) reading "},
      {"0.VYK", FileBytes(16 * 16, 16, 0), "Error (5) reading "},
      {"minus.VYK", FileBytes(16 * 16, 15, -1), "Error (5) reading "},
  };
  Harness h;
  h.New(kFord);
  std::string saved = folder.File("saved.VYK");
  h.dialogs.fileNames.push_back(saved);
  FileSaveAsClick(h.session);
  h.state.image.SetEntry(3, 500);
  h.state.projectModified = true;
  const AppState before = h.state;

  for (const auto& c : cases) {
    std::string path = folder.File(c.name);
    SCOPED_TRACE(path);
    if (c.bytes) WriteBytes(path, *c.bytes);
    h.dialogs.messages.clear();
    h.dialogs.fileNames.push_back(path);
    FileOpenClick(h.session);
    std::string expected =
        std::string(c.message).starts_with(" ") ? path + c.message : c.message + path;
    EXPECT_THAT(h.dialogs.Texts(test::FakeDialogs::Kind::Error), ::testing::ElementsAre(expected));
    EXPECT_TRUE(h.dialogs.Texts(test::FakeDialogs::Kind::Information).empty());
    EXPECT_EQ(h.state.header, before.header);
    EXPECT_EQ(h.state.image, before.image);
    EXPECT_EQ(h.state.projectFileName, saved);
    EXPECT_EQ(h.state.projectState, ProjectState::StoredProject);
    EXPECT_TRUE(h.state.projectModified);
    EXPECT_EQ(h.state.conversion, before.conversion);
  }
}

// The save goes through a temporary file that is renamed over the old one. A read-only file
// is refused by its permission bits, so this holds for root as well.
TEST(ProjectFile, SaveReplacesTheFileAndLeavesNothingBeside) {
  TempFolder folder;
  std::string path = folder.File("p.VYK");
  ProjectHeader header;
  header.SetFixedFields();
  EepromImage image = NewImage(kGM);
  WriteProjectFile(path, header, image);
  image.SetEntry(0, 77);
  WriteProjectFile(path, header, image);
  EXPECT_EQ(ReadProjectFile(path, header).image, image);
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);

  const std::string old = ReadBytes(path);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THROW(WriteProjectFile(path, header, NewImage(kFord)), InOutError);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

}  // namespace
}  // namespace vyk
