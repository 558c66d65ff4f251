#include "model/records/project_file.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "storage/atomic_file.h"
#include "storage/regular_file.h"

namespace vyk {

namespace {

// Reads up to `count` whole records into `out`, keeping every byte read in `seen`; returns how
// many whole records were read.
int ReadRecords(RegularFile& file, uint8_t* out, int count, std::string& seen) {
  if (count <= 0) return 0;  // a one-record header: nothing more to read, nor to copy
  const std::string bytes = file.Read(static_cast<size_t>(count) * kRecordSize);
  seen += bytes;
  int records = static_cast<int>(bytes.size() / kRecordSize);
  std::memcpy(out, bytes.data(), static_cast<size_t>(records) * kRecordSize);
  return records;
}

}  // namespace

ProjectReadResult ReadProjectFile(const std::string& path, const ProjectHeader& header) {
  ProjectReadResult result;
  result.header = header;
  // Opened for reading and writing, the access a save needs.
  RegularFile file(path, RegularFile::Access::ReadWrite);
  switch (file.GetStatus()) {
    case RegularFile::Status::Open:
      break;
    case RegularFile::Status::NotFound:
      result.status = ProjectReadStatus::NotFound;
      return result;
    case RegularFile::Status::NotAFile:  // a folder, pipe or device: never read, so never hangs
    case RegularFile::Status::Refused:
      result.status = ProjectReadStatus::CannotOpen;
      return result;
  }
  std::string seen;
  std::array<uint8_t, kRecordSize> first{};
  if (ReadRecords(file, first.data(), 1, seen) < 1) {
    result.status = ProjectReadStatus::BadFirstRecord;
    return result;
  }
  ProjectHeader firstRecord;
  std::memcpy(firstRecord.Bytes().data(), first.data(), kRecordSize);
  int headerRecords = firstRecord.HeaderRecords();
  if (firstRecord.FileRecords() != headerRecords + 16) {
    result.status = ProjectReadStatus::BadFirstRecord;
    return result;
  }
  // The in-memory header holds 32 records: a longer one would overrun it.
  if (headerRecords < 1 || headerRecords > kHeaderSize / kRecordSize) {
    result.status = ProjectReadStatus::BadHeaderLength;
    return result;
  }
  std::memcpy(result.header.Bytes().data(), first.data(), kRecordSize);
  if (ReadRecords(file, result.header.Bytes().data() + kRecordSize, headerRecords - 1, seen) <
      headerRecords - 1) {
    result.status = ProjectReadStatus::ShortHeader;
    return result;
  }
  if (ReadRecords(file, result.image.Bytes().data(), kImageSize / kRecordSize, seen) <
      kImageSize / kRecordSize) {
    result.status = ProjectReadStatus::ShortImage;
    return result;
  }
  // Whatever follows the image is part of the file a later save would replace. A block is a
  // few kilobytes: a longer tail is read only as far as the fingerprint goes, and then is no
  // block of the right length.
  const size_t read = seen.size();
  seen += file.Read(kFingerprintBytes - std::min(seen.size(), kFingerprintBytes));
  result.fingerprint = FingerprintOf(seen);
  const std::string_view after = std::string_view(seen).substr(read);
  result.provenance = ReadProvenance(after);
  // A tail beyond what was read cannot be written back whole: it is not kept.
  if (result.provenance.status != ProvenanceStatus::None && file.Read(1).empty())
    result.provenanceBytes = after;
  return result;
}

std::string ProjectReadMessage(ProjectReadStatus status, const std::string& path) {
  switch (status) {
    case ProjectReadStatus::Ok:
      return "";
    case ProjectReadStatus::NotFound:
      return path + " not found";
    case ProjectReadStatus::CannotOpen:
      return "Error (1) reading " + path;
    case ProjectReadStatus::BadFirstRecord:
      return "Error (2) reading " + path;
    case ProjectReadStatus::ShortHeader:
      return "Error (3) reading " + path;
    case ProjectReadStatus::ShortImage:
      return "Error (4) reading " + path;
    case ProjectReadStatus::BadHeaderLength:
      return "Error (5) reading " + path;
  }
  return "";
}

FileFingerprint WriteProjectFile(const std::string& path, const ProjectHeader& header,
                                 const EepromImage& image, std::string_view afterImage) {
  std::string bytes(reinterpret_cast<const char*>(header.Bytes().data()), kHeaderSize);
  bytes.append(reinterpret_cast<const char*>(image.Bytes().data()), kImageSize);
  bytes.append(afterImage);
  WriteFileReplacing(path, bytes);
  return FingerprintOf(bytes);
}

}  // namespace vyk
