// Keys typed and texts pasted into the limit box, in every group and output kind. The box
// takes only what its key filter lets in; after each change the limit holds a count within
// one count of the box's number, and the limit's own text, typed into the box, stores the
// same count again.
#include "model/entry_text.h"
#include "support/fuzz_session.h"

using namespace vyk;
using namespace vyk::fuzz;

namespace {

constexpr char kPaste = 0x16;  // Ctrl+V: the text up to the next line end is pasted

void CheckLimit(FuzzSession& f, int before) {
  AppState& st = f.state;
  const int after = st.image.Entry(kLimitEntry);
  CheckTypedCount(st, Trim(st.controls.limitText), before, after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  FuzzSession f(in.Byte());
  AppState& st = f.state;
  std::string text = st.controls.limitText;
  size_t cursor = text.size();
  while (!in.Empty()) {
    const char key = static_cast<char>(in.Byte());
    if (key == kPaste) {
      const std::string kept = LimitPasteText(std::string(in.Until('\n')));
      if (kept.empty()) continue;
      text.insert(cursor, kept);
      cursor += kept.size();
    } else if (key == 8) {  // Backspace
      if (cursor == 0) continue;
      text.erase(--cursor, 1);
    } else if (key == 127) {  // Delete
      if (cursor == text.size()) continue;
      text.erase(cursor, 1);
    } else if (LimitKeyAccepted(key)) {
      text.insert(cursor++, 1, key);
    } else {  // a key the box drops moves the caret instead, as an arrow key or a click would
      cursor = static_cast<unsigned char>(key) % (text.size() + 1);
      continue;
    }
    const int before = st.image.Entry(kLimitEntry);
    try {
      SetLimitText(f.session, text);
    } catch (const VykError&) {
      Require(st.image.Entry(kLimitEntry) == before,
              "a text refused with an error changes nothing");
      continue;
    }
    Require(st.controls.limitText == text, "the box keeps the text typed");
    CheckLimit(f, before);
  }

  // The limit's own text, typed into an emptied box.
  const int count = st.image.Entry(kLimitEntry);
  const std::string shown = Trim(EntryOutputText(st, kLimitEntry));
  ShowLimitText(f.session, "");
  Require(st.image.Entry(kLimitEntry) == count, "showing a text stores nothing");
  SetLimitText(f.session, shown);
  Require(st.image.Entry(kLimitEntry) == CountTypedBack(st, count),
          "the limit's text typed back stores the same count");
  return 0;
}
