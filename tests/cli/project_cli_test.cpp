#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli_test_util.h"
#include "model/records/project_file.h"
#include "support/provenance_sample.h"

namespace vyk::test {
namespace {

using nlohmann::json;

json ShowJson(const std::string& file, const TempFolder& tmp) {
  RunResult r = RunVyk({"project", "show", file, "--json"}, tmp);
  EXPECT_EQ(r.status, 0) << r.err;
  return json::parse(r.out);
}

TEST(ProjectCli, NewWritesTheProjectOfFileNewAndSaveAs) {
  TempFolder tmp;
  std::string file = tmp / "gm";  // no extension is added
  RunResult r = RunVyk({"project", "new", "--group", "gm", "--name", "Bench car", "--description",
                        "Test rig", "--units", "metric", file},
                       tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, file + " saved\n");
  std::string bytes = ReadAll(file);
  ASSERT_EQ(bytes.size(), 768u);
  EXPECT_EQ(bytes.substr(8, 8), std::string("\x30\x00\x20\x00\x0B\x00\x0A\x00", 8));

  json j = ShowJson(file, tmp);
  EXPECT_EQ(j["header"]["name"], "Bench car");
  EXPECT_EQ(j["header"]["description"], "Test rig");
  EXPECT_EQ(j["header"]["groupName"], "GM");
  EXPECT_EQ(j["header"]["unitsName"], "Metric");
  EXPECT_EQ(j["mode"]["byte"], 0x0A);
  EXPECT_EQ(j["limit"]["count"], 1023);
  EXPECT_EQ(j["limit"]["text"], "13500");
  EXPECT_EQ(j["table"]["inputTitle"], "F in");
  EXPECT_EQ(j["table"]["outputTitle"], "F Out");
  ASSERT_EQ(j["table"]["rows"].size(), 33u);
  EXPECT_EQ(j["table"]["rows"][32]["count"], 1023);
  EXPECT_EQ(j["table"]["rows"][32]["input"], " 13500");
  EXPECT_EQ(j["table"]["rows"][1]["output"], "  422 ");
  // Showing never changes the file.
  EXPECT_EQ(ReadAll(file), bytes);
}

TEST(ProjectCli, NewRefusesToReplaceAFileUnlessForced) {
  TempFolder tmp;
  std::string file = tmp / "a.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", file}, tmp).status, 0);
  RunResult again = RunVyk({"project", "new", "--group", "import", file}, tmp);
  EXPECT_NE(again.status, 0);
  EXPECT_NE(again.err.find("already exists"), std::string::npos);
  EXPECT_EQ(ShowJson(file, tmp)["header"]["groupName"], "Ford");
  EXPECT_EQ(RunVyk({"project", "new", "--group", "import", "--force", file}, tmp).status, 0);
  EXPECT_EQ(ShowJson(file, tmp)["header"]["groupName"], "Import");
}

TEST(ProjectCli, EditAppliesEditsInOrderAndSaves) {
  TempFolder tmp;
  std::string file = tmp / "f.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", file}, tmp).status, 0);
  RunResult r = RunVyk({"project", "edit",  file,       "--entry", "3=2.5", "--byte", "0A=7f",
                        "--limit", "2.5",   "--invert", "on",      "--pot", "2=up",   "--pot",
                        "2=up",    "--pot", "2=down",   "--entry", "4= 1",  "--byte", "0A=20"},
                       tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  json j = ShowJson(file, tmp);
  const json& rows = j["table"]["rows"];
  EXPECT_EQ(rows[3]["count"], 512);
  EXPECT_EQ(rows[4]["count"], 205);     // leading blanks are read
  EXPECT_EQ(rows[5]["count"], 0x20C0);  // byte 0A set last: 0x20 over entry 5 = 0x00C0
  EXPECT_EQ(j["limit"]["count"], 512);
  EXPECT_TRUE(j["mode"]["invertLimit"]);
  EXPECT_EQ(j["pots"][1], 1);
}

// Exit 0 on a rising table, 1 when an entry falls (named), 2 on a file that is not there.
TEST(ProjectCli, CheckNamesAFallingEntry) {
  TempFolder tmp;
  std::string file = tmp / "f.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", file}, tmp).status, 0);
  RunResult clean = RunVyk({"project", "check", file}, tmp);
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.out,
            "No meter to match is known, so only the direction was checked: the table rises\n");
  ASSERT_EQ(RunVyk({"project", "edit", file, "--entry", "5=0.1"}, tmp).status, 0);
  RunResult falls = RunVyk({"project", "check", file, "--json"}, tmp);
  EXPECT_EQ(falls.status, 1) << falls.err;
  EXPECT_EQ(json::parse(falls.out)["warnings"][0].get<std::string>().rfind("Entry 5: ", 0), 0u);
  EXPECT_EQ(RunVyk({"project", "check", tmp / "none.VYK"}, tmp).status, 2);
}

