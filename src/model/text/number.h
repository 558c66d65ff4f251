#pragma once
// The strict decimal number reader and the locale-free number writer shared by every text
// conversion of the program.
#include <optional>
#include <string>
#include <string_view>

namespace vyk {

// Reads a decimal number: leading blanks, an optional sign, digits with "." as the decimal
// point (at least one digit), an optional exponent, and nothing after. Returns the value
// rounded once to a 32-bit float, or nothing when the text is no number. Throws
// OverflowError when the value is beyond the range of a 32-bit float.
std::optional<float> ReadNumber(std::string_view text);

// Reads a number as ReadNumber does, kept at extended precision and range. Throws
// OverflowError only beyond the range of a long double.
std::optional<long double> ReadExtended(std::string_view text);

// Rounds to a 32-bit float; throws OverflowError when the value is beyond a float's range.
float ToFloat(long double value);

// Reads a number as the program's cells and files hold it: blanks around it are allowed.
// Throws ConvertError naming the text when it is no number, OverflowError beyond a float.
float TextToFloat(std::string_view text);
// The same at extended precision and range.
long double TextToExtended(std::string_view text);

// Cuts characters up to and including blank (control characters and spaces) from both ends.
std::string Trim(std::string_view text);
// Cuts blanks and tabs only from both ends, as settings and logs space their cells.
std::string_view TrimBlanks(std::string_view text);

// Formats value with `decimals` digits after "." (correctly rounded, an exact half to even),
// right-aligned in at least `width` characters, whatever the locale.
std::string FormatFixed(long double value, int width, int decimals);

// Rounds to the nearest integer, an exact half to the even neighbour.
long double RoundHalfEven(long double value);

}  // namespace vyk
