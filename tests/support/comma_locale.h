#pragma once
// A locale whose decimal point is ",", as QApplication sets from the environment of a German
// user. Machines without it skip the tests that need it.
#include <locale>
#include <stdexcept>

namespace vyk::test {

inline constexpr const char* kCommaLocaleName = "de_DE.UTF-8";

inline bool HasCommaLocale() {
  try {
    static_cast<void>(std::locale(kCommaLocaleName));
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

// The C and C++ global locales switched to the comma locale while it lives.
class CommaLocale {
 public:
  CommaLocale() {
    if (HasCommaLocale()) previous_ = std::locale::global(std::locale(kCommaLocaleName));
  }
  ~CommaLocale() { std::locale::global(previous_); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

 private:
  std::locale previous_;
};

}  // namespace vyk::test
