#pragma once
// The terminal window's screen: every byte the Box sends, as lines of at most 79 characters.
// CR moves to the next line (scrolling at the bottom), LF starts the character count again.
#include <string>
#include <vector>

namespace vyk {

class TerminalScreen {
 public:
  static constexpr int kInitialLines = 26;
  static constexpr int kLastLine = 24;
  static constexpr int kMaxColumn = 79;

  TerminalScreen() : lines_(kInitialLines) {}

  // A byte from the Box.
  void Echo(uint8_t byte);
  // The window's first showing: lines 0 to 24 emptied, writing starts at the top.
  void FirstActivate();

  const std::vector<std::string>& Lines() const { return lines_; }
  int Line() const { return line_; }
  int Column() const { return column_; }

 private:
  std::vector<std::string> lines_;
  int line_ = 0;
  int column_ = 0;
};

}  // namespace vyk
