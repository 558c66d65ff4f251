#include "model/text/number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "model/errors.h"

namespace vyk {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<float> ReadNumber(std::string_view text) {
  auto value = ReadExtended(text);
  if (!value) return std::nullopt;
  return ToFloat(*value);
}

std::optional<long double> ReadExtended(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ')
    ++i;
  std::string number;  // the number without its "+" sign, for from_chars
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number += '-';
    ++i;
  }
  size_t digits = 0;
  long significant = 0;      // digits before the point, leading zeros not counted
  bool nonzero = false;      // a non-zero digit seen in the mantissa
  long zerosAfterPoint = 0;  // zeros after the point before the first non-zero digit
  while (i < text.size() && IsDigit(text[i])) {
    if (text[i] != '0') nonzero = true;
    if (nonzero) ++significant;
    number += text[i++];
    ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) {
      if (text[i] != '0') {
        nonzero = true;
      } else if (!nonzero) {
        ++zerosAfterPoint;
      }
      number += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    number += text[i++];
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    size_t expDigits = 0;
    bool negative = !number.empty() && number.back() == '-';
    while (i < text.size() && IsDigit(text[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
      number += text[i++];
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
    if (negative) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;

  long double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                   std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Out of range either way: the decimal magnitude tells overflow from underflow.
    long magnitude = (significant > 0 ? significant : -zerosAfterPoint) + exponent;
    if (!nonzero || magnitude < 0) return number.front() == '-' ? -0.0L : 0.0L;
    throw OverflowError();
  }
  if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}

float ToFloat(long double value) {
  float stored = static_cast<float>(value);
  if (std::isinf(stored)) throw OverflowError();
  return stored;
}

float TextToFloat(std::string_view text) {
  return ToFloat(TextToExtended(text));
}

long double TextToExtended(std::string_view text) {
  auto value = ReadExtended(Trim(text));
  if (!value) throw ConvertError(std::string(text));
  return *value;
}

std::string Trim(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
    ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
    --last;
  return std::string(text.substr(first, last - first));
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

std::string FormatFixed(long double value, int width, int decimals) {
  std::array<char, 128> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::fixed, decimals);
  if (ec != std::errc()) throw RangeError();
  std::string text(buffer.data(), end);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

long double RoundHalfEven(long double value) {
  // nearbyint follows the current rounding mode, which the program never changes from
  // round-to-nearest-even.
  return std::nearbyint(value);
}

}  // namespace vyk
