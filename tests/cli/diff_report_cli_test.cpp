// `vyk project diff`, `vyk box diff` and `vyk report`.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "cli/cli_test_util.h"

namespace vyk::test {
namespace {

using nlohmann::json;
using Args = std::vector<std::string>;

// The diff commands end as diff(1) does: 0 equal, 1 different, 2 on any error.
TEST(DiffCli, ExitStatusAndJsonSayWhatDiffers) {
  TempFolder tmp;
  const std::string a = tmp / "a.VYK", b = tmp / "b.VYK", gm = tmp / "gm.VYK";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", a}, tmp).status, 0);
  ASSERT_EQ(RunVyk({"project", "new", "--group", "ford", b}, tmp).status, 0);
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", gm}, tmp).status, 0);
  ASSERT_EQ(RunVyk({"project", "edit", b, "--entry", "3=2.5", "--pot", "1=up"}, tmp).status, 0);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> labels;  // of the JSON's differences; none for an error
  } cases[] = {
      {{"project", "diff", a, a}, 0, {}},
      {{"project", "diff", a, b}, 1, {"Entry 3", "Pot 1"}},
      {{"project", "diff", a, gm}, 1, {"Group", "Table units"}},
      {{"project", "diff", a, tmp / "missing.VYK"}, 2, {}},
      {{"project", "diff", a}, 2, {}},
      {{"project", "diff", a, b, "--bogus"}, 2, {}},
      {{"box", "diff", "--config", tmp / "none", a}, 2, {}},  // no port anywhere
      {{"box", "diff", "--port", "Simulator", a}, 1, {"Entry 0"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("--json");
    RunResult r = RunVyk(args, tmp);
    SCOPED_TRACE(args[0] + " " + args[1] + " " + args.back() + ": " + r.err);
    EXPECT_EQ(r.status, c.status);
    if (c.status == 2) {
      EXPECT_EQ(r.out, "");
      EXPECT_NE(r.err, "");
      continue;
    }
    const json j = json::parse(r.out);
    EXPECT_EQ(j["equal"], c.status == 0);
    std::vector<std::string> labels;
    for (const json& d : j["differences"])
      labels.push_back(d["label"]);
    if (labels.size() > c.labels.size()) labels.resize(c.labels.size());
    EXPECT_EQ(labels, c.labels);
  }

  // The text form: nothing when equal, as diff(1); else one line a difference.
  EXPECT_EQ(RunVyk({"project", "diff", a, a}, tmp).out, "");
  const RunResult text = RunVyk({"project", "diff", a, b}, tmp);
  EXPECT_NE(text.out.find("Entry 3  0.562 V (115)"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("2.500 V (512)"), std::string::npos) << text.out;
  const json entry = json::parse(RunVyk({"project", "diff", a, b, "--json"}, tmp).out);
  EXPECT_EQ(entry["differences"][0],
            json({{"label", "Entry 3"}, {"a", "0.562 V (115)"}, {"b", "2.500 V (512)"}}));
  const json box =
      json::parse(RunVyk({"box", "diff", "--port", "Simulator", a, "--json"}, tmp).out);
  EXPECT_EQ(box["a"], a);
  EXPECT_EQ(box["b"], "the Box on Simulator");
}

// The report is one A4 page that holds the project's texts.
TEST(ReportCli, WritesOnePageWithTheProjectsTexts) {
  TempFolder tmp;
  const std::string project = tmp / "car.VYK", pdf = tmp / "car.pdf";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", "--name", "Blue Van", "--description",
                    "Cold start fix", project},
                   tmp)
                .status,
            0);
  ASSERT_EQ(RunVyk({"project", "edit", project, "--entry", "3=1234", "--pot", "2=up"}, tmp).status,
            0);
  RunResult r = RunVyk({"report", project, pdf}, tmp);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find(pdf + " saved\n"), std::string::npos) << r.err;
  const std::string bytes = ReadAll(pdf);
  ASSERT_EQ(bytes.rfind("%PDF-", 0), 0u);
  const std::regex page(R"(/Type\s*/Page[^s])");
  EXPECT_EQ(
      std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page), std::sregex_iterator()),
      1);
  EXPECT_NE(bytes.find("/MediaBox [0 0 595"), std::string::npos) << "not A4";

  // A second report of the same name is refused unless forced, as `project new` does.
  EXPECT_NE(RunVyk({"report", project, pdf}, tmp).status, 0);
  EXPECT_EQ(RunVyk({"report", "--force", project, pdf}, tmp).status, 0);

  ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0)
      << "pdftotext (poppler-utils) reads the page's texts: tools/install-deps.sh installs it";
  const std::string text = tmp / "car.txt";
  ASSERT_EQ(std::system(("pdftotext -layout " + Quote(pdf) + " " + Quote(text)).c_str()), 0);
  const std::string page1 = ReadAll(text);
  for (const char* expected :
       {"Blue Van", "Cold start fix", "GM", "English", "(none)",
        "0A: frequency input, frequency "
        "output",
        "Pot 1: 0", "Pot 2: 1", "13500 Hz", "F in", "F Out", "1240", "Vyk Edit (6v)"})
    EXPECT_NE(page1.find(expected), std::string::npos) << expected << " in\n" << page1;
  EXPECT_EQ(page1.find("Box "), std::string::npos) << "no Box was connected";
  std::smatch date;
  EXPECT_TRUE(std::regex_search(page1, date, std::regex(R"(Date\s+20\d\d-\d\d-\d\d)")));
}

// No command writes its output over one of its inputs, by any path or link, --force or not.
TEST(OutputCli, NoOutputReplacesAnInput) {
  TempFolder tmp;
  const std::string p = tmp / "P.VYK", text = tmp / "m.txt";
  ASSERT_EQ(RunVyk({"project", "new", "--group", "gm", p}, tmp).status, 0);
  std::ofstream(text) << "M\n";
  std::filesystem::create_hard_link(p, tmp / "hard");
  std::filesystem::create_symlink(p, tmp / "soft");
  const std::string before = ReadAll(p) + ReadAll(text);
  for (const Args& args :
       {Args{"report", "--force", p, p}, Args{"report", p, tmp / "./P.VYK"},
        Args{"report", "--force", p, tmp / "hard"}, Args{"report", "--force", tmp / "soft", p},
        Args{"meter", "import", "--force", text, text}, Args{"match", text, p, "--apply", p}}) {
    const RunResult r = RunVyk(args, tmp);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_NE(r.err.find(", which this command reads: name another file for its output\n"),
              std::string::npos);
    EXPECT_EQ(ReadAll(p) + ReadAll(text), before);
  }
}

}  // namespace
}  // namespace vyk::test
