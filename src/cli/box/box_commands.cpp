// vyk box identify | monitor | write | read | backups | history: the Box operations from the
// command line, over a serial port, a pseudo-terminal or the simulated Box, and the backups
// and history they keep in the user's data folder. The port is the one --port names, else
// the one the window's settings file names; the simulated Box only when asked for by name.
#include <unistd.h>
#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <tuple>

#include "cli/box/box_run.h"
#include "cli/box/stop_signals.h"
#include "cli/cli_dialogs.h"
#include "cli/commands.h"
#include "cli/diff_output.h"
#include "cli/file_rules.h"
#include "cli/printing.h"
#include "link/qt/box_connection.h"
#include "link/qt/qt_pump.h"
#include "link/qt/settings_folder.h"
#include "link/sim_port.h"
#include "model/conversions.h"
#include "model/groups.h"
#include "model/image_diff.h"
#include "model/records/box_backups.h"
#include "model/records/box_history.h"
#include "model/records/settings_file.h"
#include "model/text/number.h"
#include "operations/box/box_operations.h"
#include "operations/box/box_record.h"
#include "operations/box/port_choice.h"
#include "operations/compare/compare.h"
#include "operations/meters/table_check.h"
#include "operations/project/project_commands.h"
#include "operations/project/window_look.h"
#include "storage/data_folder.h"
#include "storage/file_lock.h"
#include "storage/record_lines.h"

