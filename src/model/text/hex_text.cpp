#include "model/text/hex_text.h"

#include <array>
#include <charconv>

#include "model/errors.h"
#include "model/text/ascii_text.h"
#include "model/text/number.h"

namespace vyk {

std::string FormatHex(uint32_t value, int digits) {
  std::array<char, 8> buffer{};
  char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, 16).ptr;
  std::string text = UpperAscii(std::string(buffer.data(), end));
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<uint32_t> ReadHexDigits(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

int ParseHex(std::string_view text) {
  return static_cast<int>(ReadHexDigits(text).value_or(0));
}

int ReadHexByte(std::string_view text) {
  int value = 0;
  for (char c : Trim(text)) {
    int digit = HexDigitValue(c);
    if (digit < 0) break;
    value = value * 16 + digit;
    if (value > 0xFF) throw RangeError();
  }
  return value;
}

}  // namespace vyk
