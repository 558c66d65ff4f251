#include "storage/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <string_view>

#include "storage/atomic_file_parts.h"
#include "storage/errors.h"
#include "storage/path_text.h"

namespace vyk {

namespace fs = std::filesystem;

namespace atomic_file {

namespace {

constexpr size_t kNameMax = 255;
constexpr size_t kSuffixLength = 6;
constexpr std::string_view kSuffixCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

void ThrowWriteError(const std::string& path, int error) {
  throw InOutError("Error writing " + path + ": " + std::strerror(error != 0 ? error : EIO));
}

namespace {

Target Resolve(const std::string& path) {
  std::error_code ec;
  // Replace the file a link points to, not the link.
  fs::path target = PathOf(path);
  if (fs::is_symlink(target, ec)) {
    target = fs::weakly_canonical(target, ec);
    if (ec) ThrowWriteError(path, ec.value());
  }
  fs::path folder = target.parent_path();
  return {PathText(target), folder.empty() ? "." : PathText(folder), PathText(target.filename())};
}

}  // namespace

std::string TemporaryPrefix(const std::string& name) {
  return "." + name.substr(0, kNameMax - 2 - kSuffixLength) + ".";
}

bool IsTemporaryOf(std::string_view entry, std::string_view prefix) {
  if (entry.size() != prefix.size() + kSuffixLength || entry.substr(0, prefix.size()) != prefix)
    return false;
  for (char c : entry.substr(prefix.size())) {
    if (kSuffixCharacters.find(c) == std::string_view::npos) return false;
  }
  return true;
}

std::string RandomSuffix() {
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, kSuffixCharacters.size() - 1);
  std::string suffix(kSuffixLength, ' ');
  for (char& c : suffix)
    c = kSuffixCharacters[pick(random)];
  return suffix;
}

std::string InFolder(const Target& t, const std::string& name) {
  return PathText(PathOf(t.folder) / PathOf(name));
}

}  // namespace atomic_file

void WriteFileReplacing(const std::string& path, const std::string& bytes, ReplaceOptions options) {
  atomic_file::Replace(atomic_file::Resolve(path), path, bytes, options);
}

void RemoveStaleTemporaries(const std::string& path) {
  atomic_file::RemoveStale(atomic_file::Resolve(path));
}

}  // namespace vyk
