// vyk meter import | show | scale | rehouse | blend: the meter library's files and the meter
// tools without the meter editor window.
#include <array>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/cli_dialogs.h"
#include "cli/commands.h"
#include "cli/file_rules.h"
#include "cli/printing.h"
#include "meters/meter_record.h"
#include "meters/meter_tools.h"
#include "model/groups.h"
#include "model/text/ascii_text.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"
#include "operations/meters/meter_form.h"
#include "operations/meters/meter_tool_form.h"

namespace vyk::cli {

namespace {

using nlohmann::json;

json MeterJson(const MeterRecord& m, const std::string& file) {
  json points = json::array();
  for (int i = 1; i <= m.UsablePoints(); ++i) {
    points.push_back(
        {{"signal", Cp1252ToUtf8(m.SignalText(i))}, {"flow", Cp1252ToUtf8(m.FlowText(i))}});
  }
  return {{"file", file},
          {"partNumber", Cp1252ToUtf8(m.PartNumber())},
          {"description1", Cp1252ToUtf8(m.Description1())},
          {"description2", Cp1252ToUtf8(m.Description2())},
          {"units", m.IsMetric() ? "kg/hr" : "lb/hr"},
          {"signal", m.IsFrequency() ? "frequency" : "voltage"},
          {"pointCount", m.PointCount()},
          {"points", points}};
}

void PrintMeter(const json& j) {
  std::cout << "File:          " << TerminalText(j["file"].get<std::string>()) << '\n'
            << "Part number:   " << EscapedControls(j["partNumber"].get<std::string>()) << '\n'
            << "Description:   " << EscapedControls(j["description1"].get<std::string>()) << '\n'
            << "               " << EscapedControls(j["description2"].get<std::string>()) << '\n'
            << "Flow units:    " << j["units"].get<std::string>() << '\n'
            << "Signal:        " << j["signal"].get<std::string>() << '\n'
            << "Points:        " << j["pointCount"] << "\n\n"
            << "    " << (j["signal"] == "frequency" ? "Freq   " : "Volts  ") << " Flow\n";
  int i = 1;
  for (const json& p : j["points"]) {
    std::cout << FormatFixed(i++, 2, 0) << "  "
              << PadRight(EscapedControls(p["signal"].get<std::string>()), 7) << "  "
              << EscapedControls(p["flow"].get<std::string>()) << '\n';
  }
  std::cout << std::flush;
}

// What a meter tool command was given: its files and its fields' texts.
struct ToolOptions {
  std::string in;
  std::string second;
  std::string out;
  std::array<std::string, kToolFieldCount> fields;
  bool inches = false;
  bool force = false;
  bool json = false;
  std::string group;
};

MeterRecord ReadMeter(const std::string& path) {
  MeterRecord record;
  ReadMeterFile(path, record);
  return record;
}

std::string FlowText(double flow) {
  return Cp1252ToUtf8(FlowValueText(flow));
}

// The new meter's points beside the flows they came from: the old meter's at the same point,
// or for a blend both meters' at the new point's signal.
json ToolPoints(const MeterToolForm& form, const std::optional<MeterRecord>& second) {
  const MeterRecord& made = form.Result()->meter;
  const std::vector<CurvePoint> one = MeterCurve(form.Meter());
  std::vector<CurvePoint> two;
  if (second) two = MeterCurveIn(*second, form.Meter().IsMetric());
  json points = json::array();
  for (int i = 1; i <= made.UsablePoints(); ++i) {
    json p = {{"signal", Cp1252ToUtf8(made.SignalText(i))}};
    if (second) {
      const double signal = static_cast<double>(TextToExtended(made.SignalText(i)));
      p["first"] = FlowText(*FlowAtSignal(one, signal));
      p["second"] = FlowText(*FlowAtSignal(two, signal));
    } else {
      p["old"] = Cp1252ToUtf8(form.Meter().FlowText(i));
    }
    p["new"] = Cp1252ToUtf8(made.FlowText(i));
    points.push_back(p);
  }
  return points;
}

void PrintTool(const json& j) {
  const bool blend = j.contains("second");
  std::cout << "File:          " << TerminalText(j["file"].get<std::string>()) << '\n';
  if (blend) std::cout << "Blended with:  " << TerminalText(j["second"].get<std::string>()) << '\n';
  const json& m = j["meter"];
  std::cout << "New file:      " << TerminalText(m["file"].get<std::string>()) << '\n'
            << "Part number:   " << EscapedControls(m["partNumber"].get<std::string>()) << '\n'
            << "Description:   " << EscapedControls(m["description1"].get<std::string>()) << '\n'
            << "               " << EscapedControls(m["description2"].get<std::string>()) << '\n'
            << "Flow units:    " << m["units"].get<std::string>() << '\n'
            << "Signal:        " << m["signal"].get<std::string>() << '\n'
            << "Points:        " << m["pointCount"] << "\n\n"
            << "    " << (m["signal"] == "frequency" ? "Freq   " : "Volts  ")
            << (blend ? "  First    Second   New\n" : "  Old      New\n");
  int i = 1;
  for (const json& p : j["points"]) {
    std::cout << FormatFixed(i++, 2, 0) << "  "
              << PadRight(EscapedControls(p["signal"].get<std::string>()), 7);
    for (const char* column : {"old", "first", "second"}) {
      if (p.contains(column))
        std::cout << "  " << PadRight(EscapedControls(p[column].get<std::string>()), 7);
    }
    std::cout << "  " << EscapedControls(p["new"].get<std::string>()) << '\n';
  }
  std::cout << '\n';
  for (const json& line : j["notes"])
    std::cout << line.get<std::string>() << '\n';
  std::cout << std::flush;
}

void RunTool(MeterTool tool, const ToolOptions& o) {
  RefuseOutputOverInput(o.out, {o.in, o.second.empty() ? o.in : o.second});
  AppState state;
  CliDialogs dialogs;
  std::optional<uint8_t> group;
  if (!o.group.empty()) group = GroupOfCliName(o.group).byte;
  MeterToolForm form(tool, ReadMeter(o.in), dialogs, state, group);
  std::optional<MeterRecord> second;
  if (tool == MeterTool::Blend) {
    second = ReadMeter(o.second);
    form.SetSecond(*second, o.second);
  }
  form.SetInches(o.inches);
  for (ToolField field : FieldsOf(tool))
    form.SetText(field, o.fields[static_cast<size_t>(field)]);
  if (!form.Result()) {
    dialogs.Error(form.Problem());
    throw CommandFailed();
  }
  dialogs.saveName = o.out;
  dialogs.overwrite = o.force;
  if (!form.SaveAs()) throw CommandFailed();

  json j = {{"file", o.in}};
  if (second) j["second"] = o.second;
  j["meter"] = MeterJson(form.Result()->meter, o.out);
  j["points"] = ToolPoints(form, second);
  j["warnings"] = form.Result()->warnings;
  j["saturation"] = SaturationLines(form.Result()->meter, group);
  if (o.json) {
    PrintJson(j);
  } else {
    j["notes"] = form.Notes();
    PrintTool(j);
  }
}

// The options every tool command shares: its output file, --force, --json and --group.
CLI::App* ToolCommand(CLI::App* meter, MeterTool tool, const char* name, const char* about,
                      const std::shared_ptr<ToolOptions>& o) {
  auto* cmd = meter->add_subcommand(name, about);
  cmd->add_option(tool == MeterTool::Blend ? "FIRST" : "IN", o->in, "Meter file (.maf)")
      ->required();
  if (tool == MeterTool::Blend)
    cmd->add_option("SECOND", o->second, "Meter that holds above the blend")->required();
  cmd->add_option("OUT", o->out, "Meter file to write, exactly as named")->required();
  cmd->add_flag("--force", o->force, "Replace OUT if it exists");
  cmd->add_flag("--json", o->json, "Print JSON");
  cmd->add_option("--group", o->group,
                  "Hardware group whose input limit gives a frequency meter's saturation")
      ->check(CLI::IsMember(GroupCliNames()));
  cmd->callback([tool, o] { RunTool(tool, *o); });
  return cmd;
}

std::string& Field(ToolOptions& o, ToolField field) {
  return o.fields[static_cast<size_t>(field)];
}

}  // namespace

void AddMeterCommands(CLI::App& app) {
  CLI::App* meter = app.add_subcommand("meter", "Mass-air meter files (.maf)");
  meter->require_subcommand(1);

  {
    auto* cmd = meter->add_subcommand("show", "Print a meter file");
    auto file = std::make_shared<std::string>();
    auto asJson = std::make_shared<bool>(false);
    cmd->add_option("FILE", *file, "Meter file (.maf)")->required();
    cmd->add_flag("--json", *asJson, "Print JSON");
    cmd->callback([file, asJson] {
      MeterRecord record;
      ReadMeterFile(*file, record);
      json j = MeterJson(record, *file);
      if (*asJson) {
        PrintJson(j);
      } else {
        PrintMeter(j);
      }
    });
  }

  {
    auto* cmd = meter->add_subcommand("import", "Build a meter file from a meter text file");
    auto text = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    cmd->add_option("TEXTFILE", *text, "Meter text file")->required();
    cmd->add_option("OUT", *out, "Meter file to write, exactly as named")->required();
    cmd->add_flag("--force", *force, "Replace OUT if it exists");
    cmd->callback([text, out, force] {
      RefuseOutputOverInput(*out, {*text});
      // The meter editor's Convert, then Save: the points are sorted and checked as there.
      AppState state;
      CliDialogs dialogs;
      dialogs.questionAnswer = Answer::No;  // no earlier meter to save, no row to delete
      MeterForm form(dialogs, state);
      form.FormActivate();
      dialogs.openName = *text;
      form.Convert();
      if (dialogs.errors > 0) throw CommandFailed();
      dialogs.saveName = *out;
      dialogs.overwrite = *force;
      form.Save();
      if (dialogs.errors > 0 || form.MeterFileName() != *out) throw CommandFailed();
    });
  }
  {
    auto o = std::make_shared<ToolOptions>();
    auto* cmd =
        ToolCommand(meter, MeterTool::Scale, "scale", "Scale every flow by a percentage", o);
    cmd->add_option("--percent", Field(*o, ToolField::Percent), "Percentage, such as 3 or -2.5")
        ->required();
  }

  {
    auto o = std::make_shared<ToolOptions>();
    auto* cmd = ToolCommand(meter, MeterTool::Rehouse, "rehouse",
                            "Move the meter into a housing of another inner diameter", o);
    cmd->add_option("--from", Field(*o, ToolField::FromDiameter),
                    "Inner diameter now (mm, or in with --inches)")
        ->required();
    cmd->add_option("--to", Field(*o, ToolField::ToDiameter),
                    "Inner diameter to move to (mm, or in with --inches)")
        ->required();
    cmd->add_option("--from-post", Field(*o, ToolField::FromPost),
                    "Sensor post's frontal area in the housing now (mm^2, or in^2 with --inches)");
    cmd->add_option("--to-post", Field(*o, ToolField::ToPost),
                    "Sensor post's frontal area in the new housing (mm^2, or in^2 with --inches)");
    cmd->add_flag("--inches", o->inches, "Diameters in inches and areas in square inches");
  }

  {
    auto o = std::make_shared<ToolOptions>();
    auto* cmd = ToolCommand(meter, MeterTool::Blend, "blend",
                            "Blend two meters: FIRST below a flow, SECOND above another", o);
    cmd->add_option("--below", Field(*o, ToolField::Below),
                    "Flow up to which FIRST holds, in FIRST's unit")
        ->required();
    cmd->add_option("--above", Field(*o, ToolField::Above),
                    "Flow from which SECOND holds, in FIRST's unit")
        ->required();
  }
}

}  // namespace vyk::cli
