#pragma once
// What a file held when the program read or wrote it, so that a later save can tell whether
// something else has written the file since.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vyk {

// Files are looked at up to this size; a project file is 768 bytes.
inline constexpr size_t kFingerprintBytes = 1 << 20;

struct FileFingerprint {
  uint64_t size = 0;
  uint64_t hash = 0;  // FNV-1a of the bytes
  bool operator==(const FileFingerprint&) const = default;
};

// Of the first kFingerprintBytes of `bytes`.
FileFingerprint FingerprintOf(std::string_view bytes);

// Of the file as it stands; nothing when no plain file is there or it cannot be read.
std::optional<FileFingerprint> FingerprintFile(const std::string& path);

// A file as this program last read or saved it.
struct FileOnDisk {
  std::string path;
  FileFingerprint fingerprint;
};

}  // namespace vyk
