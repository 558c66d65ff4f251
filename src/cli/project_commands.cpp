// vyk project new | show | edit: the File commands and the main window's edits, run on a
// project file without the window.
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_dialogs.h"
#include "cli/commands.h"
#include "cli/diff_output.h"
#include "cli/file_rules.h"
#include "cli/printing.h"
#include "match/table_check.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/records/project_file.h"
#include "model/text/hex_text.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"
#include "operations/logs/log_correction.h"
#include "operations/meters/rematch.h"
#include "operations/meters/table_check.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"
#include "operations/project/provenance_facts.h"
#include "operations/table/image_grids.h"
#include "operations/table/table_csv.h"
#include "storage/file_lock.h"
#include "storage/regular_file.h"

namespace vyk::cli {

namespace {

using nlohmann::json;

struct ProjectRun {
  AppState state;
  CliDialogs dialogs;
  MainView view;
  Session session{state, dialogs, view, nullptr};

  void Check() const {
    if (dialogs.errors > 0) throw CommandFailed();
  }
};

FileText ToFileText(const std::string& utf8, const char* what) {
  auto text = FileTextFromUtf8(utf8);
  if (!text) throw UsageError(std::string(what) + " holds a character a project file cannot store");
  return *text;
}

// Opens a project as File > Open does, without a Box.
void OpenProject(ProjectRun& run, const std::string& file) {
  run.dialogs.openName = file;
  FileOpenClick(run.session);
  run.Check();
  run.dialogs.SayRecordWarnings();  // a damaged record, before anything is done to the project
}

std::string OutputKind(uint8_t mode) {
  switch (mode & kOutputKindMask) {
    case kVoltageOutput:
      return "voltage";
    case kFrequencyOutput:
      return "frequency";
    default:
      return "voltage (output bits " + std::to_string(mode & kOutputKindMask) + ")";
  }
}

std::string MeterGroupText(uint8_t group) {
  return group == kNoMeterGroup ? "none" : GroupText(group);
}

json TableJson(const AppState& st) {
  json rows = json::array();
  for (int row = 1; row < kTableGridRows; ++row) {
    rows.push_back({{"entry", row - 1},
                    {"count", st.image.Entry(row - 1)},
                    {"input", TableGridCellText(st, 0, row)},
                    {"output", TableGridCellText(st, 1, row)}});
  }
  return {{"inputTitle", TableGridCellText(st, 0, 0)},
          {"outputTitle", TableGridCellText(st, 1, 0)},
          {"rows", rows}};
}

json MeterJson(const MeterFacts& m) {
  return {{"file", m.file},
          {"partNumber", m.partNumber},
          {"description", m.description},
          {"units", m.units},
          {"kind", m.kind},
          {"points", m.points}};
}

json ProvenanceJson(const AppState& st) {
  const ProvenanceFacts facts = FactsOfProvenance(st);
  switch (facts.kept) {
    case ProvenanceFacts::Kept::None:
      return {{"kept", "none"}};
    case ProvenanceFacts::Kept::Damaged:
      return {{"kept", "damaged"}, {"why", st.damagedProvenance->why}};
    case ProvenanceFacts::Kept::Newer:
      return {{"kept", "newer"}};
    case ProvenanceFacts::Kept::Kept:
      break;
  }
  const MatchSettings& set = st.provenance->settings;
  return {{"kept", "yes"},
          {"use", MeterJson(facts.use)},
          {"match", MeterJson(facts.match)},
          {"madeDate", DayNumberText(set.madeDay)},
          {"group", set.group},
          {"hertzPerCount", set.hertzPerCount},
          {"maxOutputCount", set.maxOutputCount},
          {"editedEntries", facts.edited},
          {"editedText", EntryRangesText(facts.edited)}};
}

json ShowJson(const AppState& st, const std::string& file) {
  const ProjectHeader& h = st.header;
  uint8_t mode = st.image.Byte(kModeByte);
  json pots = json::array();
  for (int k = 0; k < 4; ++k)
    pots.push_back(static_cast<int8_t>(st.image.Byte(kFirstPotByte + k)));
  return {{"file", file},
          {"header",
           {{"created", h.Created()},
            {"createdDate", DayNumberText(h.Created())},
            {"saved", h.Saved()},
            {"savedDate", DayNumberText(h.Saved())},
            {"fileRecords", h.FileRecords()},
            {"headerRecords", h.HeaderRecords()},
            {"field12", h.Int16At(ProjectHeader::kMagic11)},
            {"requiredVersion", h.RequiredVersion()},
            {"group", h.Group()},
            {"groupName", GroupText(h.Group())},
            {"ioCode", h.IoCode()},
            {"units", h.Units()},
            {"unitsName", h.Units() != 0 ? "Metric" : "English"},
            {"useMeterGroup", h.ByteAt(ProjectHeader::kUseMeterGroup)},
            {"matchMeterGroup", h.ByteAt(ProjectHeader::kMatchMeterGroup)},
            {"name", Cp1252ToUtf8(h.Name().Bytes())},
            {"description", Cp1252ToUtf8(h.Description().Bytes())},
            {"useMeterName", Cp1252ToUtf8(h.UseMeterName().Bytes())},
            {"matchMeterName", Cp1252ToUtf8(h.MatchMeterName().Bytes())}}},
          {"mode",
           {{"byte", mode},
            {"output", OutputKind(mode)},
            {"input", (mode & kFrequencyInput) != 0 ? "frequency" : "voltage"},
            {"invertLimit", (mode & kInvertLimit) != 0}}},
          {"pots", pots},
          {"limit", {{"count", st.image.Entry(kLimitEntry)}, {"text", st.controls.limitText}}},
          {"table", TableJson(st)},
          {"provenance", ProvenanceJson(st)}};
}

void PrintTable(const json& t);

// A header's meter line; when the project keeps that meter whole, its facts join the line, so
// that each meter is named once.
std::string ShownMeter(const std::string& name, uint8_t group, const MeterFacts* kept) {
  std::string line = EscapedControls(name) + " (group " + MeterGroupText(group) + ")";
  if (kept == nullptr || kept->file != name) return line;
  return line + MeterLine(*kept).substr(kept->file.size());
}

void PrintShow(const json& j, const ProvenanceFacts& facts) {
  const json& h = j["header"];
  const json& m = j["mode"];
  const bool kept = facts.kept == ProvenanceFacts::Kept::Kept;
  std::ostream& out = std::cout;
  out << "File:            " << TerminalText(j["file"].get<std::string>()) << '\n'
      << "Name:            " << EscapedControls(h["name"].get<std::string>()) << '\n'
      << "Description:     " << EscapedControls(h["description"].get<std::string>()) << '\n'
      << "Group:           " << h["groupName"].get<std::string>() << '\n'
      << "Units:           " << h["unitsName"].get<std::string>() << '\n'
      << "Created:         " << h["createdDate"].get<std::string>() << " (day " << h["created"]
      << ")\n"
      << "Saved:           " << h["savedDate"].get<std::string>() << " (day " << h["saved"] << ")\n"
      << "Records:         " << h["fileRecords"] << " in the file, " << h["headerRecords"]
      << " in the header; field 12: " << h["field12"] << '\n'
      << "Box version:     " << h["requiredVersion"] << " (tenths)\n"
      << "In/out code:     " << h["ioCode"] << '\n'
      << "Meter to use:    "
      << ShownMeter(h["useMeterName"].get<std::string>(), h["useMeterGroup"].get<uint8_t>(),
                    kept ? &facts.use : nullptr)
      << '\n'
      << "Meter to match:  "
      << ShownMeter(h["matchMeterName"].get<std::string>(), h["matchMeterGroup"].get<uint8_t>(),
                    kept ? &facts.match : nullptr)
      << '\n'
      << "Mode byte:       " << FormatHex(m["byte"].get<uint8_t>(), 2) << ": "
      << m["input"].get<std::string>() << " input, " << m["output"].get<std::string>()
      << " output, limit " << (m["invertLimit"].get<bool>() ? "inverted" : "not inverted") << '\n'
      << "Pots:            " << j["pots"][0] << ' ' << j["pots"][1] << ' ' << j["pots"][2] << ' '
      << j["pots"][3] << '\n'
      << "Limit:           " << j["limit"]["text"].get<std::string>() << " (count "
      << j["limit"]["count"] << ")\n";
  for (const auto& [label, text] : ProvenanceLines(facts)) {
    const bool named =
        kept && ((label == "Meter to use" && facts.use.file == h["useMeterName"]) ||
                 (label == "Meter to match" && facts.match.file == h["matchMeterName"]));
    if (named) continue;
    out << std::left << std::setw(17) << label + ": " << EscapedControls(text) << '\n';
  }
  out << '\n';
  PrintTable(j["table"]);
}

void PrintTable(const json& t) {
  std::ostream& out = std::cout;
  out << "entry  count  " << std::left << std::setw(8) << t["inputTitle"].get<std::string>()
      << t["outputTitle"].get<std::string>() << '\n';
  for (const json& r : t["rows"]) {
    out << std::right << std::setw(5) << r["entry"].get<int>() << std::setw(7)
        << r["count"].get<int>() << "  " << std::left << std::setw(8)
        << Trim(r["input"].get<std::string>()) << Trim(r["output"].get<std::string>()) << '\n';
  }
}

std::pair<std::string, std::string> SplitAssignment(const std::string& text, const char* what) {
  auto eq = text.find('=');
  if (eq == std::string::npos || eq == 0)
    throw UsageError(std::string(what) + " must look like KEY=VALUE: '" + text + "'");
  return {text.substr(0, eq), text.substr(eq + 1)};
}

int ParseInt(const std::string& text, int base, int low, int high, const std::string& what) {
  size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used, base);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || value < low || value > high)
    throw UsageError(what + " '" + text + "' is out of range");
  return value;
}

