#include "operations/box/terminal_screen.h"

namespace vyk {

void TerminalScreen::Echo(uint8_t byte) {
  if (byte == 10) {
    column_ = 0;
  } else if (byte == 13) {
    if (line_ < kLastLine) {
      ++line_;
    } else {
      lines_.erase(lines_.begin());
      lines_.emplace_back();
    }
  } else if (column_ < kMaxColumn) {
    lines_[line_] += static_cast<char>(byte);
    ++column_;
  }
}

void TerminalScreen::FirstActivate() {
  for (int i = 0; i <= kLastLine; ++i)
    lines_[i].clear();
  line_ = column_ = 0;
}

}  // namespace vyk
