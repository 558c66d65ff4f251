#include "storage/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

// On POSIX the lock is flock on the file itself.
namespace vyk {

FileLock::FileLock(const std::string& path, const std::function<void()>& onWait) {
  bool told = false;
  // A save puts a new file in the old one's place, so the lock a waiting command gets at last
  // may be on a file that is gone: it then locks the file that now has the name.
  for (;;) {
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    int locked = ::flock(fd, LOCK_EX | LOCK_NB);
    if (locked != 0 && errno == EWOULDBLOCK) {
      if (!told && onWait) onWait();
      told = true;
      do {
        locked = ::flock(fd, LOCK_EX);
      } while (locked != 0 && errno == EINTR);
    }
    struct stat held {};
    if (locked != 0 || ::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
      ::close(fd);
      return;
    }
    if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      held_ = fd;
      return;
    }
    ::close(fd);
  }
}

FileLock::~FileLock() {
  if (Held()) ::close(static_cast<int>(held_));
}

}  // namespace vyk
