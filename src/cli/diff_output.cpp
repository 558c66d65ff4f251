#include "cli/diff_output.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/printing.h"

namespace vyk::cli {

namespace {

int failureStatus = 1;

}  // namespace

void ExitsLikeDiff(CLI::App* command) {
  // Runs as soon as the command's name is read, before its arguments: a bad one ends with 2.
  command->preparse_callback([](size_t) { failureStatus = 2; });
}

int FailureStatus() {
  return failureStatus;
}

void PrintComparison(const Comparison& c, bool json) {
  const bool equal = c.differences.empty();
  if (json) {
    nlohmann::json list = nlohmann::json::array();
    for (const ImageDifference& d : c.differences)
      list.push_back({{"label", d.label}, {"a", d.a}, {"b", d.b}});
    nlohmann::json j = {{"a", c.a.title},
                        {"b", c.b.title},
                        {"equal", equal},
                        {"sameUnits", c.sameUnits},
                        {"differences", list}};
    PrintJson(j);
  } else if (!equal) {
    size_t labelWidth = 0;
    size_t aWidth = c.a.title.size();
    for (const ImageDifference& d : c.differences) {
      labelWidth = std::max(labelWidth, d.label.size());
      aWidth = std::max(aWidth, d.a.size());
    }
    auto line = [&](const std::string& label, const std::string& a, const std::string& b) {
      std::cout << TerminalText(label) << std::string(labelWidth + 2 - label.size(), ' ')
                << TerminalText(a) << std::string(aWidth + 2 - a.size(), ' ') << TerminalText(b)
                << '\n';
    };
    line("", c.a.title, c.b.title);
    for (const ImageDifference& d : c.differences)
      line(d.label, d.a, d.b);
    if (!c.sameUnits)
      std::cout << "\nThe two tables read in different units: entries are compared by their "
                   "counts.\n";
  }
  std::cout << std::flush;
  throw ExitStatus(equal ? 0 : 1);
}

}  // namespace vyk::cli