json CorrectionJson(const AppState& st, const ScanLog& log, const CorrectionResult& r) {
  json entries = json::array();
  for (int k = 0; k < kTableEntries; ++k) {
    const EntryCorrection& e = r.entries[k];
    entries.push_back({{"entry", k},
                       {"old", e.oldCount},
                       {"new", e.newCount},
                       {"oldOutput", OutputCountText(st, e.oldCount)},
                       {"newOutput", OutputCountText(st, e.newCount)},
                       {"samples", e.samples},
                       {"meanError", e.meanError},
                       {"spread", e.spread},
                       {"enough", e.enough},
                       {"changed", e.changed},
                       {"inProportion", e.inProportion}});
  }
  json gates = json::object();
  for (int g = 0; g < kCorrectionGates; ++g)
    gates[CorrectionGateName(static_cast<CorrectionGate>(g))] = r.removed[g];
  return {{"rows", log.rows.size()},
          {"rowsSkipped", log.skipped},
          {"used", r.used},
          {"outsideTable", r.outside},
          {"removed", gates},
          {"throughMeterToMatch", r.throughMeter},
          {"lambda", r.lambda},
          {"outputUnit", OutputUnit(st)},
          {"method", CorrectionMethodText(r)},
          {"entries", entries}};
}

void PrintCorrection(const json& j) {
  std::ostream& out = std::cout;
  const std::string unit = j["outputUnit"].get<std::string>();
  out << "entry    old    new  " << std::left << std::setw(9) << ("old " + unit) << std::setw(9)
      << ("new " + unit) << std::right << "samples  mean error    spread\n";
  for (const json& e : j["entries"]) {
    out << std::right << std::setw(5) << e["entry"].get<int>() << std::setw(7)
        << e["old"].get<int>() << std::setw(7) << e["new"].get<int>() << "  " << std::left
        << std::setw(9) << e["oldOutput"].get<std::string>() << std::setw(9)
        << e["newOutput"].get<std::string>() << std::right << std::setw(7)
        << e["samples"].get<int>();
    if (e["samples"].get<int>() > 0) {
      out << std::setw(10) << FormatFixed(e["meanError"].get<double>(), 0, 2) << " %"
          << std::setw(8) << FormatFixed(e["spread"].get<double>(), 0, 2) << " %";
    }
    if (e["changed"].get<bool>()) {
      out << "  changed";
    } else if (!e["enough"].get<bool>() && e["samples"].get<int>() > 0) {
      out << "  too few";
    }
    out << '\n';
  }
  out << '\n'
      << "Rows: " << j["rows"] << " read, " << j["rowsSkipped"] << " skipped; samples used "
      << j["used"] << ", outside the table " << j["outsideTable"] << '\n'
      << "Removed:";
  for (int g = 0; g < kCorrectionGates; ++g) {
    const std::string gate = CorrectionGateName(static_cast<CorrectionGate>(g));
    out << (g == 0 ? " " : "; ") << gate << ' ' << j["removed"][gate];
  }
  out << '\n' << j["method"].get<std::string>() << '\n';
}

