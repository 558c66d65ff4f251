// A live log as the log viewer and `vyk log summary` read it. Whatever the bytes, the readings
// kept never go back in time and write back into rows that read again to the same readings.
#include <string>

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
  const LogUnits units{log.inputHertz, log.outputHertz, ConversionSettings::ForGroup(0)};
  std::string again = LogHeaderRow() + "\n" + LogUnitsRow(units) + "\n";
  for (size_t i = 0; i < log.readings.size(); ++i) {
    if (i > 0) Require(log.readings[i - 1].seconds <= log.readings[i].seconds, "time goes on");
    again += LogRow(log.readings[i], units) + "\n";
  }
  const LogFile reread = ParseLog(again, "again.csv");
  std::string twice = LogHeaderRow() + "\n" + LogUnitsRow(units) + "\n";
  for (const LogReading& r : reread.readings)
    twice += LogRow(r, units) + "\n";
  Require(reread.problem.empty() && twice == again, "the readings kept write back the same");
  return 0;
}