// The table as a spreadsheet takes it, and back: unchanged it changes nothing, and the outputs
// a spreadsheet changed are typed into their rows.
TEST(ProjectCli, TableCsvRoundTrip) {
  TempFolder tmp;
  for (const char* group : {"ford", "gm"}) {
    SCOPED_TRACE(group);
    std::string file = tmp / (std::string(group) + ".VYK");
    std::string csv = tmp / "table.csv";
    ASSERT_EQ(RunVyk({"project", "new", "--group", group, file}, tmp).status, 0);
    RunResult table = RunVyk({"project", "table", file, "--csv"}, tmp);
    ASSERT_EQ(table.status, 0) << table.err;
    const std::string counts = ShowJson(file, tmp)["table"].dump();
    std::ofstream(csv, std::ios::binary) << table.out;
    ASSERT_EQ(RunVyk({"project", "edit", file, "--table-csv", csv}, tmp).status, 0);
    EXPECT_EQ(ShowJson(file, tmp)["table"].dump(), counts);
    EXPECT_EQ(RunVyk({"project", "table", file, "--csv"}, tmp).out, table.out);
  }
  std::string file = tmp / "ford.VYK";
  RunResult plain = RunVyk({"project", "table", file}, tmp);
  EXPECT_EQ(plain.out.substr(0, plain.out.find('\n', plain.out.find('\n') + 1) + 1),
            "entry  count  V in    V Out\n    0      0  0.000   0.000\n");
  std::string csv = tmp / "edited.csv";
  std::ofstream(csv, std::ios::binary) << "3,2.5\r\n\r\n\"32\",\"1\"\r\n";
  ASSERT_EQ(RunVyk({"project", "edit", file, "--table-csv", csv}, tmp).status, 0);
  const json rows = ShowJson(file, tmp)["table"]["rows"];
  EXPECT_EQ(rows[3]["count"], 512);
  EXPECT_EQ(rows[32]["count"], 205);
  EXPECT_EQ(rows[4]["count"], 154);
}

TEST(ProjectCli, ATableCsvWithOneBadLineIsRefusedWhole) {
  TempFolder tmp;
  std::string file = tmp / "f.VYK";
  std::string csv = tmp / "t.csv";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", file}, tmp).status, 0);
  const std::string bytes = ReadAll(file);
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"1,1\n2,2,5\n", "line 2: '2,2,5' has 3 fields, not 2"},
      {"1,1\n2,abc\n", "line 2: 'abc' is not a number (entry 2)"},
      {"1,1\n\n3,-1\n", "line 3: '-1' is below 0 V (entry 3)"},
      {"33,1\n", "line 1: '33' is no table entry 0..32"},
      {"1,1\n1,2\n", "line 2: entry 1 was already set on line 1"},
      {"count,input\n", "line 1: 'count,input' is neither entry,output nor a header naming them"},
      {"output,entry\n1,40\n", "line 2: '40' is no table entry 0..32"},  // the header's order
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::ofstream(csv, std::ios::binary) << c.text;
    RunResult r = RunVyk({"project", "edit", file, "--entry", "0=1", "--table-csv", csv}, tmp);
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.err, csv + " " + c.message + ". Nothing was changed.\n");
    EXPECT_EQ(ReadAll(file), bytes);
  }
}