// A number option that must be a number: CLI11 reads "nan" and "inf" as numbers.
const CLI::Validator kFinite(
    [](std::string& text) {
      double value = 0;
      try {
        value = std::stod(text);
      } catch (const std::exception&) {
        return std::string();  // the option's own conversion says what is wrong
      }
      return std::isfinite(value) ? std::string() : "'" + text + "' is not a finite number";
    },
    "FINITE");

int KindIndex(const std::string& kind) {
  return kind == "frequency" ? kFrequency : kVoltage;
}

// The longest text an edit types: far beyond any number the grids or the limit box show, and
// short enough that typing it key by key costs nothing.
constexpr size_t kMaxTypedText = 64;

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

void CheckLength(const std::string& text, const std::string& what) {
  if (text.size() > kMaxTypedText)
    throw UsageError(what + ": the text is " + std::to_string(text.size()) +
                     " characters long, more than the " + std::to_string(kMaxTypedText) +
                     " a typed text may have");
}

// A text typed into a grid cell: its editor takes no control character.
void CheckTyped(const std::string& text, const std::string& what) {
  CheckLength(text, what);
  if (std::any_of(text.begin(), text.end(), IsControl))
    throw UsageError(what + ": '" + EscapedText(text) +
                     "' holds a control character, which cannot be typed");
}

