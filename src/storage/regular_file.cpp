#include "storage/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "storage/errors.h"
#include "storage/path_text.h"

#if defined(__unix__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vyk {

namespace {

#if defined(__unix__)
std::string KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return "a file";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISSOCK(mode)) return "a socket";
  return "a device";
}
#endif

}  // namespace

std::optional<std::string> FileKindName(const std::string& path) {
#if defined(__unix__)
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return KindOfMode(info.st_mode);
#else
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(PathOf(path), ec);
  if (ec || !fs::exists(status)) return std::nullopt;
  return fs::is_regular_file(status) ? "a file"
         : fs::is_directory(status)  ? "a folder"
                                     : "a device";
#endif
}

std::optional<std::string> NonFileKind(const std::string& path) {
  auto kind = FileKindName(path);
  if (kind == "a file") return std::nullopt;
  return kind;
}

std::string NotAFileText(const std::string& path) {
  auto kind = NonFileKind(path);
  return kind ? path + " is " + *kind + ", not a file" : "";
}

RegularFile::RegularFile(const std::string& path, Access access) : path_(path) {
#if defined(__unix__)
  // Looked at before it is opened, so that no device is opened at all (opening one can act on
  // it), and again once open, in case something else has taken the name in between. Opened
  // without blocking: a pipe would wait for a writer.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    error_ = errno;
    status_ = error_ == ENOENT ? Status::NotFound : Status::Refused;
    return;
  }
  if (!S_ISREG(info.st_mode)) {
    status_ = Status::NotAFile;
    kind_ = KindOfMode(info.st_mode);
    return;
  }
  const int flags = (access == Access::ReadWrite ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY;
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) {
    error_ = errno;
    status_ = error_ == ENOENT ? Status::NotFound : Status::Refused;
    return;
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    status_ = Status::NotAFile;
    kind_ = KindOfMode(info.st_mode);
    ::close(fd);
    return;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file_ = ::fdopen(fd, access == Access::ReadWrite ? "r+b" : "rb");
  if (file_ == nullptr) {
    error_ = errno;
    ::close(fd);
    return;
  }
#else
  if (auto kind = NonFileKind(path)) {
    status_ = Status::NotAFile;
    kind_ = *kind;
    return;
  }
  std::error_code ec;
  if (!std::filesystem::exists(PathOf(path), ec)) {
    status_ = Status::NotFound;
    error_ = ENOENT;
    return;
  }
  file_ = std::fopen(path.c_str(), access == Access::ReadWrite ? "r+b" : "rb");
  if (file_ == nullptr) {
    error_ = errno;
    return;
  }
#endif
  status_ = Status::Open;
}

RegularFile::~RegularFile() {
  if (file_ != nullptr) std::fclose(file_);
}

std::string RegularFile::Problem() const {
  switch (status_) {
    case Status::Open:
      return "";
    case Status::NotAFile:
      return path_ + " is " + kind_ + ", not a file";
    case Status::NotFound:
    case Status::Refused:
      break;
  }
  return "Cannot open " + path_ + ": " + std::strerror(error_ != 0 ? error_ : EIO);
}

void RegularFile::RequireOpen() const {
  if (status_ != Status::Open) throw InOutError(Problem());
}

std::string RegularFile::Read(size_t count) {
  RequireOpen();
  // Piece by piece: a generous limit (a meter text file's megabyte) must not cost a buffer of
  // that size for a file of a few hundred bytes.
  constexpr size_t kPiece = 1 << 16;
  std::string bytes;
  while (bytes.size() < count) {
    const size_t had = bytes.size();
    const size_t wanted = std::min(kPiece, count - had);
    bytes.resize(had + wanted);
    const size_t got = std::fread(bytes.data() + had, 1, wanted, file_);
    bytes.resize(had + got);
    if (got == wanted) continue;
    if (std::ferror(file_) != 0)
      throw InOutError("Error reading " + path_ + ": " + std::strerror(errno));
    break;
  }
  return bytes;
}

uint64_t RegularFile::Size() {
  RequireOpen();
#if defined(_WIN32)
  const bool ended = _fseeki64(file_, 0, SEEK_END) == 0;
  const int64_t size = ended ? _ftelli64(file_) : -1;
#else
  const bool ended = fseeko(file_, 0, SEEK_END) == 0;
  const int64_t size = ended ? static_cast<int64_t>(ftello(file_)) : -1;
#endif
  if (size < 0) throw InOutError("Error reading " + path_ + ": " + std::strerror(errno));
  return static_cast<uint64_t>(size);
}

std::string RegularFile::ReadAt(uint64_t offset, size_t count) {
  RequireOpen();
#if defined(_WIN32)
  const bool placed = _fseeki64(file_, static_cast<int64_t>(offset), SEEK_SET) == 0;
#else
  const bool placed = fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
  if (!placed) throw InOutError("Error reading " + path_ + ": " + std::strerror(errno));
  return Read(count);
}

std::string ReadSmallFile(const std::string& path, size_t limit, const std::string& what) {
  RegularFile file(path, RegularFile::Access::Read);
  std::string bytes = file.Read(limit + 1);
  if (bytes.size() > limit)
    throw InOutError(path + " is too large for " + what + " (more than " + std::to_string(limit) +
                     " bytes)");
  return bytes;
}

}  // namespace vyk
