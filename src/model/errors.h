#pragma once
// The errors of the data and its rules, beside those of storage/errors.h: a number out of
// range or not a number at all.
#include <string>

#include "storage/errors.h"

namespace vyk {

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

}  // namespace vyk