// One edit of `vyk project edit`, applied as the control or grid it stands for would. A text
// that the grid or the limit box would take for 0 or drop (no number, an empty text) is
// refused: on the command line it is a mistake, not a value.
void ApplyEdit(Session& s, const std::string& option, const std::string& value) {
  if (option == "--entry") {
    auto [key, text] = SplitAssignment(value, "--entry");
    int k = ParseInt(key, 10, 0, kTableEntries - 1, "Table entry");
    const std::string what = "Table entry " + std::to_string(k);
    CheckTyped(text, what);
    if (!ReadNumber(text)) throw UsageError(what + ": '" + EscapedText(text) + "' is not a number");
    TableGridSetEditText(s, 1, k + 1, text);
  } else if (option == "--byte") {
    auto [key, text] = SplitAssignment(value, "--byte");
    int address = ParseInt(key, 16, 0, kImageSize - 1, "Byte address");
    const std::string what = "Byte " + FormatHex(static_cast<uint32_t>(address), 2);
    CheckTyped(text, what);
    const std::string digits = Trim(text);
    if (digits.empty() || HexDigitValue(digits[0]) < 0)
      throw UsageError(what + ": '" + EscapedText(text) + "' is not a hexadecimal number");
    EepromGridSetEditText(s, address % 16 + 1, address / 16 + 1, text);
  } else if (option == "--limit") {
    CheckLength(value, "--limit");
    // Backspace and Delete pass the box's key filter as keys that edit, not as characters.
    for (char c : value) {
      if (IsControl(c) || !LimitKeyAccepted(c))
        throw UsageError("The limit box takes only digits and \".\": '" + EscapedText(value) + "'");
    }
    if (!ReadNumber(Trim(value)))
      throw UsageError("Limit: '" + EscapedText(value) + "' is not a number");
    // Typed key by key: each text the box passes through is stored, as in the window.
    for (size_t n = 1; n <= value.size(); ++n)
      SetLimitText(s, value.substr(0, n));
  } else if (option == "--invert") {
    SetInvertLimit(s, value == "on");
  } else if (option == "--input") {
    if (!s.state.controls.inputRGrpEnabled)
      throw UsageError("The input kind can be changed only in a GM project");
    SetInputRGrp(s, KindIndex(value));
  } else if (option == "--output") {
    // The window never enables its Output group: the output kind follows the group, the image
    // and the meter match.
    if (!s.state.controls.outputRGrpEnabled)
      throw UsageError(
          "The output kind cannot be changed: it follows the group and the meter match");
    SetOutputRGrp(s, KindIndex(value));
  } else if (option == "--pot") {
    auto [key, direction] = SplitAssignment(value, "--pot");
    int pot = ParseInt(key, 10, 1, 4, "Pot");
    if (direction != "up" && direction != "down")
      throw UsageError("--pot takes N=up or N=down: '" + value + "'");
    AdjustPot(s, pot, direction == "up" ? 1 : -1);
  } else if (option == "--table-csv") {
    SetTableFromCsv(s, ReadSmallFile(value, kMaxTableCsvBytes, "a table CSV file"), value);
  }
}

