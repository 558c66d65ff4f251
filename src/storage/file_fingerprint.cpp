#include "storage/file_fingerprint.h"

#include "storage/errors.h"
#include "storage/regular_file.h"

namespace vyk {

FileFingerprint FingerprintOf(std::string_view bytes) {
  bytes = bytes.substr(0, kFingerprintBytes);
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return {bytes.size(), hash};
}

std::optional<FileFingerprint> FingerprintFile(const std::string& path) {
  RegularFile file(path, RegularFile::Access::Read);
  if (file.GetStatus() != RegularFile::Status::Open) return std::nullopt;
  try {
    return FingerprintOf(file.Read(kFingerprintBytes));
  } catch (const InOutError&) {
    return std::nullopt;
  }
}

}  // namespace vyk
