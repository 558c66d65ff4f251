#pragma once
// Texts in files are 8-bit Windows-1252; the command line and the tests speak UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vyk {

std::string Cp1252ToUtf8(std::string_view bytes);
// Whether the bytes are well-formed UTF-8 (plain ASCII is).
bool IsUtf8(std::string_view bytes);
// Nothing when the text is not valid UTF-8 or holds a character Windows-1252 lacks.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// The text with every byte outside printable ASCII shown as \xHH (and "\" as "\\"): for
// messages that quote a text which may hold anything, so that no raw byte reaches the user.
std::string EscapedText(std::string_view bytes);

// The text with its control characters (below the blank, and DEL) shown as \xHH: a file's
// text printed to a terminal, which would act on them.
std::string EscapedControls(std::string_view text);

// The same for text printed to a terminal, which may be UTF-8: also the C1 controls
// (U+0080..U+009F), but the line feed stays.
std::string TerminalText(std::string_view text);

// A text as a file stores it: Windows-1252 bytes. A type of its own, so that a UTF-8 text (a
// file name, a command-line argument) cannot be stored without being converted.
class FileText {
 public:
  FileText() = default;
  // `bytes` must already be Windows-1252.
  explicit FileText(std::string bytes) : bytes_(std::move(bytes)) {}
  const std::string& Bytes() const { return bytes_; }
  bool operator==(const FileText&) const = default;

 private:
  std::string bytes_;
};

// Nothing when the UTF-8 text holds a character Windows-1252 lacks.
std::optional<FileText> FileTextFromUtf8(std::string_view text);

}  // namespace vyk
