// vyk match: the meter match of two .maf files, shown or copied into a project.
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/cli_dialogs.h"
#include "cli/commands.h"
#include "cli/file_rules.h"
#include "cli/printing.h"
#include "match/match_warnings.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/ascii_text.h"
#include "model/text/number.h"
#include "operations/meters/match_dialog.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"
#include "storage/file_lock.h"
#include "storage/path_text.h"

namespace vyk::cli {

namespace {

using nlohmann::json;

struct MatchOptions {
  std::string group;
  std::string useFile;
  std::string matchFile;
  std::string project;
  bool json = false;
};

// A meter whose points all read, so that a bad one is named with its file and point rather
// than quoted alone by the match.
MeterRecord ReadMeter(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(PathOf(path), ec)) throw VykError("File " + path + " not found");
  MeterRecord record;
  ReadMeterFile(path, record);
  if (std::string problem = PointTextProblem(record, path); !problem.empty())
    throw VykError(problem);
  return record;
}

// The name the match dialog's list shows for a file.
std::string ListedName(const std::string& path) {
  return ListedMeterName(PathText(PathOf(path).filename()));
}

json MatchJson(const AppState& st, const MatchDialog& d,
               const std::vector<MatchWarning>& warnings) {
  json rows = json::array();
  for (int row = 1; row <= kMatchSlots; ++row) {
    const MatchSlot& slot = (*st.matchTable)[row - 1];
    rows.push_back({{"code", row - 1},
                    {"flowText", MatchGridCellText(st, d, 0, row)},
                    {"useText", MatchGridCellText(st, d, 1, row)},
                    {"outText", MatchGridCellText(st, d, 2, row)},
                    {"flow", slot.flow},
                    {"useSignal", slot.useSignal},
                    {"outCount", slot.outCount}});
  }
  json warned = json::array();
  for (const MatchWarning& w : warnings)
    warned.push_back({{"kind", MatchWarningName(w.kind)}, {"text", w.text}});
  return {{"headers", d.headers}, {"flowUnits", d.flowUnits}, {"rows", rows}, {"warnings", warned}};
}

void PrintMatch(const json& j) {
  auto columns = [](const json& flow, const json& use, const json& out) {
    return PadRight(flow.get<std::string>(), 9) + " " + PadRight(use.get<std::string>(), 7) + " " +
           PadRight(out.get<std::string>(), 7) + "\n";
  };
  std::string text = "Units: " + j["flowUnits"].get<std::string>() + "\n" + "code  " +
                     columns(j["headers"][0], j["headers"][1], j["headers"][2]);
  for (const json& r : j["rows"]) {
    text += FormatFixed(r["code"].get<int>(), 4, 0) + "  " +
            columns(r["flowText"], r["useText"], r["outText"]);
  }
  std::cout << text << std::flush;
}

void RunMatch(const MatchOptions& o) {
  AppState state;
  CliDialogs dialogs;
  MainView view;
  Session s{state, dialogs, view, nullptr};
  // Held from reading the project to saving it: a second command waits instead of losing
  // this one's change.
  std::optional<FileLock> lock;
  if (!o.project.empty()) {
    RefuseOutputOverInput(o.project, {o.useFile, o.matchFile});
    lock.emplace(o.project, WaitNotice(o.project));
    dialogs.showInformation = false;
    dialogs.openName = o.project;
    FileOpenClick(s);
    if (dialogs.errors > 0) throw CommandFailed();
    dialogs.SayRecordWarnings();  // a damaged record, which the copy replaces
    dialogs.showInformation = true;
  } else if (o.group.empty()) {
    throw UsageError("--group is needed when no project is given with --apply");
  }
  // A table goes into a project only as computed with the project's own constants: another
  // group's would fill it with outputs its Box would misread.
  uint8_t group = state.header.Group();
  if (!o.project.empty()) {
    if (FindGroup(group) == nullptr) {
      dialogs.Error("Invalid data path");
      throw CommandFailed();
    }
    if (!o.group.empty() && GroupOfCliName(o.group).byte != group)
      throw UsageError("--group differs from the project's group");
  } else {
    group = GroupOfCliName(o.group).byte;
    state.conversion = ConversionSettings::ForGroup(group);
  }

  MeterRecord use = ReadMeter(o.useFile);
  MeterRecord match = ReadMeter(o.matchFile);
  MatchDialog d;
  d.outcome = MatchLabels(use, match);
  d.headers = {"Flow", d.outcome.useHeader, d.outcome.outHeader};
  d.flowUnits = d.outcome.flowUnits;
  ComputeMatch(use, match, state.conversion.HertzPerCount, state.conversion.MaxOutputCount,
               state.matchTable);
  const std::vector<MatchWarning> warnings =
      MatchWarnings(use, match, state.matchTable, state.conversion.HertzPerCount,
                    state.conversion.MaxOutputCount);
  // JSON carries them; otherwise they go before the table or the copy, as in the dialog.
  if (!o.json || !o.project.empty()) {
    for (const MatchWarning& w : warnings)
      std::cerr << "Warning: " << TerminalText(w.text) << '\n';
  }

  if (o.project.empty()) {
    json j = MatchJson(state, d, warnings);
    if (o.json) {
      PrintJson(j);
    } else {
      PrintMatch(j);
    }
    return;
  }
  d.useGroup = d.matchGroup = group;
  d.useMeter = use;
  d.matchMeter = match;
  d.useFile = ListedName(o.useFile);
  d.matchFile = ListedName(o.matchFile);
  dialogs.questionAnswer = Answer::Yes;
  dialogs.quietQuestions = true;
  CopyE2PBtnClick(s, d);
  if (dialogs.errors > 0) throw CommandFailed();
  // The window takes no lock: a file it saved meanwhile is not overwritten unasked.
  dialogs.questionAnswer = Answer::No;
  dialogs.quietQuestions = false;
  if (!FileSaveClick(s) || dialogs.errors > 0) throw CommandFailed();
}

}  // namespace

void AddMatchCommand(CLI::App& app) {
  auto o = std::make_shared<MatchOptions>();
  auto* cmd = app.add_subcommand(
      "match",
      "Compute the table that makes the meter fitted (USE) look like the meter expected (MATCH)");
  cmd->add_option("--group", o->group,
                  "Hardware group whose constants apply; with --apply, the project's own")
      ->check(CLI::IsMember(GroupCliNames()));
  cmd->add_option("USE", o->useFile, "Meter to use (.maf)")->required();
  cmd->add_option("MATCH", o->matchFile, "Meter to match (.maf)")->required();
  auto* apply = cmd->add_option("--apply", o->project,
                                "Copy the result into this project (Copy E2P) and save it");
  cmd->add_flag("--json", o->json, "Print JSON");
  cmd->callback([o, apply] {
    // An empty name would turn the copy into a mere listing of the table.
    if (apply->count() > 0 && o->project.empty()) throw UsageError("--apply names no project");
    RunMatch(*o);
  });
}

}  // namespace vyk::cli
