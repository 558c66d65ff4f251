#pragma once
// The project file: 48 records of 16 bytes, the header's records then the image's.
#include <string>
#include <string_view>

#include "model/eeprom_image.h"
#include "model/project_header.h"
#include "model/provenance.h"
#include "storage/file_fingerprint.h"

namespace vyk {

inline constexpr int kRecordSize = 16;
inline constexpr int kProjectFileSize = kHeaderSize + kImageSize;  // 768

enum class ProjectReadStatus {
  Ok,
  NotFound,        // no file of that name
  CannotOpen,      // (1) not openable for reading and writing, or no plain file
  BadFirstRecord,  // (2) no first record, or file length != header length + 16
  ShortHeader,     // (3) fewer header records than the header length asks for
  ShortImage,      // (4) fewer than 16 image records
  BadHeaderLength  // (5) header length outside 1..32
};

struct ProjectReadResult {
  ProjectReadStatus status = ProjectReadStatus::Ok;
  ProjectHeader header;         // on Ok: the header read over the one passed in
  EepromImage image;            // on Ok: the image read
  FileFingerprint fingerprint;  // on Ok: of the whole file as it was read
  // On Ok: the block after the image that tells how the table was made, and that block's
  // bytes (kept to be written back when it is damaged and the user wants it kept). Bytes
  // after the image that are no block are not read, and a save does not write them.
  ProvenanceRead provenance;
  std::string provenanceBytes;
};

// Reads a project file. The header records it holds are laid over `header` (records beyond
// the file's header length keep what `header` had); the image is the 16 records after them.
// A system read error throws InOutError.
ProjectReadResult ReadProjectFile(const std::string& path, const ProjectHeader& header);

// The message LoadProjectFile shows for a status (empty for Ok).
std::string ProjectReadMessage(ProjectReadStatus status, const std::string& path);

// Writes the 768 bytes, then `afterImage` (a block, or nothing), through WriteFileReplacing,
// so a failed or killed save never leaves a torn project file, and gives their fingerprint.
// A system error throws InOutError and leaves any old file as it was.
FileFingerprint WriteProjectFile(const std::string& path, const ProjectHeader& header,
                                 const EepromImage& image, std::string_view afterImage = {});

}  // namespace vyk
