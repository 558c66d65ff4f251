#include "link/device_access.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "storage/regular_file.h"

#if defined(__unix__)
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace vyk {

namespace {

#if defined(__unix__)
std::vector<unsigned> UserGroups() {
  std::vector<gid_t> groups(static_cast<size_t>(std::max(0, ::getgroups(0, nullptr))));
  const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
  std::vector<unsigned> result(groups.begin(), groups.begin() + std::max(0, n));
  result.push_back(::getegid());
  return result;
}
#endif

std::string GroupHint(const std::string& device) {
#if defined(__unix__)
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return "";
  if (!GroupWouldGrantAccess(info.st_mode, info.st_uid, info.st_gid, ::geteuid(), UserGroups()))
    return "";
  if (const group* g = ::getgrgid(info.st_gid)) {
    const std::string name = g->gr_name;
    return ". Your user must belong to the group \"" + name + "\" that owns " + device +
           ": run \"sudo usermod -aG " + name + " $USER\", then log out and in again.";
  }
#endif
  (void)device;
  return "";
}

}  // namespace

bool GroupWouldGrantAccess(unsigned mode, unsigned ownerUid, unsigned ownerGid, unsigned userUid,
                           const std::vector<unsigned>& userGroups) {
  constexpr unsigned kGroupReadWrite = 0060;
  if ((mode & kGroupReadWrite) != kGroupReadWrite) return false;
  if (userUid == ownerUid) return false;
  return std::find(userGroups.begin(), userGroups.end(), ownerGid) == userGroups.end();
}

int TerminalOpenError(const std::string& device) {
#if defined(__unix__)
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::isatty(fd) != 0 ? 0 : errno;
  ::close(fd);
  return error;
#else
  (void)device;
  return 0;
#endif
}

std::string OpenFailureText(const std::string& device, int code) {
  std::string text = "Can't open specified device " + device + " (Error " + std::to_string(code) +
                     ", " + std::strerror(code) + ")";
  if (code == EBUSY) {
    text += ". It is in use by another program: close that program and try again.";
  } else if (code == EACCES || code == EPERM) {
    text += GroupHint(device);
  }
  return text;
}

std::string SerialDeviceLocation(const std::string& name) {
  const bool asIs =
      name.rfind("/", 0) == 0 || name.rfind("./", 0) == 0 || name.rfind("../", 0) == 0;
  return asIs ? name : "/dev/" + name;
}

std::string NotADeviceText(const std::string& name) {
  const std::string location = SerialDeviceLocation(name);
  if (auto kind = FileKindName(location)) {
    if (*kind == "a device") return "";
    return "Can't open specified device " + name + ": it is " + *kind + ", not a serial device";
  }
  if (location == name) return "";
  auto here = FileKindName(name);
  if (!here) return "";
  return "Specified device not found (" + name + "). A name without a folder stands for " +
         location + "; ./" + name + " is " + *here + ", not a serial device.";
}

void AskLowLatency(int fd) {
#if defined(__linux__)
  serial_struct serial{};
  if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) return;  // a pseudo-terminal has no such driver
  serial.flags |= ASYNC_LOW_LATENCY;
  ::ioctl(fd, TIOCSSERIAL, &serial);
#else
  (void)fd;
#endif
}

}  // namespace vyk
