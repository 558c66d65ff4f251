#pragma once
// Hexadecimal text: what the Box sends and is sent, the byte grid, and the command line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vyk {

// Upper-case digits of value, zero-filled to at least `digits` of them.
std::string FormatHex(uint32_t value, int digits);

// The value of a hexadecimal digit in either case, or -1.
int HexDigitValue(char c);

// 1 to 8 characters, each a hexadecimal digit in either case; nothing otherwise.
std::optional<uint32_t> ReadHexDigits(std::string_view text);

// A field of the Box's replies: digits in either case; any other character (or no digit at
// all) makes the whole value 0.
int ParseHex(std::string_view text);

// The byte grid's editor: the hexadecimal digits at the start of the trimmed text (0 without
// any); RangeError above 0xFF.
int ReadHexByte(std::string_view text);

}  // namespace vyk