// A project as a side of a comparison, read as File > Open reads it.
ComparedProject ReadCompared(const std::string& file) {
  const ProjectReadResult read = ReadProjectFile(file, ProjectHeader());
  if (read.status != ProjectReadStatus::Ok) {
    std::cerr << TerminalText(ProjectReadMessage(read.status, file)) << '\n';
    throw CommandFailed();
  }
  return {file, read.header, read.image};
}

}  // namespace

void AddProjectCommands(CLI::App& app) {
  CLI::App* project = app.add_subcommand("project", "Create, show and edit project files (.VYK)");
  project->require_subcommand(1);

  // vyk project new
  {
    auto* cmd = project->add_subcommand("new", "Write a new project, as File > New then Save As");
    struct Options {
      std::string group, name = "(none)", description, units = "english", file;
      bool force = false;
    };
    auto opt = std::make_shared<Options>();
    cmd->add_option("--group", opt->group, "Hardware group")
        ->required()
        ->check(CLI::IsMember(GroupCliNames()));
    cmd->add_option("--name", opt->name, "Project name (63 characters at most)");
    cmd->add_option("--description", opt->description, "Description (63 characters at most)");
    cmd->add_option("--units", opt->units, "Units")->check(CLI::IsMember({"english", "metric"}));
    cmd->add_flag("--force", opt->force, "Replace FILE if it exists");
    cmd->add_option("FILE", opt->file, "Project file to write, exactly as named")->required();
    cmd->callback([opt] {
      ProjectRun run;
      ProjectSetup setup;
      setup.name = ToFileText(opt->name, "The name");
      setup.description = ToFileText(opt->description, "The description");
      setup.group = GroupOfCliName(opt->group).byte;
      setup.metric = opt->units == "metric";
      run.dialogs.setup = setup;
      FileNewClick(run.session);
      run.Check();
      run.dialogs.saveName = opt->file;
      run.dialogs.overwrite = opt->force;
      bool saved = FileSaveAsClick(run.session);
      run.Check();
      if (!saved) throw CommandFailed();
    });
  }

  // vyk project show
  {
    auto* cmd = project->add_subcommand("show", "Print a project's header, settings and table");
    auto file = std::make_shared<std::string>();
    auto asJson = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Project file")->required();
    cmd->add_flag("--json", *asJson, "Print JSON");
    cmd->callback([file, asJson] {
      ProjectRun run;
      run.dialogs.showInformation = false;
      OpenProject(run, *file);
      json j = ShowJson(run.state, *file);
      if (*asJson) {
        PrintJson(j);
      } else {
        PrintShow(j, FactsOfProvenance(run.state));
      }
    });
  }

  // vyk project check
  {
    auto* cmd = project->add_subcommand(
        "check",
        "Check the table as an Update does: outputs that fall where the meter to match's "
        "signal rises, or leave its range; exit status 0 when nothing is found, 1 when "
        "something is, 2 on an error");
    auto file = std::make_shared<std::string>();
    auto meter = std::make_shared<std::string>();
    auto asJson = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Project file")->required();
    cmd->add_option(
        "--meter-to-match", *meter,
        "The meter the engine controller expects (.maf); else the one the project keeps from "
        "its match (the header's meter file is not looked for)");
    cmd->add_flag("--json", *asJson, "Print JSON");
    ExitsLikeDiff(cmd);
    cmd->callback([file, meter, asJson] {
      ProjectRun run;
      run.dialogs.showInformation = false;
      OpenProject(run, *file);
      // The meter given, else the one the project keeps.
      std::optional<MeterRecord> toMatch = ProjectMeterToMatch(run.state);
      if (!meter->empty()) {
        toMatch.emplace();
        ReadMeterFile(*meter, *toMatch);
      }
      const std::vector<std::string> warnings =
          CheckTable(run.state.image, run.state.conversion, toMatch);
      if (*asJson) {
        PrintJson({{"file", *file}, {"directionOnly", !toMatch}, {"warnings", warnings}});
      } else {
        for (const std::string& w : warnings)
          std::cout << TerminalText(w) << '\n';
        if (warnings.empty())
          std::cout << (toMatch ? "The table rises and stays in range\n"
                                : "No meter to match is known, so only the direction was "
                                  "checked: the table rises\n");
      }
      std::cout << std::flush;
      throw ExitStatus(warnings.empty() ? 0 : 1);
    });
  }

  // vyk project correct
  {
    auto* cmd = project->add_subcommand(
        "correct",
        "Correct the table from a scan tool's or wideband logger's log (CSV), as Edit > "
        "Correct From Log does, and save");
    struct Options {
      std::string file, log, signal, unit, afr, target, coolant, throttle;
      std::vector<std::string> trims;
      CorrectionSettings settings;
      bool dryRun = false, asJson = false, keepDamaged = false;
    };
    auto opt = std::make_shared<Options>();
    cmd->add_option("FILE", opt->file, "Project file")->required();
    cmd->add_option("--log", opt->log, "The log: CSV with a header row")->required();
    cmd->add_option("--signal-column", opt->signal,
                    "The MAF signal the engine controller saw: column name or number from 1")
        ->required();
    cmd->add_option("--signal-unit", opt->unit, "The signal's unit")
        ->required()
        ->check(CLI::IsMember({"hz", "volts", "gs"}));
    auto* trims = cmd->add_option("--trim-columns", opt->trims,
                                  "Short and long term fuel trim columns (%), comma-separated")
                      ->delimiter(',');
    auto* afr = cmd->add_option("--afr-column", opt->afr, "Wideband AFR or lambda column");
    auto* target = cmd->add_option("--target-column", opt->target,
                                   "Commanded AFR (or lambda) column; a lambda without it is "
                                   "held against 1.0");
    trims->excludes(afr);
    target->needs(afr);
    cmd->add_option("--coolant-column", opt->coolant, "Coolant temperature column (deg C)");
    auto* warm = cmd->add_option("--warm", opt->settings.warmCoolant,
                                 "Coolant temperature from which the engine is warm (deg C)")
                     ->capture_default_str()
                     ->check(kFinite);
    cmd->add_option("--steady", opt->settings.steadyPercent,
                    "Largest change of the signal from the sample before (% of the signal)")
        ->capture_default_str()
        ->check(kFinite & CLI::NonNegativeNumber);
    cmd->add_option("--throttle-column", opt->throttle, "Throttle position column (% open)");
    auto* steadyThrottle =
        cmd->add_option("--steady-throttle", opt->settings.steadyThrottle,
                        "Largest change of the throttle from the sample before (% open)")
            ->capture_default_str()
            ->check(kFinite & CLI::NonNegativeNumber);
    const struct {
      const char* name;
      double* value;
      const char* help;
    } ranges[] = {
        {"--afr-min", &opt->settings.afrLow, "Lowest wideband AFR to trust"},
        {"--afr-max", &opt->settings.afrHigh, "Highest wideband AFR to trust"},
        {"--lambda-min", &opt->settings.lambdaLow, "Lowest wideband lambda to trust"},
        {"--lambda-max", &opt->settings.lambdaHigh, "Highest wideband lambda to trust"},
    };
    for (const auto& r : ranges)
      cmd->add_option(r.name, *r.value, r.help)->capture_default_str()->check(kFinite);
    cmd->add_option("--min-samples", opt->settings.minSamples,
                    "Samples an entry needs to be corrected")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    cmd->add_option("--clamp", opt->settings.clampPercent,
                    "Most an entry moves in one pass (% of its output)")
        ->capture_default_str()
        ->check(kFinite & CLI::NonNegativeNumber);
    cmd->add_flag("--keep-rising", opt->settings.keepRising,
                  "Keep each corrected entry at least the one before");
    cmd->add_flag("--dry-run", opt->dryRun, "Print the correction; save nothing");
    cmd->add_flag("--keep-damaged-record", opt->keepDamaged, kKeepDamagedHelp);
    cmd->add_flag("--json", opt->asJson, "Print JSON");
    cmd->callback([opt, warm, steadyThrottle] {
      if (opt->trims.empty() && opt->afr.empty())
        throw UsageError("Give --trim-columns, or --afr-column (with --target-column)");
      if (opt->trims.size() > 2)
        throw UsageError(
            "--trim-columns takes at most two columns: the short and the long term "
            "trim");
      if (warm->count() > 0 && opt->coolant.empty())
        std::cerr << "Note: the warm-engine gate is off: there is no coolant column "
                     "(--coolant-column)\n";
      if (steadyThrottle->count() > 0 && opt->throttle.empty())
        std::cerr << "Note: the steady-throttle gate is off: there is no throttle column "
                     "(--throttle-column)\n";
      const ScanLog log = ReadScanLog(opt->log);
      CorrectionColumns columns{opt->signal, opt->trims,   opt->afr,
                                opt->target, opt->coolant, opt->throttle};
      CorrectionSettings settings = opt->settings;
      settings.unit = opt->unit == "hz"      ? SignalUnit::Hertz
                      : opt->unit == "volts" ? SignalUnit::Volts
                                             : SignalUnit::GramsPerSecond;
      // Held from reading to saving, as an edit holds it.
      std::optional<FileLock> lock;
      if (!opt->dryRun) lock.emplace(opt->file, WaitNotice(opt->file));
      ProjectRun run;
      run.dialogs.showInformation = false;
      OpenProject(run, opt->file);
      CorrectionResult result;
      try {
        result = CorrectProjectTable(run.state, log, columns, settings);
      } catch (const NoTargetError&) {
        throw UsageError(
            "The wideband column reads air-fuel ratios: give --target-column, the column of the "
            "commanded AFR");
      }
      json j = CorrectionJson(run.state, log, result);
      // Nothing to correct from: said as the window says it, after the counts that tell why.
      if (result.used == 0) {
        if (opt->asJson) {
          PrintJson(j);
        } else {
          PrintCorrection(j);
        }
        std::cout << std::flush;
        std::cerr << "No sample of the log is usable: see what the gates removed\n";
        throw CommandFailed();
      }
      j["file"] = opt->file;
      j["log"] = opt->log;
      bool saved = false;
      if (!opt->dryRun && ApplyCorrection(run.session, result)) {
        saved = SaveChangedProject(run.session, run.dialogs, opt->keepDamaged);
        run.Check();
        if (!saved) throw CommandFailed();
      }
      j["saved"] = saved;
      if (opt->asJson) {
        PrintJson(j);
        return;
      }
      PrintCorrection(j);
      std::cout << (saved         ? "Saved " + TerminalText(opt->file)
                    : opt->dryRun ? std::string("Dry run: nothing saved")
                                  : std::string("No entry changed: nothing saved"))
                << '\n';
    });
  }

  // vyk project table
  {
    auto* cmd = project->add_subcommand(
        "table", "Print the 33 rows of the transfer table: entry, count, input and output");
    auto file = std::make_shared<std::string>();
    auto csv = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Project file")->required();
    cmd->add_flag("--csv", *csv, "Comma-separated, for spreadsheets and edit --table-csv");
    cmd->callback([file, csv] {
      ProjectRun run;
      run.dialogs.showInformation = false;
      OpenProject(run, *file);
      if (*csv) {
        std::cout << TableCsv(run.state);
      } else {
        PrintTable(TableJson(run.state));
      }
    });
  }

  // vyk project diff
  {
    auto* cmd = project->add_subcommand(
        "diff",
        "Show what differs between two projects; exit status 0 when they are equal, 1 "
        "when they differ, 2 on an error");
    auto files = std::make_shared<std::array<std::string, 2>>();
    auto asJson = std::make_shared<bool>(false);
    cmd->add_option("A", (*files)[0], "Project file")->required();
    cmd->add_option("B", (*files)[1], "Project file to compare it with")->required();
    cmd->add_flag("--json", *asJson, "Print JSON");
    ExitsLikeDiff(cmd);
    cmd->callback([files, asJson] {
      PrintComparison(CompareProjects(ReadCompared((*files)[0]), ReadCompared((*files)[1])),
                      *asJson);
    });
  }

  // vyk project rematch
  {
    auto* cmd = project->add_subcommand(
        "rematch", "Make the table again from the meters and settings the project keeps, and save");
    auto file = std::make_shared<std::string>();
    auto overwrite = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Project file")->required();
    cmd->add_flag("--overwrite-edits", *overwrite,
                  "Overwrite the entries edited by hand since the match (kept otherwise)");
    cmd->callback([file, overwrite] {
      FileLock lock(*file, WaitNotice(*file));
      ProjectRun run;
      run.dialogs.showInformation = false;
      OpenProject(run, *file);
      run.dialogs.showInformation = true;
      if (!CanRematch(run.state))
        throw VykError(*file + " keeps no record of how its table was made: match it first");
      const bool done =
          RematchClick(run.session, *overwrite ? HandEdits::Overwrite : HandEdits::Keep);
      run.Check();
      if (!done) throw CommandFailed();
      run.dialogs.questionAnswer = Answer::No;
      bool saved = FileSaveClick(run.session);
      run.Check();
      if (!saved) throw CommandFailed();
    });
  }

  // vyk project edit
  {
    auto* cmd = project->add_subcommand(
        "edit", "Apply edits in the order given, as the grids and controls would, and save");
    auto file = std::make_shared<std::string>();
    auto keepDamaged = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Project file")->required();
    cmd->add_flag("--keep-damaged-record", *keepDamaged, kKeepDamagedHelp);
    auto multi = [&](const char* name, const char* help) {
      return cmd->add_option(name)
          ->description(help)
          ->type_size(1)
          ->allow_extra_args(false)
          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    };
    multi("--entry", "K=TEXT: type TEXT into table entry K (0..32), untrimmed");
    multi("--byte", "ADDR=HEX: type HEX into the byte grid at ADDR (hexadecimal 00..FF)");
    multi("--limit", "TEXT: type TEXT into the limit box");
    multi("--invert", "on|off: the Invert Limit Output box")->check(CLI::IsMember({"on", "off"}));
    multi("--input", "voltage|frequency (GM projects)")
        ->check(CLI::IsMember({"voltage", "frequency"}));
    multi("--output", "voltage|frequency (refused: the output follows the group)")
        ->check(CLI::IsMember({"voltage", "frequency"}));
    multi("--pot", "N=up|down: step pot N (1..4)");
    multi("--table-csv",
          "FILE: type the outputs of FILE's entry,output lines (or its entry and output "
          "columns) into the table");
    cmd->callback([cmd, file, keepDamaged] {
      // Held from reading to saving: a second edit of the file waits, then reads this one's.
      FileLock lock(*file, WaitNotice(*file));
      ProjectRun run;
      run.dialogs.showInformation = false;
      OpenProject(run, *file);
      run.dialogs.showInformation = true;
      // Each option's values in the order they came, interleaved by parse order.
      std::map<const CLI::Option*, size_t> used;
      for (const CLI::Option* option : cmd->parse_order()) {
        if (option->get_name().rfind("--", 0) != 0 || option->get_name() == "--keep-damaged-record")
          continue;
        const std::string& value = option->results().at(used[option]++);
        ApplyEdit(run.session, option->get_name(), value);
        run.Check();
      }
      // The window takes no lock: a file it saved meanwhile is not overwritten unasked.
      bool saved = SaveChangedProject(run.session, run.dialogs, *keepDamaged);
      run.Check();
      if (!saved) throw CommandFailed();
    });
  }
}

}  // namespace vyk::cli
