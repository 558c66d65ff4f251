#pragma once
// Files read where a plain file is wanted. A folder, pipe, device or socket given in its place
// is refused before a byte is read: a pipe would block the program for good and a device such
// as /dev/zero would feed it without end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace vyk {

// What stands at `path`: "a file", "a folder", "a pipe", "a socket", "a block device" or
// "a device"; nothing when nothing is there.
std::optional<std::string> FileKindName(const std::string& path);

// The same, but nothing for a plain file either.
std::optional<std::string> NonFileKind(const std::string& path);

// "PATH is a folder, not a file" and the like; empty for a plain file or a missing one.
std::string NotAFileText(const std::string& path);

// The whole of the plain file at `path` when it holds at most `limit` bytes. A larger one is
// refused unread past the limit ("PATH is too large for WHAT (more than LIMIT bytes)"), as is
// whatever is no plain file. Throws InOutError.
std::string ReadSmallFile(const std::string& path, size_t limit, const std::string& what);

class RegularFile {
 public:
  enum class Access { Read, ReadWrite };
  enum class Status { Open, NotFound, NotAFile, Refused };

  RegularFile(const std::string& path, Access access);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  Status GetStatus() const { return status_; }
  // Why the file is not open, naming it; empty when it is.
  std::string Problem() const;
  // Throws InOutError with Problem() unless the file is open.
  void RequireOpen() const;
  // Up to `count` bytes from where the last read stopped; fewer only at the end of the file.
  // Throws InOutError on a system read error.
  std::string Read(size_t count);
  // The file's size in bytes. Throws InOutError.
  uint64_t Size();
  // Up to `count` bytes from `offset` on; reading goes on from where these end.
  std::string ReadAt(uint64_t offset, size_t count);

 private:
  std::string path_;
  Status status_ = Status::Refused;
  int error_ = 0;  // the system's error number of a refused open
  std::string kind_;
  std::FILE* file_ = nullptr;
};

}  // namespace vyk