TEST(ProjectCli, ErrorsGoToStderrAndLeaveTheFileAlone) {
  TempFolder tmp;
  std::string file = tmp / "e.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", file}, tmp).status, 0);
  std::string before = ReadAll(file);
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"--entry", "1=3", "--byte", "10=1FF"}, "Range check error\n"},
      {{"--entry", "1=-1e30"}, "Range check error\n"},
      {{"--entry", "1=1e39"}, "Floating point overflow\n"},
      {{"--limit", "4,5"}, "The limit box takes only digits and \".\": '4,5'\n"},
      {{"--input", "frequency"}, "The input kind can be changed only in a GM project\n"},
      {{"--output", "frequency"},
       "The output kind cannot be changed: it follows the group and the meter match\n"},
      {{"--entry", "33=1"}, "Table entry '33' is out of range\n"},
      // What the window's editors would not take, or would take for 0, is refused.
      {{"--entry", "3=abc"}, "Table entry 3: 'abc' is not a number\n"},
      {{"--entry", "3=1\n"},
       "Table entry 3: '1\\x0A' holds a control character, which cannot be typed\n"},
      {{"--byte", "0A=G"}, "Byte 0A: 'G' is not a hexadecimal number\n"},
      {{"--limit", ""}, "Limit: '' is not a number\n"},
      {{"--limit", "."}, "Limit: '.' is not a number\n"},
      {{"--entry", "3="}, "Table entry 3: '' is not a number\n"},
      {{"--byte", "0A="}, "Byte 0A: '' is not a hexadecimal number\n"},
      {{"--limit",
        "12\x7F"
        "3"},
       "The limit box takes only digits and \".\": '12\\x7F3'\n"},
      {{"--limit", std::string(65, '1')},
       "--limit: the text is 65 characters long, more than the 64 a typed text may have\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"project", "edit", file};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RunResult r = RunVyk(args, tmp);
    EXPECT_NE(r.status, 0) << c.err;
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(ReadAll(file), before) << c.err;
  }
}

// Every usage error exits 2, whatever finds it wrong; the help lists the exit statuses.
TEST(ProjectCli, UsageErrorsExit2) {
  TempFolder tmp;
  using Args = std::vector<std::string>;
  for (const Args& args :
       {Args{}, Args{"project", "bogus"}, Args{"project", "new", "x"}, Args{"match", "a", "b"},
        Args{"project", "new", "--group", "chevy", "x"}, Args{"project", "edit", "x", "--entry"}})
    EXPECT_EQ(RunVyk(args, tmp).status, 2) << (args.empty() ? "" : args.back());
  EXPECT_NE(RunVyk({"--help"}, tmp).out.find("Exit status:\n  0    done\n  1    failed"),
            std::string::npos);
}

// An edit that finds the file locked by another command says once that it waits, then goes on.
TEST(ProjectCli, AnEditThatWaitsForTheLockSaysSo) {
  TempFolder tmp;
  const std::string file = tmp / "w.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", file}, tmp).status, 0);
  const int held = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  FILE* edit = ::popen(
      (Quote(VYK_CLI_PATH) + " project edit " + Quote(file) + " --entry 0=1 2>&1").c_str(), "r");
  char line[512];
  ::alarm(60);  // without the notice the read below would wait as long as the edit does
  ASSERT_NE(std::fgets(line, sizeof line, edit), nullptr);
  ::alarm(0);
  EXPECT_EQ(line, "Waiting for another vyk command to finish with " + file + " ...\n");
  ::close(held);
  EXPECT_NE(std::fgets(line, sizeof line, edit), nullptr);
  EXPECT_EQ(line, file + " saved\n");
  EXPECT_EQ(::pclose(edit), 0);
}

// Edits run at once on one file take turns: none is lost.
TEST(ProjectCli, EditsAtOnceAreAllKept) {
  TempFolder tmp;
  const std::string file = tmp / "both.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", file}, tmp).status, 0);
  const std::string failed = tmp / "failed";
  std::string all;
  for (int k = 0; k < 8; ++k) {
    all += "{ " + Quote(VYK_CLI_PATH) + " project edit " + Quote(file) + " --entry " +
           std::to_string(k) + "=1000 2>/dev/null || touch " + Quote(failed) + "; } &\n";
  }
  ASSERT_EQ(std::system(("sh -c " + Quote(all + "wait\n")).c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(failed)) << "an edit failed";
  const json rows = ShowJson(file, tmp)["table"]["rows"];
  for (int k = 0; k < 8; ++k)
    EXPECT_EQ(rows[k]["count"], rows[0]["count"]) << "the edit of entry " << k << " was lost";
  EXPECT_NE(rows[8]["count"], rows[0]["count"]);
}

TEST(ProjectCli, ReadingErrorsUseTheProgramsMessages) {
  TempFolder tmp;
  std::string missing = tmp / "none.VYK";
  RunResult r = RunVyk({"project", "show", missing}, tmp);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err, missing + " not found\n");

  std::string shortFile = tmp / "short.VYK";
  std::ofstream(shortFile, std::ios::binary) << std::string(10, '\0');
  r = RunVyk({"project", "show", shortFile}, tmp);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.err, "Error (2) reading " + shortFile + "\n");
}

