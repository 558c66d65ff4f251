// vyk log summary: what a live log holds, without the log viewer: its length, the range of
// each column and where on the table the engine spent its time.
#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/printing.h"
#include "logs/hit_map.h"
#include "logs/live_log.h"
#include "model/text/ascii_text.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"

namespace vyk::cli {

namespace {

using nlohmann::json;

constexpr double kHashesPerShare = 40;  // the bar of an entry that holds all of the time

json SummaryJson(const std::string& file, const LogFile& log, const LogSummary& s) {
  json columns = json::object();
  for (int c = 0; c < kSummaryColumns; ++c) {
    const std::string_view unit = LogColumnUnit(log.inputHertz, log.outputHertz, c);
    // Counts are whole numbers in the file and stay so here.
    auto number = [&](double value) {
      return unit == "count" ? json(static_cast<long>(value)) : json(value);
    };
    columns[std::string(kLogColumns[c])] = {
        {"min", number(s.columns[c].min)}, {"max", number(s.columns[c].max)}, {"unit", unit}};
  }
  json entries = json::array();
  for (int k = 0; k < kTableEntries; ++k) {
    if (s.hits.seconds[k] <= 0) continue;
    entries.push_back({{"entry", k},
                       {"inputCount", 32 * k},
                       {"seconds", s.hits.seconds[k]},
                       {"share", s.hits.Share(k)}});
  }
  return {{"file", file},
          {"readings", s.readings},
          {"seconds", s.seconds},
          {"readingsPerSecond", s.readingsPerSecond},
          {"columns", columns},
          {"entries", entries},
          {"problem", log.problem.empty() ? json() : json(log.problem)}};
}

// Volts and seconds to the millisecond or millivolt as the log holds them, hertz to a tenth,
// counts whole.
int Decimals(std::string_view unit) {
  if (unit == "Hz") return 1;
  if (unit == "count") return 0;
  return 3;
}

void PrintSummary(const json& j) {
  std::cout << "File:                " << TerminalText(j["file"].get<std::string>()) << '\n'
            << "Readings:            " << j["readings"].get<long>() << '\n'
            << "Seconds:             " << FormatFixed(j["seconds"].get<double>(), 0, 3) << '\n'
            << "Readings per second: " << FormatFixed(j["readingsPerSecond"].get<double>(), 0, 2)
            << "\n\n";
  if (j["readings"].get<long>() > 0) {
    std::cout << PadRight("Column", 20) << "   Minimum    Maximum\n";
    for (int k = 0; k < kSummaryColumns; ++k) {
      const std::string name(kLogColumns[k]);
      const json& c = j["columns"][name];
      const std::string unit = c["unit"].get<std::string>();
      std::cout << PadRight(name + " (" + unit + ")", 20)
                << FormatFixed(c["min"].get<double>(), 10, Decimals(unit)) << ' '
                << FormatFixed(c["max"].get<double>(), 10, Decimals(unit)) << '\n';
    }
    std::cout << '\n';
  }
  // The widest seconds and share set the columns, so the lines align.
  int secondsWidth = 0, shareWidth = 0;
  for (const json& e : j["entries"]) {
    secondsWidth =
        std::max<int>(secondsWidth, FormatFixed(e["seconds"].get<double>(), 0, 1).size());
    shareWidth =
        std::max<int>(shareWidth, FormatFixed(100 * e["share"].get<double>(), 0, 1).size());
  }
  std::cout << "Time per table entry:\n";
  for (const json& e : j["entries"]) {
    const double share = e["share"].get<double>();
    const auto hashes = static_cast<size_t>(std::lround(share * kHashesPerShare));
    std::cout << "entry " << FormatFixed(e["entry"].get<int>(), 2, 0) << "  "
              << FormatFixed(e["seconds"].get<double>(), secondsWidth, 1) << " s  "
              << FormatFixed(100 * share, shareWidth, 1) << " %  " << std::string(hashes, '#')
              << '\n';
  }
  std::cout << std::flush;
}

}  // namespace

void AddLogCommands(CLI::App& app) {
  CLI::App* log = app.add_subcommand("log", "Live logs recorded from the Box (.csv)");
  log->require_subcommand(1);

  auto* cmd = log->add_subcommand(
      "summary",
      "Print a live log's readings per second, the range of each column and the time spent at "
      "each table entry");
  auto file = std::make_shared<std::string>();
  auto asJson = std::make_shared<bool>(false);
  cmd->add_option("FILE", *file, "Live log (.csv)")->required();
  cmd->add_flag("--json", *asJson, "Print JSON");
  cmd->callback([file, asJson] {
    const LogFile log = ReadLog(*file);
    const json j = SummaryJson(*file, log, Summarize(log));
    if (*asJson) {
      PrintJson(j);
    } else {
      PrintSummary(j);
    }
    // What was read is summarised; the line it stopped at is said after it.
    if (!log.problem.empty())
      std::cerr << "Warning: " << TerminalText(*file + ": " + log.problem) << '\n';
  });
}

}  // namespace vyk::cli
