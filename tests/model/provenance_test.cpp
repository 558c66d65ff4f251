// The block after the project file's image that keeps how the table was made.
#include <gtest/gtest.h>

#include "model/bytes.h"
#include "model/provenance.h"
#include "support/provenance_sample.h"

namespace vyk::test {
namespace {

TEST(Provenance, RoundTripKeepsEveryFieldAndUnknownRecordsAndMarksEditedEntries) {
  Provenance p = SampleProvenance();
  p.unknown.push_back({"NEXT", std::string("\0\1future\xff", 10)});
  EepromImage image = ImageOf(p);
  image.SetEntry(3, 1);
  image.SetEntry(8, 2);
  image.SetEntry(9, 3);
  const std::string block = WriteProvenance(p, image);
  EXPECT_EQ(block.substr(0, 6), std::string("VYKP\1\0", 6));

  const ProvenanceRead read = ReadProvenance(block);
  ASSERT_EQ(read.status, ProvenanceStatus::Ok) << read.why;
  EXPECT_EQ(*read.provenance, p);
  EXPECT_EQ(EntryRangesText(EditedEntries(*read.provenance, image)), "3, 8-9");
  // The "EDIT" record says the same to any other reader: a byte per entry.
  const size_t edit = block.find("EDIT");
  ASSERT_NE(edit, std::string::npos);
  EXPECT_EQ(block.substr(edit + 8, 11), std::string("\0\0\0\1\0\0\0\0\1\1\0", 11));
  // Written again unchanged, byte for byte.
  EXPECT_EQ(WriteProvenance(*read.provenance, image), block);
}

TEST(Provenance, WhatIsNoBlockOrADamagedOne) {
  const std::string good = WriteProvenance(SampleProvenance(), ImageOf(SampleProvenance()));
  std::string badCrc = good;
  badCrc[100] ^= 1;
  std::string longer = good + "x";
  std::string badRecord = good;  // a record that claims more bytes than the data holds
  StoreU32(reinterpret_cast<uint8_t*>(badRecord.data()) + 14 + 4, 99999);
  StoreU32(reinterpret_cast<uint8_t*>(badRecord.data()) + 10,
           Crc32(reinterpret_cast<const uint8_t*>(badRecord.data()) + 14, badRecord.size() - 14));
  struct Case {
    const char* name;
    std::string bytes;
    ProvenanceStatus status;
  } cases[] = {
      {"nothing", "", ProvenanceStatus::None},
      {"other bytes", "notes of another program", ProvenanceStatus::None},
      {"checksum", badCrc, ProvenanceStatus::Damaged},
      {"length", longer, ProvenanceStatus::Damaged},
      {"cut short", good.substr(0, 200), ProvenanceStatus::Damaged},
      {"head only", "VYKP\1", ProvenanceStatus::Damaged},
      {"record length", badRecord, ProvenanceStatus::Damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProvenanceRead read = ReadProvenance(c.bytes);
    EXPECT_EQ(read.status, c.status);
    EXPECT_FALSE(read.provenance.has_value());
  }
}

}  // namespace
}  // namespace vyk::test
