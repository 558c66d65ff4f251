// Reading and writing the project file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "model/conversions.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/records/project_file.h"
#include "support/temp_folder.h"

namespace vyk {
namespace {

namespace fs = std::filesystem;
using test::FileBytes;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

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

// The header's dates count days from 30 December 1899.
TEST(ProjectHeader, DayNumbersCountFromThe30thOfDecember1899) {
  EXPECT_EQ(DayNumber(1970, 1, 1), 25569);
  EXPECT_EQ(DayNumberText(0), "1899-12-30");
}

// A shorter header is laid over the one in memory; the image follows it.
TEST(ProjectFile, ShortHeaderKeepsTheRestOfTheOldOne) {
  TempFolder folder;
  std::string path = folder.File("p.VYK");
  for (int16_t records : {20, 1}) {
    SCOPED_TRACE(records);
    const int length = records * 16;
    std::string bytes = FileBytes(length + kImageSize, records + 16, records);
    WriteBytes(path, bytes);
    ProjectHeader old;
    old.Bytes().fill(0x5A);
    ProjectReadResult read = ReadProjectFile(path, old);
    ASSERT_EQ(read.status, ProjectReadStatus::Ok);
    for (int i = 0; i < kHeaderSize; ++i)
      ASSERT_EQ(read.header.Bytes()[i], i < length ? uint8_t(bytes[i]) : 0x5A) << i;
    EXPECT_TRUE(std::equal(read.image.Bytes().begin(), read.image.Bytes().end(),
                           reinterpret_cast<const uint8_t*>(bytes.data()) + length));
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
