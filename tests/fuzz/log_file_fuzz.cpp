// A live log as the log viewer and `vyk log summary` read it. Whatever the bytes, the readings
// kept never go back in time, a log that stops early says at which line, and the readings kept
// write back into rows that read again to the same counts; the hit map shares out all the
// time it counts.
#include <cmath>
#include <string>

#include "logs/hit_map.h"
#include "logs/live_log.h"
#include "support/fuzz_support.h"

using namespace vyk;
using namespace vyk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  LogFile log;
  try {
    log = ParseLog(text, "log.csv");
  } catch (const LogError& e) {
    Require(std::string(e.what()) == "log.csv is not a Vyk Edit live log", "a refusal says why");
    return 0;
  }
  Require(log.problem.empty() || log.problem.rfind("Line ", 0) == 0, "a problem names its line");
  const LogUnits units{log.inputHertz, log.outputHertz, ConversionSettings::ForGroup(0)};
  std::string again = LogHeaderRow() + "\n" + LogUnitsRow(units) + "\n";
  for (size_t i = 0; i < log.readings.size(); ++i) {
    if (i > 0) Require(log.readings[i - 1].seconds <= log.readings[i].seconds, "time goes on");
    again += LogRow(log.readings[i], units) + "\n";
  }
  const LogFile reread = ParseLog(again, "again.csv");
  Require(reread.problem.empty() && reread.readings.size() == log.readings.size(),
          "the readings kept write back into a log that reads whole");
  for (size_t i = 0; i < log.readings.size(); ++i) {
    const LogReading &a = log.readings[i], &b = reread.readings[i];
    Require(a.input == b.input && a.output == b.output && a.offsets == b.offsets,
            "the counts read back the same");
  }
  const LogSummary summary = Summarize(log);
  double shares = 0;
  for (int k = 0; k < kTableEntries; ++k)
    shares += summary.hits.Share(k);
  Require(summary.hits.total == 0 || std::fabs(shares - 1) < 1e-9,
          "the shares add up to the whole");
  return 0;
}
