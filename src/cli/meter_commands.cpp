// vyk meter import | show: the meter library's files without the meter editor window.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_dialogs.h"
#include "cli/commands.h"
#include "cli/file_rules.h"
#include "cli/printing.h"
#include "meters/meter_record.h"
#include "model/text/ascii_text.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"
#include "operations/meters/meter_form.h"

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
}

}  // namespace vyk::cli
