#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli_test_util.h"

namespace vyk::test {
namespace {

using nlohmann::json;

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Two meters imported from text files: a frequency meter to use and a voltage meter to match.
struct Meters {
  TempFolder tmp;
  std::string use = tmp / "use.maf";
  std::string match = tmp / "match.maf";
  Meters() {
    WriteText(
        tmp / "use.txt",
        "USE-1\r\nFrequency\r\nlb/hr\r\nUse meter\r\n\r\n2000 100\r\n 500\t10\r\n8000 900\r\n");
    WriteText(tmp / "match.txt",
              "\"MATCH-1\"\r\n\"Volts\"\r\nlb/hr\r\nMatch meter\r\n\r\n1.0 5\r\n2.0 40\r\n4.0 "
              "400\r\n4.5 800\r\n");
    EXPECT_EQ(RunVyk({"meter", "import", tmp / "use.txt", use}, tmp).status, 0);
    EXPECT_EQ(RunVyk({"meter", "import", tmp / "match.txt", match}, tmp).status, 0);
  }
};

TEST(MeterCli, ImportThenShow) {
  Meters m;
  RunResult r = RunVyk({"meter", "show", m.use, "--json"}, m.tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  json j = json::parse(r.out);
  EXPECT_EQ(j["partNumber"], "USE-1");
  EXPECT_EQ(j["signal"], "frequency");
  EXPECT_EQ(j["units"], "lb/hr");
  EXPECT_EQ(j["description1"], "Use meter");
  ASSERT_EQ(j["points"].size(), 3u);
  EXPECT_EQ(j["points"][0]["signal"], "  500");  // sorted by signal, as the editor keeps them
  EXPECT_EQ(j["points"][0]["flow"], "10.00");
  EXPECT_EQ(json::parse(RunVyk({"meter", "show", m.match, "--json"}, m.tmp).out)["signal"],
            "voltage");
}

// The meter tools write a new meter and print it beside the old one, with the warnings and the
// saturation flow; an existing output needs --force, and what a tool refuses writes nothing.
TEST(MeterCli, ScaleRehouseAndBlend) {
  Meters m;
  const std::string scaled = m.tmp / "scaled.maf";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // a line the output holds, or on failure a part of the error
  };
  const Case cases[] = {
      {{"scale", m.match, scaled, "--percent", "10"}, 0, " 3  4.00     400.00   440.00\n"},
      {{"scale", m.match, scaled, "--percent", "-5"}, 1, "already exists (--force replaces it)"},
      {{"scale", m.match, scaled, "--percent", "-5", "--force"},
       0,
       " 4  4.50     800.00   760.00\n"},
      {{"rehouse", m.match, m.tmp / "r.maf", "--from", "76", "--to", "100"},
       0,
       "Warning: The open area changes by a factor of 1.73: measured housings fall short"},
      {{"rehouse", m.match, m.tmp / "r.maf", "--from", "3", "--to", "3.1", "--inches", "--force"},
       0,
       "Saturation: about 2105.52 lb/hr, where the signal reaches 5.96 V"},
      {{"rehouse", m.match, m.tmp / "n.maf", "--from", "10", "--to", "89", "--from-post", "100"},
       1,
       "leaves no open area in a housing of 10.00 mm"},
      {{"blend", m.match, m.use, m.tmp / "n.maf", "--below", "50", "--above", "100"},
       1,
       "Only meters of the same signal kind blend"},
      {{"blend", m.match, scaled, m.tmp / "b.maf", "--below", "50", "--above", "100"},
       0,
       " 3  4.00     400.00   380.00   380.00\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"meter"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RunResult r = RunVyk(args, m.tmp);
    EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
    EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.out), std::string::npos) << r.out << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(m.tmp / "n.maf"));
  json j = json::parse(RunVyk({"meter", "show", m.tmp / "b.maf", "--json"}, m.tmp).out);
  EXPECT_EQ(j["description2"], "Blended with MATCH-1 from 50.00 to 100.00 lb/hr");
}

TEST(MeterCli, MissingFilesAreReported) {
  TempFolder tmp;
  RunResult r = RunVyk({"meter", "import", tmp / "none.txt", tmp / "x.maf"}, tmp);
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(r.err.empty());
  EXPECT_FALSE(std::filesystem::exists(tmp / "x.maf"));
  EXPECT_NE(RunVyk({"meter", "show", tmp / "none.maf"}, tmp).status, 0);
}

// What is no plain file is refused before it is read (a pipe would block, /dev/zero never
// ends), and so is a text file too large to be a meter's.
TEST(MeterCli, WhatIsNoFileIsRefusedWithoutBeingRead) {
  TempFolder tmp;
  const std::string pipe = tmp / "pipe";
  const std::string folder = tmp / "folder";
  const std::string big = tmp / "big.txt";
  const std::string out = tmp / "x.maf";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::filesystem::create_directory(folder);
  WriteText(big, std::string(2 << 20, '1'));
  struct Case {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"project", "show", pipe}, "Error (1) reading " + pipe},
      {{"meter", "show", pipe}, pipe + " is a pipe, not a file"},
      {{"meter", "import", pipe, out}, pipe + " is a pipe, not a file"},
      {{"meter", "import", "/dev/zero", out}, "/dev/zero is a device, not a file"},
      {{"meter", "import", folder, out}, folder + " is a folder, not a file"},
      {{"meter", "import", big, out},
       big + " is too large for a meter text file (more than 1048576 bytes)"},
  };
  for (const Case& c : cases) {
    RunResult r = RunVyk(c.args, tmp);
    EXPECT_NE(r.status, 0) << c.err;
    EXPECT_EQ(r.err, c.err + "\n");
    EXPECT_FALSE(std::filesystem::exists(out)) << c.err;
  }
}

