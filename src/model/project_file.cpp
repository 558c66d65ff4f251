#include "model/project_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "model/errors.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace vyk {

namespace fs = std::filesystem;

namespace {

// Reads up to `count` whole records into `out`; returns how many whole records were read.
int ReadRecords(std::fstream& file, const std::string& path, uint8_t* out, int count) {
  std::vector<char> buffer(static_cast<size_t>(count) * kRecordSize);
  file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  if (file.bad()) throw InOutError("Error reading " + path + ": " + std::strerror(errno));
  int records = static_cast<int>(file.gcount() / kRecordSize);
  std::memcpy(out, buffer.data(), static_cast<size_t>(records) * kRecordSize);
  return records;
}

[[noreturn]] void ThrowWriteError(const std::string& path, int error) {
  throw InOutError("Error writing " + path + ": " + std::strerror(error));
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

void WriteFileReplacing(const std::string& path, const std::string& bytes) {
  std::error_code ec;
  // Replace the file a link points to, not the link.
  fs::path target = path;
  if (fs::is_symlink(target, ec)) {
    target = fs::weakly_canonical(target, ec);
    if (ec) ThrowWriteError(path, ec.value());
  }
  fs::file_status old = fs::status(target, ec);  // not_found for a new file
  bool replacing = fs::exists(old);
  // A file the user made read-only is not replaced behind their back.
  if (replacing && (old.permissions() & fs::perms::owner_write) == fs::perms::none)
    ThrowWriteError(path, EACCES);
  std::random_device random;
  fs::path temp = target;
  temp += ".tmp" + std::to_string(random() % 1000000);

  std::FILE* file = std::fopen(temp.string().c_str(), "wbx");
  if (file == nullptr) ThrowWriteError(path, errno);
  bool ok =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
#if !defined(_WIN32)
  ok = ok && ::fsync(::fileno(file)) == 0;
#endif
  int error = errno;
  ok = (std::fclose(file) == 0) && ok;
  if (ok && replacing) fs::permissions(temp, old.permissions(), ec);  // keep the old mode
  if (ok) {
    fs::rename(temp, target, ec);
    if (ec) {
      ok = false;
      error = ec.value();
    }
  }
  if (!ok) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    ThrowWriteError(path, error != 0 ? error : EIO);
  }
}

}  // namespace vyk
