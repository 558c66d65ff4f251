#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string>

#include "storage/atomic_file_parts.h"
#include "storage/errors.h"
#include "storage/regular_file.h"

// The safe save on POSIX: an unnamed or hidden new file, flushed, renamed over the old one, the
// folder flushed; locks tell a running save's temporary from litter.
namespace vyk::atomic_file {

namespace {

// A stale temporary that a file system keeping no locks cannot tell from a running save's is
// taken for abandoned after this long.
constexpr std::time_t kUnlockedStaleSeconds = 10 * 60;

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    done += static_cast<size_t>(n);
  }
  return 0;
}

void WriteInPlace(const Target& t, const std::string& path, const std::string& bytes) {
  Descriptor fd(::open(t.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.Get() < 0) ThrowWriteError(path, errno);
  if (int error = WriteAll(fd.Get(), bytes); error != 0) ThrowWriteError(path, error);
  if (::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd.Get()) != 0)
    ThrowWriteError(path, errno);
}

// The new file until it has taken the old one's place: the descriptor holds a lock on it for
// as long as the save runs, which tells a later save that it is no litter; a hidden name it
// was given is removed again when the save fails.
struct Temporary {
  Descriptor fd;
  std::string hiddenPath;
  ~Temporary() {
    if (!hiddenPath.empty()) ::unlink(hiddenPath.c_str());
  }
};

// A new file under a hidden name: 0 or the system's error number.
int CreateNamed(const Target& t, Temporary& temp) {
  const std::string prefix = TemporaryPrefix(t.name);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string hidden = InFolder(t, prefix + RandomSuffix());
    temp.fd.Reset(::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                         0666));  // the user's umask applies, as to any new file
    if (temp.fd.Get() < 0) {
      if (errno == EEXIST) continue;
      return errno;
    }
    // A cleaning save may have taken the file for litter before it was locked: then it is
    // (or is about to be) gone, and another name is taken.
    struct stat opened {};
    struct stat named {};
    if (::flock(temp.fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) continue;
    if (::fstat(temp.fd.Get(), &opened) != 0 || ::lstat(hidden.c_str(), &named) != 0 ||
        !SameFile(opened, named))
      continue;
    temp.hiddenPath = hidden;
    return 0;
  }
  return EEXIST;
}

// An unnamed new file in the folder: 0, or the system's error number with `unsupported` set
// when the file system cannot make one.
int CreateUnnamed(const Target& t, Temporary& temp, bool& unsupported) {
  unsupported = true;
#if defined(O_TMPFILE)
  temp.fd.Reset(::open(t.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (temp.fd.Get() >= 0) {
    unsupported = false;
    ::flock(temp.fd.Get(), LOCK_EX);
    return 0;
  }
  const int error = errno;
  // Refusals that a named file would meet just the same.
  unsupported = !(error == EACCES || error == EPERM || error == EROFS || error == ENOSPC ||
                  error == EDQUOT || error == ENOENT || error == ENOTDIR);
  return error;
#else
  (void)t;
  (void)temp;
  return EOPNOTSUPP;
#endif
}

// Gives the unnamed file its hidden name: 0 or the system's error number.
int LinkUnnamed(const Target& t, Temporary& temp) {
  const std::string prefix = TemporaryPrefix(t.name);
  const std::string self = "/proc/self/fd/" + std::to_string(temp.fd.Get());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string hidden = InFolder(t, prefix + RandomSuffix());
    int done = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW);
#if defined(AT_EMPTY_PATH)
    if (done != 0 && errno == ENOENT)  // no /proc: the privileged way
      done = ::linkat(temp.fd.Get(), "", AT_FDCWD, hidden.c_str(), AT_EMPTY_PATH);
#endif
    if (done == 0) {
      temp.hiddenPath = hidden;
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

void SyncFolder(const Target& t, const std::string& path) {
  Descriptor fd(::open(t.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() < 0) return;
  // Some file systems do not sync folders; the rename is then as durable as they make it.
  if (::fsync(fd.Get()) != 0 && errno != EINVAL && errno != EROFS && errno != EOPNOTSUPP)
    ThrowWriteError(path, errno);
}

}  // namespace

void RemoveStale(const Target& t) {
  DIR* dir = ::opendir(t.folder.c_str());
  if (dir == nullptr) return;
  const int folder = ::dirfd(dir);
  const std::string prefix = TemporaryPrefix(t.name);
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (!IsTemporaryOf(name, prefix)) continue;
    Descriptor fd(
        ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat opened {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &opened) != 0 || !S_ISREG(opened.st_mode)) continue;
    bool stale = ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0;  // no running save holds it
    if (!stale && errno != EWOULDBLOCK) stale = now - opened.st_mtime > kUnlockedStaleSeconds;
    struct stat named {};
    if (stale && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(opened, named))
      ::unlinkat(folder, name, 0);
  }
  ::closedir(dir);
}

void Replace(const Target& t, const std::string& path, const std::string& bytes,
             ReplaceOptions options) {
  struct stat old {};
  const bool replacing = ::stat(t.path.c_str(), &old) == 0;
  if (!replacing && errno != ENOENT) ThrowWriteError(path, errno);
  if (replacing) {
    if (!S_ISREG(old.st_mode)) throw InOutError(NotAFileText(t.path));
    // A file the user made read-only is not replaced behind their back.
    if ((old.st_mode & S_IWUSR) == 0) ThrowWriteError(path, EACCES);
    // Every name of the file must show the new content.
    if (old.st_nlink > 1) return WriteInPlace(t, path, bytes);
  }
  RemoveStale(t);

  Temporary temp;
  bool unsupported = false;
  int error = options.unnamedTemporary ? CreateUnnamed(t, temp, unsupported) : 0;
  const bool unnamed = options.unnamedTemporary && error == 0;
  if (!unnamed && (error == 0 || unsupported)) error = CreateNamed(t, temp);
  if (error != 0) {
    // A folder that takes no new file: the file is overwritten, as a plain save would.
    if (replacing && (error == EACCES || error == EPERM)) return WriteInPlace(t, path, bytes);
    ThrowWriteError(path, error);
  }

  if (int e = WriteAll(temp.fd.Get(), bytes); e != 0) ThrowWriteError(path, e);
  if (replacing) {
    struct stat made {};
    if (::fstat(temp.fd.Get(), &made) != 0) ThrowWriteError(path, errno);
    // A save by root or by another user keeps the file its owner's; where the owner cannot be
    // handed on, the file is overwritten instead.
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(temp.fd.Get(), old.st_uid, old.st_gid) != 0)
      return WriteInPlace(t, path, bytes);
    if (::fchmod(temp.fd.Get(), old.st_mode & 07777) != 0) ThrowWriteError(path, errno);
  }
  if (::fsync(temp.fd.Get()) != 0) ThrowWriteError(path, errno);
  if (unnamed) {
    if (int e = LinkUnnamed(t, temp); e != 0) {
      // Linking an unnamed file needs /proc or a privilege: the named way works without.
      temp.fd.Reset();
      return Replace(t, path, bytes, ReplaceOptions{false});
    }
  }
  if (::rename(temp.hiddenPath.c_str(), t.path.c_str()) != 0) ThrowWriteError(path, errno);
  temp.hiddenPath.clear();
  SyncFolder(t, path);
}

}  // namespace vyk::atomic_file
