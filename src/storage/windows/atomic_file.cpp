#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "storage/atomic_file_parts.h"
#include "storage/errors.h"
#include "storage/regular_file.h"
#include "storage/windows/wide_text.h"

// The safe save on Windows: a new hidden file beside the old one, written and flushed to the
// disk, then moved over it with MoveFileExW's write-through. A running save keeps its temporary
// open without delete sharing, so that a later save cannot take it for litter.
namespace vyk::atomic_file {

namespace {

// The errno value whose text says what the system's error says, for the same words as on POSIX.
int ErrnoOf(DWORD code) {
  switch (code) {
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

[[noreturn]] void ThrowLastError(const std::string& path) {
  ThrowWriteError(path, ErrnoOf(::GetLastError()));
}

class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~Handle() { Reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
    if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE h, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

}  // namespace

void RemoveStale(const Target& t) {
  const std::string prefix = TemporaryPrefix(t.name);
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(Wide(InFolder(t, prefix + "*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Narrow(found.cFileName);
    // A running save holds its temporary without delete sharing: the delete fails then.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsTemporaryOf(name, prefix))
      ::DeleteFileW(Wide(InFolder(t, name)).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

void Replace(const Target& t, const std::string& path, const std::string& bytes, ReplaceOptions) {
  const std::wstring target = Wide(t.path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
  if (!replacing && ::GetLastError() != ERROR_FILE_NOT_FOUND) ThrowLastError(path);
  if (replacing) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || (attributes & FILE_ATTRIBUTE_DEVICE) != 0)
      throw InOutError(NotAFileText(t.path));
    // A file the user made read-only is not replaced behind their back.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) ThrowWriteError(path, EACCES);
  }
  RemoveStale(t);

  std::wstring temporary;
  Handle file;
  for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
    temporary = Wide(InFolder(t, TemporaryPrefix(t.name) + RandomSuffix()));
    file.Reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!file.Valid() && ::GetLastError() != ERROR_FILE_EXISTS) ThrowLastError(path);
  }
  if (!file.Valid()) ThrowWriteError(path, EEXIST);
  if (!WriteAll(file.Get(), bytes) || !::FlushFileBuffers(file.Get())) {
    const DWORD code = ::GetLastError();
    file.Reset();
    ::DeleteFileW(temporary.c_str());
    ThrowWriteError(path, ErrnoOf(code));
  }
  file.Reset();
  // The new file shows as the old one did: not hidden.
  ::SetFileAttributesW(temporary.c_str(),
                       replacing ? (attributes & ~FILE_ATTRIBUTE_HIDDEN) : FILE_ATTRIBUTE_NORMAL);
  if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = ::GetLastError();
    ::DeleteFileW(temporary.c_str());
    ThrowWriteError(path, ErrnoOf(code));
  }
}

}  // namespace vyk::atomic_file
