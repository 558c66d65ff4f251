// What `vyk` reads besides projects and meters: files named on its command line and the records
// of its data folder. Nothing that is no usable file is read into anything, and no name, however
// odd its bytes, breaks an output.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/cli_test_util.h"

namespace vyk::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every command that reads such a file, given each kind of file that holds no usable row: it
// is refused unread (or its lines skipped with a count), and the project stays as it was.
TEST(ReadFilesCli, WhatHoldsNoUsableRowIsRefusedAndChangesNothing) {
  TempFolder tmp;
  const std::string project = tmp / "p.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", project}, tmp).status, 0);
  const std::string before = ReadAll(project);
  fs::create_directory(tmp / "folder");
  ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0600), 0);
  WriteFile(tmp / "nul", std::string(4096, '\0'));
  WriteFile(tmp / "empty", "");
  WriteFile(tmp / "big", std::string(2 << 20, '1'));
  const std::vector<std::string> kinds = {tmp / "folder", tmp / "fifo",  "/dev/zero",
                                          tmp / "nul",    tmp / "empty", tmp / "big"};
  const std::string csv =
      "@ holds no line of entry,output that sets an output. Nothing was changed.";
  const std::string text = "@ is no meter text file: no line of it holds a part number, " +
                           std::string("description or point");
  auto image = [](const std::string& n) {
    return "The EEPROM file @ holds " + n +
           " bytes: expected a project file (768 bytes) or an EEPROM image (256 bytes)";
  };
  const std::string skipped = "1 line of @ could not be read and was skipped";
  auto tooLarge = [](const std::string& what) {
    return "@ is too large for a " + what + " file (more than 1048576 bytes)";
  };
  struct Command {
    std::string record;  // a data folder's record the file stands in for; else it is named
    std::vector<std::string> args;
    std::array<std::string, 3> errors;  // for the NUL, the empty and the large file ("" none)
  } commands[] = {
      {"", {"project", "edit", project, "--table-csv"}, {csv, csv, tooLarge("table CSV")}},
      {"", {"meter", "import", tmp / "out.maf"}, {text, text, tooLarge("meter text")}},
      {"", {"boxsim", "--eeprom"}, {image("more than 768"), image("0"), image("more than 768")}},
      {"history.tsv", {"box", "history", "--data", tmp / "data"}, {skipped, "", skipped}},
      {"backups/index.tsv", {"box", "backups", "--data", tmp / "data"}, {skipped, "", skipped}},
  };
  for (const Command& c : commands) {
    for (size_t k = 0; k < kinds.size(); ++k) {
      SCOPED_TRACE(c.args[1] + " " + kinds[k]);
      std::vector<std::string> args = c.args;
      std::string named = kinds[k];
      if (!c.record.empty()) {
        named = tmp / ("data/" + c.record);
        fs::create_directories(fs::path(named).parent_path());
        fs::remove(named);
        fs::create_symlink(kinds[k], named);
      } else {
        args.insert(args.begin() + (c.args[0] == "meter" ? 2 : args.size()), named);
      }
      const char* kind[] = {"a folder", "a pipe", "a device"};
      std::string err = k < 3 ? "@ is " + std::string(kind[k]) + ", not a file" : c.errors[k - 3];
      for (size_t at; (at = err.find('@')) != std::string::npos;)
        err.replace(at, 1, named);
      RunResult r = RunVyk(args, tmp);
      EXPECT_EQ(r.err, err.empty() ? "" : err + "\n");
      EXPECT_EQ(r.status != 0, c.record.empty() || k < 3) << r.status;
      EXPECT_EQ(ReadAll(project), before);
      EXPECT_FALSE(fs::exists(tmp / "out.maf"));
    }
  }
}

// Names are bytes: one that is not UTF-8 or holds control characters, and junk in a record
// file, reach neither a JSON output as a failure nor a terminal raw.
TEST(ReadFilesCli, NoNameBreaksAnOutput) {
  TempFolder tmp;
  const std::string cafe = tmp / "caf\xE9.VYK";
  const std::string shown = tmp / "caf\xEF\xBF\xBD.VYK";  // U+FFFD for the byte E9
  const std::string odd = tmp / "a\x1B]0;x\a.VYK";
  for (const std::string& file : {cafe, odd})
    ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", file}, tmp).status, 0);
  const std::string data = tmp / "data";
  fs::create_directories(data + "/backups");
  fs::copy_file(cafe, data + "/backups/2026-12-08_08-30-05_G1.0.VYK");
  WriteFile(data + "/backups/index.tsv", "2026-12-08_08-30-05_G1.0.VYK\t" + cafe + "\n\xFFjunk\n");
  const std::string line = "\tupdate\t/dev/ttyS0\tG\t1.0\t" + cafe + "\t03C95E1E\tfailed\t\t";
  WriteFile(data + "/history.tsv", "# time\n2026-12-08T08:00:00+0100" + line +
                                       "Verify \x1B[2J\t\n" +
                                       "\xFF\xFE junk\n2026-12-08T09:00:00+0100\tupdate\n" +
                                       "2026-12-08T10:00:00+0100" + line + "\t\n");
  const std::vector<std::string> history = {"box", "history", "--data", data};
  struct Case {
    std::vector<std::string> args;
    std::string pointer;  // of the JSON output; none: `expected` is in the text output
    json expected;
  } cases[] = {
      {{"project", "show", cafe, "--json"}, "/file", shown},
      {{"project", "diff", cafe, odd, "--json"}, "/a", shown},
      {{"box", "backups", "--data", data, "--json"}, "/backups/0/project", shown},
      {{"box", "backups", "--data", data, "--json"}, "/skippedLines", 1},
      {{"box", "history", "--data", data, "--json"}, "/entries/1/project", shown},
      {{"box", "history", "--data", data, "--json"}, "/skippedLines", 2},
      {{"box", "history", "--data", data, "--json", "--last", "1"}, "/entries/1", nullptr},
      {{"project", "show", odd}, "", "File:            " + tmp / "a\\x1B]0;x\\x07.VYK\n"},
      {history, "", "failed: Verify \\x1B[2J\n"},
      {history, "", "2 lines of " + data + "/history.tsv could not be read and were skipped\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1] + " " + c.pointer + " " + c.expected.dump());
    RunResult r = RunVyk(c.args, tmp);
    EXPECT_LE(r.status, 1) << r.err;  // a diff's 1 says "different"
    if (c.pointer.empty()) {
      EXPECT_NE((r.out + r.err).find(c.expected.get<std::string>()), std::string::npos)
          << r.out << r.err;
    } else {
      const json j = json::parse(r.out, nullptr, false);
      ASSERT_FALSE(j.is_discarded()) << r.out;
      EXPECT_EQ(j.value(json::json_pointer(c.pointer), json()), c.expected);
    }
  }
}

}  // namespace
}  // namespace vyk::test
