#include "model/text/ascii_text.h"

namespace vyk {

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

std::string PadRight(std::string_view text, int width) {
  std::string padded(text);
  if (static_cast<int>(padded.size()) < width) padded.append(width - padded.size(), ' ');
  return padded;
}

}  // namespace vyk