TEST(ProjectCli, AProjectWrittenByVykReadsBackByteForByte) {
  TempFolder tmp;
  std::string file = tmp / "r.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", "--name", "Tür ß €", file}, tmp).status, 0);
  ProjectReadResult read = ReadProjectFile(file, ProjectHeader());
  ASSERT_EQ(read.status, ProjectReadStatus::Ok);
  std::string bytes = ReadAll(file);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.header.Bytes().data()), 512),
            bytes.substr(0, 512));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.image.Bytes().data()), 256),
            bytes.substr(512));
  EXPECT_EQ(read.header.Name().Bytes(), "T\xFCr \xDF \x80");  // stored as Windows-1252
  EXPECT_EQ(ShowJson(file, tmp)["header"]["name"], "Tür ß €");
}

// Said on opening; a newer version's record kept, a damaged one only with the flag.
TEST(ProjectCli, ARecordThatDoesNotReadIsSaidAndKeptOnlyWhenAsked) {
  std::string newer = WriteProvenance(SampleProvenance(), ImageOf(SampleProvenance()));
  std::string damaged = newer;
  newer[4] = 2;
  damaged[200] ^= 0x40;
  const struct {
    std::string after, said;
    bool flag, kept;
  } cases[] = {{damaged, "damaged (its checksum is wrong)", false, false},
               {damaged, "damaged (its checksum is wrong)", true, true},
               {newer, "written by a newer version", false, true}};
  TempFolder tmp;
  const std::string file = tmp / "d.VYK";
  for (const auto& c : cases) {
    ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", "--force", file}, tmp).status, 0);
    std::ofstream(file, std::ios::binary | std::ios::app) << c.after;
    std::vector<std::string> args = {"project", "edit", file, "--entry", "3=1.0"};
    if (c.flag) args.push_back("--keep-damaged-record");
    RunResult r = RunVyk(args, tmp);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("--keep-damaged-record keeps it") == std::string::npos, c.kept) << r.err;
    EXPECT_EQ(ReadAll(file).substr(768), c.kept ? c.after : "");
  }
}

// Two samples say entry 11 of a new Ford project (422 counts, 2.061 V) wants 4 % more.
TEST(ProjectCli, CorrectFromALog) {
  TempFolder tmp;
  const std::string file = tmp / "f.VYK", log = tmp / "drive.csv";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", file}, tmp).status, 0);
  std::ofstream(log, std::ios::binary)
      << "\"MAF (V)\";STFT;LTFT\r\nV;%;%\r\n2,061;3;1\r\n2,06;3;1\r\n";
  std::vector<std::string> args = {"project", "correct",         file,      "--log",
                                   log,       "--signal-column", "MAF (V)", "--signal-unit",
                                   "volts",   "--trim-columns",  "STFT,3",  "--min-samples",
                                   "2"};
  const std::string before = ReadAll(file);
  args.insert(args.end(), {"--dry-run", "--json"});
  RunResult dry = RunVyk(args, tmp);
  ASSERT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(json::parse(dry.out)["entries"][11]["new"], 439);
  EXPECT_EQ(ReadAll(file), before);
  args.resize(args.size() - 2);
  ASSERT_EQ(RunVyk(args, tmp).status, 0);
  EXPECT_EQ(ShowJson(file, tmp)["table"]["rows"][11]["count"], 439);
  // Each refusal with what it says; none saves.
  const struct {
    std::vector<std::string> more;
    int status;
    std::string err;
  } refusals[] = {
      {{"--signal-column", "MAF Hz"}, 1, "The log has no column 'MAF Hz' (signal)\n"},
      {{"--coolant-column", "1", "--warm", "100"},
       1,
       "No sample of the log is usable: see what the gates removed\n"},
      {{"--clamp", "nan"}, 2, "--clamp: 'nan' is not a finite number\n"},
      {{"--trim-columns", "STFT,LTFT,STFT"},
       2,
       "--trim-columns takes at most two columns: the short and the long term trim\n"},
  };
  const std::string corrected = ReadAll(file);
  for (const auto& r : refusals) {
    std::vector<std::string> refusedArgs = args;
    const auto given = std::find(refusedArgs.begin(), refusedArgs.end(), r.more[0]);
    if (given != refusedArgs.end()) refusedArgs.erase(given, given + 2);
    refusedArgs.insert(refusedArgs.end(), r.more.begin(), r.more.end());
    const RunResult refused = RunVyk(refusedArgs, tmp);
    EXPECT_EQ(refused.status, r.status) << r.err;
    EXPECT_TRUE(refused.err.starts_with(r.err)) << refused.err;
    EXPECT_EQ(ReadAll(file), corrected) << r.err;
  }
}

}  // namespace
}  // namespace vyk::test
