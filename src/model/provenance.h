#pragma once
// How the project's table was made: the block a project file may carry after its 768 bytes.
//
//   "VYKP", version (UInt16 LE, 1), data length (UInt32 LE), CRC-32 of the data (UInt32 LE),
//   then the data: records of a 4-byte tag, a length (UInt32 LE) and that many bytes:
//     "USE "  the meter to use, its whole 2176-byte meter record
//     "MTCH"  the meter to match, likewise
//     "SETS"  what the match needs to be made again: groups, HertzPerCount, MaxOutputCount,
//             the two meter file names and when it was made
//     "RSLT"  the 33 table entries the match left (UInt16 LE each)
//     "EDIT"  one byte per entry, 1 where the table no longer holds the match's value (entry
//             32, which the match leaves alone, always 0)
//   Records of other tags are kept byte for byte and written back after the known ones.
//
// A reader that reads only the 768 bytes never sees the block; a file without it stays 768
// bytes. The meter images are plain bytes here; `MeterRecord(provenance.match)` (meters/)
// gives the meter to match as a record, the way the project's later tools read it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/eeprom_image.h"
#include "model/text/text_encoding.h"

namespace vyk {

inline constexpr int kMeterImageSize = 2176;
using MeterImage = std::array<uint8_t, kMeterImageSize>;

// The settings a match was computed with.
struct MatchSettings {
  uint8_t group = 0;  // the project's group at the match
  uint8_t useGroup = 0;
  uint8_t matchGroup = 0;
  float hertzPerCount = 0;
  int32_t maxOutputCount = 0;
  FileText useFile;  // as the match listed them, 31 characters at most
  FileText matchFile;
  int32_t madeDay = 0;      // day number of the match
  int64_t madeSeconds = 0;  // its wall-clock time, seconds since 1970 (0: not known)
  bool operator==(const MatchSettings&) const = default;
};

// A record the program does not know, kept as it was read.
struct TaggedRecord {
  std::string tag;  // 4 bytes
  std::string data;
  bool operator==(const TaggedRecord&) const = default;
};

struct Provenance {
  MeterImage use{};
  MeterImage match{};
  MatchSettings settings;
  std::array<uint16_t, kTableEntries> result{};  // the table the match left
  std::vector<TaggedRecord> unknown;
  bool operator==(const Provenance&) const = default;
};

enum class ProvenanceStatus {
  None,     // no block: the bytes after the image, if any, are something else
  Ok,       // read
  Damaged,  // the magic is there, but the length, checksum, version or a record is wrong
  Newer,    // whole (length and checksum right), of a later version than this program reads
};

struct ProvenanceRead {
  ProvenanceStatus status = ProvenanceStatus::None;
  std::optional<Provenance> provenance;  // when Ok
  std::string why;                       // when Damaged: what is wrong, for the warning
};

// Reads the bytes that follow the project file's image.
ProvenanceRead ReadProvenance(std::string_view afterImage);

// The whole block for `p`, its "EDIT" record computed from the table as it stands in `image`.
std::string WriteProvenance(const Provenance& p, const EepromImage& image);

// The entries (0..31, those a match writes) whose value in `image` is no longer the match's.
std::vector<int> EditedEntries(const Provenance& p, const EepromImage& image);

// Entries as a short list: "3, 7-9", or "none".
std::string EntryRangesText(const std::vector<int>& entries);

// The transfer-table entries of an image, as a match result holds them.
std::array<uint16_t, kTableEntries> TableEntriesOf(const EepromImage& image);

}  // namespace vyk