TEST(MatchCli, PrintsTheTableWithItsLabels) {
  Meters m;
  RunResult r = RunVyk({"match", "--group", "gm", m.use, m.match, "--json"}, m.tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  json j = json::parse(r.out);
  EXPECT_EQ(j["headers"], json({"Flow", "F Use", "V Out"}));
  EXPECT_EQ(j["flowUnits"], "Lbs / Hour");
  ASSERT_EQ(j["rows"].size(), 256u);
  // 2000 Hz at GM's 13.19648 Hz per count is input code 38.
  EXPECT_EQ(j["rows"][38]["useText"], " 2000");
  EXPECT_EQ(j["rows"][38]["flowText"], "100.00");
  EXPECT_EQ(j["rows"][38]["useSignal"], 2000.0);

  r = RunVyk({"match", m.use, m.match}, m.tmp);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err, "--group is needed when no project is given with --apply\n");
}

// The same warnings as the match dialog's: in the JSON, or on standard error beside the table.
TEST(MatchCli, WarningsGoIntoTheJsonOrToStandardError) {
  Meters m;
  EXPECT_EQ(
      json::parse(
          RunVyk({"match", "--group", "gm", m.use, m.match, "--json"}, m.tmp).out)["warnings"],
      json::array());
  WriteText(m.tmp / "far.txt",
            "FAR\r\nVolts\r\nlb/hr\r\nFar above\r\n\r\n1.0 5000\r\n2.0 6000\r\n3.0 7000\r\n");
  const std::string far = m.tmp / "far.maf";
  ASSERT_EQ(RunVyk({"meter", "import", m.tmp / "far.txt", far}, m.tmp).status, 0);
  const std::string text =
      "The flow ranges overlap by less than half of the meter to use's range: the meter to use "
      "reads 10.00 to 900.00 lb/hr, the meter to match 5000.00 to 7000.00 lb/hr.";

  RunResult r = RunVyk({"match", "--group", "gm", m.use, far, "--json"}, m.tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(r.out)["warnings"],
            json::parse(R"([{"kind": "flowOverlap", "text": ")" + text + "\"}]"));
  EXPECT_EQ(r.err, "");
  r = RunVyk({"match", "--group", "gm", m.use, far}, m.tmp);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "Warning: " + text + "\n");
}

TEST(MatchCli, ApplyCopiesIntoTheProjectAndSaves) {
  Meters m;
  std::string project = m.tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, m.tmp).status, 0);
  json match = json::parse(RunVyk({"match", "--group", "gm", m.use, m.match, "--json"}, m.tmp).out);
  RunResult r = RunVyk({"match", m.use, m.match, "--apply", project}, m.tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, project + " saved\n");
  json p = json::parse(RunVyk({"project", "show", project, "--json"}, m.tmp).out);
  EXPECT_EQ(p["header"]["useMeterName"], "USE.MAF");
  EXPECT_EQ(p["header"]["matchMeterName"], "MATCH.MAF");
  EXPECT_EQ(p["mode"]["input"], "frequency");
  EXPECT_EQ(p["mode"]["output"], "voltage");
  for (int k : {0, 5, 31})
    EXPECT_EQ(p["table"]["rows"][k]["count"], match["rows"][8 * k]["outCount"]) << k;
}

