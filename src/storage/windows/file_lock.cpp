#include "storage/file_lock.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <functional>
#include <string>
#include "storage/path_text.h"

// On Windows the lock is a mutex named for the file's full path, not a lock on the file: an
// open handle on the file would stop the save that moves a new file into its place.
namespace vyk {

namespace {

// One name for every spelling of the path (file names are not case-sensitive); a mutex name
// may not hold a backslash.
std::wstring MutexName(const std::filesystem::path& file) {
  std::wstring key = file.wstring();
  std::transform(key.begin(), key.end(), key.begin(),
                 [](wchar_t c) { return c == L'\\' ? L'/' : std::towlower(c); });
  return L"Local\\vyk-edit-lock:" + std::to_wstring(std::hash<std::wstring>{}(key));
}

}  // namespace

FileLock::FileLock(const std::string& path, const std::function<void()>& onWait) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path file = PathOf(path);
  if (!fs::is_regular_file(file, ec)) return;
  const fs::path full = fs::weakly_canonical(file, ec);
  if (ec) return;
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, MutexName(full).c_str());
  if (mutex == nullptr) return;
  DWORD got = ::WaitForSingleObject(mutex, 0);
  if (got == WAIT_TIMEOUT) {
    if (onWait) onWait();
    got = ::WaitForSingleObject(mutex, INFINITE);
  }
  // A holder that ended without letting go leaves the mutex abandoned: it is ours then.
  if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return;
  }
  held_ = reinterpret_cast<std::intptr_t>(mutex);
}

FileLock::~FileLock() {
  if (!Held()) return;
  HANDLE mutex = reinterpret_cast<HANDLE>(held_);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

}  // namespace vyk
