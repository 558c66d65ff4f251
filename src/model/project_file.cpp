#include "model/project_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "model/atomic_file.h"
#include "model/errors.h"

namespace vyk {

namespace fs = std::filesystem;

namespace {

// Reads up to `count` whole records into `out`; returns how many whole records were read.
int ReadRecords(std::fstream& file, const std::string& path, uint8_t* out, int count) {
  if (count <= 0) return 0;  // a one-record header: nothing more to read, nor to copy
  std::vector<char> buffer(static_cast<size_t>(count) * kRecordSize);
  file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  if (file.bad()) throw InOutError("Error reading " + path + ": " + std::strerror(errno));
  int records = static_cast<int>(file.gcount() / kRecordSize);
  std::memcpy(out, buffer.data(), static_cast<size_t>(records) * kRecordSize);
  return records;
}

}  // namespace

ProjectReadResult ReadProjectFile(const std::string& path, const ProjectHeader& header) {
  ProjectReadResult result;
  result.header = header;
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    result.status = ProjectReadStatus::NotFound;
    return result;
  }
  // Opened for reading and writing, the access a save needs.
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  if (!file.is_open()) {
    result.status = ProjectReadStatus::CannotOpen;
    return result;
  }
  std::array<uint8_t, kRecordSize> first{};
  if (ReadRecords(file, path, first.data(), 1) < 1) {
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
  if (ReadRecords(file, path, result.header.Bytes().data() + kRecordSize, headerRecords - 1) <
      headerRecords - 1) {
    result.status = ProjectReadStatus::ShortHeader;
    return result;
  }
  if (ReadRecords(file, path, result.image.Bytes().data(), kImageSize / kRecordSize) <
      kImageSize / kRecordSize) {
    result.status = ProjectReadStatus::ShortImage;
    return result;
  }
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

void WriteProjectFile(const std::string& path, const ProjectHeader& header,
                      const EepromImage& image) {
  std::string bytes(reinterpret_cast<const char*>(header.Bytes().data()), kHeaderSize);
  bytes.append(reinterpret_cast<const char*>(image.Bytes().data()), kImageSize);
  WriteFileReplacing(path, bytes);
}

}  // namespace vyk