namespace vyk::cli {

namespace {

using nlohmann::json;

void Identify(const BoxOptions& options) {
  if (options.group.empty()) throw UsageError("--group is needed");
  const BoxOptions o = WithPort(options);
  const HardwareGroup& group = GroupOfCliName(o.group);
  BoxRun run(o, false);
  run.State().header.SetFixedFields();  // the version every project requires
  run.State().header.SetGroup(group.byte);
  run.OpenLink();
  bool ok = ConnectBox(run.GetSession(), run.Link(), group.byte);
  run.ExitIfStopped();
  if (!ok) throw CommandFailed();
  std::string reply = Trim(run.Link().ReplyText());
  if (!reply.empty() && reply.back() == '>') reply = Trim(reply.substr(0, reply.size() - 1));
  json j = {{"port", o.port},
            {"group", std::string(group.name)},
            {"identified", true},
            {"letter", std::string(1, reply.empty() ? ' ' : reply[0])},
            {"version", reply.size() >= 4 ? Trim(reply.substr(1, 3)) : ""},
            {"reply", reply}};
  Print(o, j,
        "Identified " + std::string(group.name) + " hardware on " + o.port + ": " + reply + "\n");
}

void Monitor(const BoxOptions& options) {
  const BoxOptions o = WithPort(options);
  BoxRun run(o, false);
  run.LoadProject();
  run.OpenLink();
  MonitorReading reading;
  const bool sampled = MonitorSample(run.GetSession(), run.Link(), &reading);
  run.ExitIfStopped();
  if (!sampled) throw CommandFailed();
  const AppState& st = run.State();
  json points = json::array();
  std::string table;
  std::vector<int> counts = AdjustedCounts(st.image, reading.offsets);
  for (int x = 0; x < kCurvePoints; ++x) {
    const ChartPoint& p = st.chart.series2[x];
    points.push_back({{"point", x}, {"count", counts[x]}, {"x", p.x}, {"y", p.y}});
    table += FormatFixed(x, 5, 0) + " " + FormatFixed(counts[x], 6, 0) + " " +
             FormatFixed(p.x, 10, 4) + " " + FormatFixed(p.y, 10, 4) + "\n";
  }
  json j = {{"port", o.port},
            {"input", reading.input},
            {"output", reading.output},
            {"offsets", reading.offsets},
            {"dataIn", st.controls.dataInLabel},
            {"dataOut", st.controls.dataOutLabel},
            {"xTitle", st.chart.bottomTitle},
            {"yTitle", st.chart.leftTitle},
            {"adjusted", points}};
  std::string text = st.controls.dataInLabel + "\n" + st.controls.dataOutLabel + "\n" +
                     "Offsets: " + std::to_string(reading.offsets[0]) + " " +
                     std::to_string(reading.offsets[1]) + " " + std::to_string(reading.offsets[2]) +
                     " " + std::to_string(reading.offsets[3]) + "\n\npoint  count " +
                     st.chart.bottomTitle + "       " + st.chart.leftTitle + "\n" + table;
  Print(o, j, text);
}

json ChangesJson(const std::vector<ImageDifference>& changes) {
  json list = json::array();
  for (const ImageDifference& d : changes)
    list.push_back({{"label", d.label}, {"old", d.a}, {"new", d.b}});
  return list;
}

std::string ChangesText(const std::vector<ImageDifference>& changes) {
  if (changes.empty()) return "No change: the Box already holds these 80 bytes\n";
  size_t width = 0;
  for (const ImageDifference& d : changes)
    width = std::max(width, d.label.size());
  std::string text;
  for (const ImageDifference& d : changes)
    text += d.label + std::string(width - d.label.size() + 2, ' ') + d.a + " -> " + d.b + "\n";
  return text;
}

// --dry-run: what a write would change, from the Box's bytes; nothing is written or kept.
void DryRun(BoxRun& run) {
  const BoxOptions& o = run.Options();
  EepromImage box;
  const bool read = ReadBoxImage(run.GetSession(), run.Link(), box, run.ProgressLine("Reading"));
  run.EndProgress();
  run.ExitIfStopped();
  if (!read) {
    run.Check();
    throw CommandFailed();
  }
  const AppState& st = run.State();
  const std::vector<ImageDifference> changes = DiffImages({st.header, box}, {st.header, st.image});
  // The check the write makes, said as the write says it.
  const std::vector<std::string> warnings = ProjectTableWarnings(st);
  json j = {
      {"port", o.port},           {"project", o.project},        {"letter", st.boxLetter},
      {"version", st.boxVersion}, {"changed", !changes.empty()}, {"changes", ChangesJson(changes)},
      {"warnings", warnings}};
  if (!o.json)
    for (const std::string& w : warnings)
      std::cerr << "Check the table: " << TerminalText(w) << '\n';
  Print(o, j,
        "Writing " + o.project + " to the Box on " + o.port + " would change:\n" +
            ChangesText(changes));
}

void Transfer(const BoxOptions& options, bool write) {
  const BoxOptions o = WithPort(options);
  // A read changes the project: no other command may change it meanwhile.
  std::optional<FileLock> lock;
  if (!write) lock.emplace(o.project, WaitNotice(o.project));
  BoxRun run(o, true);
  run.LoadProject();
  run.OpenLink();
  // The transfer checks in its own "Q" that the Box is the project's hardware before a byte of
  // it is written or kept: one identification per command.
  if (write && o.dryRun) return DryRun(run);
  run.Dialogs().questionAnswer = Answer::Yes;
  run.Dialogs().quietQuestions = true;
  int done = 0;
  TransferProgress line = run.ProgressLine(write ? "Writing" : "Reading");
  TransferProgress progress = [&](int n) {
    done = n;
    line(n);
  };
  UpdateReport report;
  bool ok = false;
  if (write) {
    ok = BoxUpdateClick(run.GetSession(), run.Link(), progress, &report,
                        run.ProgressLine("Backing up"));
  } else {
    RetrieveOptions retrieve;
    retrieve.identify = true;
    retrieve.keep = [&run] { return run.SaveRead(); };
    ok = BoxRetrieveClick(run.GetSession(), run.Link(), progress, retrieve);
  }
  run.EndProgress();
  // An aborted write tells nobody what it left in the Box: no status bar shows it here.
  const AppState& st = run.GetSession().state;
  if (write && !ok && st.boxMessage.empty() && st.boxPartial)
    run.Dialogs().Error(PartialImageText(st));
  // A transfer that ran to its end is said as such, whenever the signal came.
  if (!ok) run.ExitIfStopped();
  run.Check();
  if (!ok) throw CommandFailed();  // aborted
  json j = {{"port", o.port}, {"project", o.project}, {"bytes", done}, {"ok", true}};
  std::string text;
  if (write) {
    j["outcome"] = report.outcome;
    j["backup"] = report.backupPath.empty() ? json(nullptr) : json(report.backupPath);
    if (!report.backupPath.empty()) text = "Backup of the Box: " + report.backupPath + "\n";
    j["warnings"] = report.warnings;
    // Said, not a failure: the tuner may mean a falling entry.
    if (!o.json)
      for (const std::string& w : report.warnings)
        std::cerr << "Check the table: " << TerminalText(w) << '\n';
  }
  if (done == 80)
    text += std::string(write ? "Wrote and verified" : "Read") + " 80 bytes " +
            (write ? "to" : "from") + " the Box on " + o.port + "\n";
  Print(o, j, text);
}

// A record file's lines that could not be read: a count in the JSON, a line on stderr.
void ReportSkipped(const BoxOptions& o, size_t skipped, const std::string& path) {
  if (skipped > 0 && !o.json) std::cerr << TerminalText(SkippedLinesText(skipped, path)) << '\n';
}

void Backups(const BoxOptions& o) {
  const std::string folder = DataFolder(o.dataDir);
  size_t skipped = 0;
  const std::vector<BackupInfo> backups = ListBackups(folder, &skipped);
  json list = json::array();
  std::string text;
  for (const BackupInfo& b : backups) {
    list.push_back({{"time", b.time},
                    {"letter", b.letter},
                    {"version", b.version},
                    {"path", b.path},
                    {"project", b.project.empty() ? json(nullptr) : json(b.project)}});
    text += b.time + "  " + b.letter + " " + b.version + "  " + b.path + "  replaced by " +
            (b.project.empty() ? "(not known)" : b.project) + "\n";
  }
  if (backups.empty()) text = "No backups in " + BackupsFolder(folder) + "\n";
  Print(o, {{"folder", BackupsFolder(folder)}, {"backups", list}, {"skippedLines", skipped}}, text);
  ReportSkipped(o, skipped, IndexPath(BackupsFolder(folder)));
}

// An entry as the JSON object JsonText writes (keys in its order), indented as one of the
// "entries": written member by member, a long history lists in a fraction of the time.
void AppendHistoryJson(std::string& out, const HistoryEntry& e) {
  const std::pair<const char*, const std::string*> members[] = {
      {"backup", &e.backup},   {"checksum", &e.checksum},   {"letter", &e.letter},
      {"message", &e.message}, {"operation", &e.operation}, {"outcome", &e.outcome},
      {"port", &e.port},       {"project", &e.project},     {"stoppedAt", &e.stoppedAt},
      {"time", &e.time},       {"version", &e.version}};
  out += "{";
  for (const auto& [key, value] : members) {
    out += key == members[0].first ? "\n      \"" : ",\n      \"";
    out += key;
    out += "\": ";
    AppendJsonString(out, *value);
  }
  out += "\n    }";
}

// An entry's line, appended to `out` piece by piece: a long history lists quickly.
void AppendHistoryText(std::string& out, const HistoryEntry& e) {
  const std::string box = Trim(e.letter + " " + e.version);
  for (const std::string* piece : {&e.time, &e.operation, &e.port, &box, &e.project, &e.checksum}) {
    out += TerminalText(piece->empty() ? "-" : *piece);
    out += "  ";
  }
  out += TerminalText(e.outcome);
  if (!e.stoppedAt.empty()) out += " at " + TerminalText(e.stoppedAt);
  if (!e.message.empty()) out += ": " + TerminalText(e.message);
  out += '\n';
}

// Printed as the entries are read, newest first: a history of any length costs the memory of
// one block of it. The JSON is the object Print would write, its entries written one by one.
void History(const BoxOptions& o) {
  const std::string folder = DataFolder(o.dataDir);
  const std::string path = HistoryPath(folder);
  std::string out;
  size_t count = 0;
  auto flush = [&out] {
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    out.clear();
  };
  const size_t skipped = ReadHistoryNewestFirst(folder, o.last, [&](const HistoryEntry& e) {
    if (!o.json) {
      AppendHistoryText(out, e);
    } else {
      out += count == 0 ? "{\n  \"entries\": [\n    " : ",\n    ";
      AppendHistoryJson(out, e);
    }
    ++count;
    if (out.size() >= 1 << 16) flush();
  });
  if (o.json) {
    out += count == 0 ? "{\n  \"entries\": []" : "\n  ]";
    const json end = {{"path", path}, {"skippedLines", skipped}};
    const std::string rest = JsonText(end);  // "{\n  ...\n}": its members follow the entries
    out += ",\n" + rest.substr(2) + "\n";
  } else if (count == 0) {
    out += TerminalText("No Update or Retrieve in " + path) + "\n";
  }
  flush();
  std::cout << std::flush;
  ReportSkipped(o, skipped, path);
}

// Reads the Box as Retrieve does, changing nothing, and compares the project with it.
void Diff(const BoxOptions& options) {
  const BoxOptions o = WithPort(options);
  BoxRun run(o, true);
  run.LoadProject();
  run.OpenLink();
  // The read checks that the Box is the project's hardware: bytes of other hardware would
  // differ everywhere and say nothing.
  std::optional<Comparison> c = CompareWithBoxClick(run.GetSession(), run.Link());
  run.ExitIfStopped();
  run.Check();
  if (!c) throw CommandFailed();  // aborted
  c->a.title = o.project;
  c->b.title = "the Box on " + o.port;
  PrintComparison(*c, o.json);
}

}  // namespace

void AddBoxCommands(CLI::App& app) {
  CLI::App* box = app.add_subcommand("box", "Talk to the Box");
  box->require_subcommand(1);

  {
    auto o = std::make_shared<BoxOptions>();
    auto* cmd = box->add_subcommand("identify", "Check that the Box answers as hardware of GROUP");
    AddCommonBoxOptions(cmd, *o);
    cmd->callback([o] { Identify(*o); });
  }
  {
    auto o = std::make_shared<BoxOptions>();
    auto* cmd = box->add_subcommand("monitor", "Take one reading and show the adjusted table");
    AddCommonBoxOptions(cmd, *o);
    cmd->add_option("PROJECT", o->project, "Project whose table is adjusted");
    cmd->callback([o] { Monitor(*o); });
  }
  {
    auto o = std::make_shared<BoxOptions>();
    auto* cmd = box->add_subcommand("write", "Write the project's 80 bytes into the Box, verified");
    AddCommonBoxOptions(cmd, *o);
    cmd->add_option("PROJECT", o->project, "Project to write")->required();
    cmd->add_flag("--dry-run", o->dryRun,
                  "Read the Box and show what writing would change; write nothing");
    cmd->callback([o] { Transfer(*o, true); });
  }
  {
    auto o = std::make_shared<BoxOptions>();
    auto* cmd = box->add_subcommand("read", "Read the Box's 80 bytes into the project and save it");
    AddCommonBoxOptions(cmd, *o);
    cmd->add_option("PROJECT", o->project, "Project to read into")->required();
    cmd->add_flag("--keep-damaged-record", o->keepDamaged, kKeepDamagedHelp);
    cmd->callback([o] { Transfer(*o, false); });
  }
  {
    auto o = std::make_shared<BoxOptions>();
    auto* cmd = box->add_subcommand(
        "diff",
        "Show what differs between the project and the Box's 80 bytes; exit status 0 "
        "when they are equal, 1 when they differ, 2 on an error");
    AddCommonBoxOptions(cmd, *o);
    cmd->add_option("PROJECT", o->project, "Project to compare with the Box")->required();
    ExitsLikeDiff(cmd);
    cmd->callback([o] { Diff(*o); });
  }
  AddLiveCommand(box);
  for (auto [name, help, run] :
       {std::tuple{"backups", "List the backups Update kept of the Box, newest first", &Backups},
        std::tuple{"history", "List every Update and Retrieve, newest first", &History}}) {
    auto o = std::make_shared<BoxOptions>();
    auto* cmd = box->add_subcommand(name, help);
    cmd->add_option("--data", o->dataDir,
                    "Folder of the Box's backups and history (default: the user's data folder)");
    cmd->add_flag("--json", o->json, "Print JSON");
    if (run == &History)
      cmd->add_option("--last", o->last, "Only the N newest entries")->check(CLI::PositiveNumber);
    cmd->callback([o, run = run] { run(*o); });
  }
}

}  // namespace vyk::cli
