#pragma once
// Texts in files are 8-bit Windows-1252; the command line and the tests speak UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace vyk {

std::string Cp1252ToUtf8(std::string_view bytes);
// Nothing when the text is not valid UTF-8 or holds a character Windows-1252 lacks.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

}  // namespace vyk