// --apply keeps both meters in the project: show names them and the entries edited by hand
// since, and rematch makes the table again from them.
TEST(MatchCli, ApplyKeepsTheMetersThatShowAndRematchUse) {
  Meters m;
  std::string project = m.tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, m.tmp).status, 0);
  ASSERT_EQ(RunVyk({"match", m.use, m.match, "--apply", project}, m.tmp).status, 0);
  ASSERT_EQ(RunVyk({"project", "edit", project, "--entry", "7=0.100"}, m.tmp).status, 0);
  RunResult r = RunVyk({"project", "show", project}, m.tmp);
  EXPECT_NE(r.out.find("Meter to use:    USE.MAF (group GM): part USE-1, Use meter, lb/hr, "
                       "frequency, 3 points\n"
                       "Meter to match:  MATCH.MAF (group GM): part MATCH-1, Match meter, lb/hr, "
                       "voltage, 4 points\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("USE.MAF", r.out.find("USE.MAF") + 1), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Entries edited by hand: 7\n"), std::string::npos) << r.out;

  r = RunVyk({"project", "rematch", project, "--overwrite-edits"}, m.tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  json p = json::parse(RunVyk({"project", "show", project, "--json"}, m.tmp).out);
  EXPECT_EQ(p["provenance"]["match"]["partNumber"], "MATCH-1");
  EXPECT_EQ(p["provenance"]["editedText"], "none");
}

TEST(MatchCli, ApplyRefusesATableWithAGapAndLeavesTheProject) {
  Meters m;
  std::string project = m.tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, m.tmp).status, 0);
  std::string before = ReadAll(project);
  // A meter to match with two points gets no fill: most sampled slots have no output.
  WriteText(m.tmp / "two.txt", "TWO\r\nVolts\r\nlb/hr\r\nTwo points\r\n\r\n1.0 5\r\n2.0 40\r\n");
  ASSERT_EQ(RunVyk({"meter", "import", m.tmp / "two.txt", m.tmp / "two.maf"}, m.tmp).status, 0);
  RunResult r = RunVyk({"match", m.use, m.tmp / "two.maf", "--apply", project}, m.tmp);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err,
            "Warning: The flow ranges overlap by less than half of the meter to use's range: the "
            "meter to use reads 10.00 to 900.00 lb/hr, the meter to match 5.00 to 40.00 lb/hr.\n"
            "Input code 0 has no output value: nothing was copied\n");
  EXPECT_EQ(ReadAll(project), before);
}

// With --apply the table is computed with the constants of the project's own group only.
TEST(MatchCli, ApplyKeepsToTheProjectsGroup) {
  Meters m;
  const std::string gm = m.tmp / "gm.VYK", odd = m.tmp / "odd.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", gm}, m.tmp).status, 0);
  WriteText(odd, ReadAll(gm).replace(16, 1, 1, '\3'));  // a group byte that names no group
  const std::string before = ReadAll(gm) + ReadAll(odd);
  EXPECT_EQ(RunVyk({"match", "--group", "ford", m.use, m.match, "--apply", gm}, m.tmp).err,
            "--group differs from the project's group\n");
  EXPECT_EQ(RunVyk({"match", m.use, m.match, "--apply", odd}, m.tmp).err, "Invalid data path\n");
  EXPECT_EQ(ReadAll(gm) + ReadAll(odd), before);
}

// A point text that is no number is named with its file and point and its bytes escaped; and
// showing the meter sends none of its control characters to the terminal.
TEST(MatchCli, ABadPointTextIsNamedWithItsFileAndPoint) {
  Meters m;
  const std::string bad = m.tmp / "bad.maf";
  std::string bytes = ReadAll(m.use);
  bytes.replace(64 + 32, 4, std::string("\x03\x01\xFF\x1B", 4));  // point 2's signal text
  WriteText(bad, bytes);
  RunResult r = RunVyk({"match", "--group", "gm", bad, m.match}, m.tmp);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err,
            bad + ", point 2, signal: '\\x01\\xFF\\x1B' is not a valid floating point value\n");
  EXPECT_EQ(r.out, "");
  r = RunVyk({"meter", "show", bad}, m.tmp);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(" 2  \\x01\xC3\xBF\\x1B  100.00\n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace vyk::test
