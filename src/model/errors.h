#pragma once
// Run-time errors the core raises; the UI shows their text in an error box and goes on,
// the command line prints it and exits non-zero.
#include <stdexcept>
#include <string>

namespace vyk {

class VykError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An index or an integer out of its range.
class RangeError : public VykError {
 public:
  RangeError() : VykError("Range check error") {}
};

// A text that is no number where a number is required.
class ConvertError : public VykError {
 public:
  explicit ConvertError(const std::string& text)
      : VykError("'" + text + "' is not a valid floating point value") {}
};

// A number beyond the range of a 32-bit float.
class OverflowError : public VykError {
 public:
  OverflowError() : VykError("Floating point overflow") {}
};

// A file could not be read or written; the text is the system's.
class InOutError : public VykError {
 public:
  using VykError::VykError;
};

}  // namespace vyk
