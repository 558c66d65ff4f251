#pragma once
// What vyk prints: JSON that no name can make fail, and text for a terminal that carries none
// of the control characters a name may hold (a terminal would act on them).
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "model/text/text_encoding.h"

namespace vyk::cli {

// The help of every --json flag: names on Linux are bytes, not always UTF-8.
inline constexpr char kJsonHelp[] =
    "Print JSON; a byte of a name or text that is not UTF-8 is printed as U+FFFD";
// Gives every --json flag of `app` and its commands that help.
void DescribeJsonFlags(CLI::App& app);

// `j` as every --json output writes it: indented by 2, bytes that are not UTF-8 replaced.
std::string JsonText(const nlohmann::json& j);
void PrintJson(const nlohmann::json& j);
// A text as JsonText writes it as a JSON string, appended to `out`; quick for plain ASCII.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace vyk::cli
