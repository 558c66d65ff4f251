#pragma once
// Letter case and columns of the program's 8-bit texts.
#include <string>
#include <string_view>

namespace vyk {

// Upper-cases a..z only: the texts are code-page bytes (or UTF-8 file names), and folding any
// other byte would change a character into another one.
std::string UpperAscii(std::string_view text);

// The text followed by blanks up to `width` bytes: a left-aligned column.
std::string PadRight(std::string_view text, int width);

}  // namespace vyk
