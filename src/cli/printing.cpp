#include "cli/printing.h"

#include <algorithm>
#include <iostream>

namespace vyk::cli {

namespace {

void AppendHex(std::string& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

}  // namespace

void DescribeJsonFlags(CLI::App& app) {
  if (CLI::Option* flag = app.get_option_no_throw("--json")) flag->description(kJsonHelp);
  for (CLI::App* command : app.get_subcommands({}))
    DescribeJsonFlags(*command);
}

std::string JsonText(const nlohmann::json& j) {
  return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

void PrintJson(const nlohmann::json& j) {
  std::cout << JsonText(j) << '\n';
}

void AppendJsonString(std::string& out, std::string_view text) {
  // Printable ASCII but the quote and the backslash stands in JSON as it is; the rest goes to
  // the library, which escapes and replaces it.
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
  });
  if (!plain) {
    out += JsonText(std::string(text));
    return;
  }
  out += '"';
  out.append(text);
  out += '"';
}

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  size_t from = 0;  // the start of the plain run not yet copied
  for (size_t i = 0; i < size; ++i) {
    const unsigned char byte = bytes[i];
    if (byte >= 0x20 && byte != 0x7F && byte != 0xC2) continue;
    size_t length = 0;
    if (byte == 0xC2) {
      if (i + 1 < size && bytes[i + 1] >= 0x80 && bytes[i + 1] <= 0x9F) length = 2;
    } else if (byte != '\n') {
      length = 1;
    }
    if (length == 0) continue;
    out.append(text.substr(from, i - from));
    for (size_t k = 0; k < length; ++k)
      AppendHex(out, bytes[i + k]);
    i += length - 1;
    from = i + 1;
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace vyk::cli
