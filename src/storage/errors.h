#pragma once
// The errors every layer raises: the base of all of them, and a file that could not be read or
// written. The UI shows their text in an error box and goes on, the command line prints it and
// exits non-zero.
#include <stdexcept>
#include <string>

namespace vyk {

class VykError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file could not be read or written; the text is the system's.
class InOutError : public VykError {
 public:
  using VykError::VykError;
};

}  // namespace vyk
