#pragma once
// An advisory lock held on a file while a command reads it, changes it and writes it back, so
// that two such commands on one file take turns instead of one losing the other's edit.
#include <cstdint>
#include <functional>
#include <string>

namespace vyk {

class FileLock {
 public:
  // Waits until no other holder has the file. A file that is missing, no plain file or cannot
  // be opened is not locked: its reading will say what is wrong with it. `onWait` runs once
  // before the wait when another holder has the file, never when it is free.
  explicit FileLock(const std::string& path, const std::function<void()>& onWait = {});
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool Held() const { return held_ != kNone; }

 private:
  static constexpr std::intptr_t kNone = -1;
  // What holds the lock: a descriptor of the file on POSIX, a named mutex's handle on Windows.
  std::intptr_t held_ = kNone;
};

}  // namespace vyk
