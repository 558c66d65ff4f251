#include "cli/printing.h"

#include <algorithm>
#include <iostream>

namespace vyk::cli {

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

}  // namespace vyk::cli
