// Texts typed into the byte grid. A text whose leading hexadecimal digits (after blanks) name
// a value up to FF stores exactly that byte; one above FF is refused with a range error and
// changes nothing; no other byte ever changes; the cell then shows the byte, and its editor's
// starting text, left as it is, stores the same byte.
#include <array>

#include "model/text/hex_text.h"
#include "operations/table/image_grids.h"
#include "support/fuzz_session.h"

using namespace vyk;
using namespace vyk::fuzz;

namespace {

// The value of the leading hexadecimal digits after blanks and control characters; nothing
// when it goes past FF.
std::optional<int> LeadingHex(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
    ++i;
  int value = 0;
  for (; i < text.size() && HexDigitValue(text[i]) >= 0; ++i) {
    value = value * 16 + HexDigitValue(text[i]);
    if (value > 0xFF) return std::nullopt;
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  FuzzSession f(in.Byte());
  AppState& st = f.state;
  while (!in.Empty()) {
    const int address = in.Byte();
    const int column = 1 + address % 16;
    const int row = 1 + address / 16;
    const std::string text(in.Until('\n'));
    const EepromImage before = st.image;
    const std::optional<int> value = LeadingHex(text);
    bool refused = false;
    try {
      EepromGridSetEditText(f.session, column, row, text);
    } catch (const RangeError&) {
      refused = true;
    }
    EepromImage expected = before;
    if (!text.empty() && value) expected.SetByte(address, static_cast<uint8_t>(*value));
    Require(refused == (!text.empty() && !value), "a value above FF, and only one, is refused");
    Require(st.image == expected, "the text stores its value in its byte and nowhere else");

    const std::string cell = " " + FormatHex(st.image.Byte(address), 2) + " ";
    Require(EepromGridCellText(st, column, row) == cell, "the cell shows its byte");
    const std::string editorText = EepromGridGetEditText(st, column, row);
    EepromGridSetEditText(f.session, column, row, editorText);
    Require(st.image == expected, "the editor's starting text stores the byte it shows");
  }
  return 0;
}
