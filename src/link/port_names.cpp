#include "link/port_names.h"

namespace vyk {

std::string PortNameFor(int portNumber) {
#if defined(_WIN32)
  return "\\\\.\\COM" + std::to_string(portNumber);
#else
  return "/dev/ttyS" + std::to_string(portNumber - 1);
#endif
}

}  // namespace vyk
