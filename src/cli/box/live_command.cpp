// vyk box live: readings one after another, printed (JSON lines with --json) or recorded in a
// log (--csv), until --seconds have passed or Ctrl+C; the log is complete either way.
#include <QTimer>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/box/box_run.h"
#include "cli/printing.h"
#include "model/text/number.h"
#include "operations/box/live_readings.h"
#include "operations/logs/live_recording.h"

namespace vyk::cli {

namespace {

std::string UnitOf(bool hertz) {
  return hertz ? "Hz" : "V";
}

void PrintReading(const BoxOptions& o, const LogReading& r, const LogUnits& units) {
  if (!o.json) {
    std::cout << LogRow(r, units) << '\n' << std::flush;
    return;
  }
  const nlohmann::json j = {{"time", r.seconds},
                            {"input", r.input},
                            {"inputValue", LogInputValue(units, r.input)},
                            {"inputUnit", UnitOf(units.inputHertz)},
                            {"output", r.output},
                            {"outputValue", LogOutputValue(units, r.output)},
                            {"outputUnit", UnitOf(units.outputHertz)},
                            {"offsets", r.offsets},
                            {"entry", LogEntry(r.input)}};
  std::cout << j.dump() << '\n' << std::flush;
}

void Live(const BoxOptions& options) {
  const BoxOptions o = WithPort(options);
  BoxRun run(o, false);
  run.LoadProject();
  AppState& st = run.State();
  // Ctrl+C ends the view as Stop does: the log keeps every reading taken.
  run.onStop = [&st] { StopLive(st); };
  run.OpenLink();
  const LogUnits units = LogUnitsOf(st);
  LiveRecording recording;
  if (!o.csv.empty()) recording.Start(o.csv, units);
  if (o.seconds > 0)
    QTimer::singleShot(static_cast<int>(o.seconds * 1000), [&st] { StopLive(st); });

  LiveClock clock;
  std::optional<std::string> logFault;
  LiveStatus last;
  LiveHandlers handlers;
  handlers.reading = [&](const LiveReading& live) {
    if (recording.Active()) {
      logFault = recording.Add(live);
      if (logFault) StopLive(st);
    } else if (o.csv.empty()) {
      PrintReading(o, LogReadingOf(live, clock.SecondsOf(live)), units);
    }
  };
  handlers.status = [&last](const LiveStatus& status) { last = status; };
  if (o.csv.empty() && !o.json) std::cout << LogHeaderRow() << '\n' << LogUnitsRow(units) << '\n';
  const LiveEnd end = RunLive(run.GetSession(), run.Link(), handlers);
  recording.Stop();
  if (logFault) {
    std::cerr << TerminalText("The recording stopped: " + *logFault) << '\n';
    throw CommandFailed();
  }
  std::cerr << (o.csv.empty() ? std::to_string(last.readings) + " readings"
                              : "Recorded " + std::to_string(recording.Rows()) + " readings to " +
                                    TerminalText(recording.Path()))
            << " (" << FormatFixed(last.perSecond, 0, 1) << " readings/s, " << last.failed
            << " failed)\n";
  run.ExitIfStopped();
  run.Check();
  if (end != LiveEnd::Stopped) throw CommandFailed();
}

}  // namespace

void AddLiveCommand(CLI::App* box) {
  auto o = std::make_shared<BoxOptions>();
  auto* cmd = box->add_subcommand(
      "live",
      "Take readings one after another and print them as CSV rows (JSON lines with --json), or "
      "record them in a log with --csv, until --seconds have passed or Ctrl+C");
  AddCommonBoxOptions(cmd, *o);
  cmd->add_option("PROJECT", o->project,
                  "Project whose units the readings are shown in (else --group's)");
  cmd->add_option("--seconds", o->seconds, "Stop after this many seconds")
      ->check(CLI::PositiveNumber);
  cmd->add_option("--csv", o->csv, "Record the readings in this log file instead of printing them");
  cmd->callback([o] { Live(*o); });
}

}  // namespace vyk::cli
