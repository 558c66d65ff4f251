#include "model/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "model/errors.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace vyk {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowWriteError(const std::string& path, int error) {
  throw InOutError("Error writing " + path + ": " + std::strerror(error));
}

}  // namespace

void WriteFileReplacing(const std::string& path, const std::string& bytes) {
  std::error_code ec;
  // Replace the file a link points to, not the link.
  fs::path target = path;
  if (fs::is_symlink(target, ec)) {
    target = fs::weakly_canonical(target, ec);
    if (ec) ThrowWriteError(path, ec.value());
  }
  fs::file_status old = fs::status(target, ec);  // not_found for a new file
  bool replacing = fs::exists(old);
  // A file the user made read-only is not replaced behind their back.
  if (replacing && (old.permissions() & fs::perms::owner_write) == fs::perms::none)
    ThrowWriteError(path, EACCES);
  std::random_device random;
  fs::path temp = target;
  temp += ".tmp" + std::to_string(random() % 1000000);

  std::FILE* file = std::fopen(temp.string().c_str(), "wbx");
  if (file == nullptr) ThrowWriteError(path, errno);
  bool ok =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
#if !defined(_WIN32)
  ok = ok && ::fsync(::fileno(file)) == 0;
#endif
  int error = errno;
  ok = (std::fclose(file) == 0) && ok;
  if (ok && replacing) fs::permissions(temp, old.permissions(), ec);  // keep the old mode
  if (ok) {
    fs::rename(temp, target, ec);
    if (ec) {
      ok = false;
      error = ec.value();
    }
  }
  if (!ok) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    ThrowWriteError(path, error != 0 ? error : EIO);
  }
}

}  // namespace vyk
