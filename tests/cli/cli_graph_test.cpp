#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"
#include "document/project_file.h"
#include "tools/graph_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

class CliGraphTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteBytes(dir_.file("good.tlwdlg"), kGoodProject); }
  TempDir dir_;
};

TEST_F(CliGraphTest, DotGoesToStandardOutputOrAFileTheSameEveryTime) {
  CliRun first = RunCli(dir_, {"graph", "good.tlwdlg"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_EQ(first.err, "");
  EXPECT_EQ(first.out.rfind("digraph \"branch map\" {\n", 0), 0u);
  EXPECT_NE(first.out.find("  b0 -> b1 [id=\"e0\" label=\"Who are you?\""), std::string::npos) << first.out;

  EXPECT_EQ(RunCli(dir_, {"graph", "good.tlwdlg", "-o", "-"}).out, first.out);
  CliRun toFile = RunCli(dir_, {"graph", "good.tlwdlg", "--format", "dot", "-o", "map"});
  EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  EXPECT_EQ(ReadBytes(dir_.file("map.dot")), first.out);
}

TEST_F(CliGraphTest, SvgIsTheLaidOutMap) {
  CliRun run = RunCli(dir_, {"graph", "good.tlwdlg", "--format", "svg", "-o", "map.svg"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::string svg = ReadBytes(dir_.file("map.svg"));
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  for (std::string text : {">Start</text>", ">Intro</text>", ">Who are you?</text>", "<g id=\"e0\" class=\"edge\">"})
    EXPECT_NE(svg.find(text), std::string::npos) << text;
  EXPECT_EQ(RunCli(dir_, {"graph", "good.tlwdlg", "--format", "svg"}).out, svg);
}

// Other tools read the DOT: Graphviz's dot program draws it.
TEST_F(CliGraphTest, GraphvizsDotReadsTheOutput) {
  if (std::system("command -v dot >/dev/null 2>&1") != 0) GTEST_SKIP() << "Graphviz's dot program is not installed";
  DialogueDocument d = MapDocument();
  d.editBranch(2).name = "Caf\xE9 \"Lonely\" \\";
  WriteBytes(dir_.file("map.tlwdlg"), WriteProject(d));
  ASSERT_EQ(RunCli(dir_, {"graph", "map.tlwdlg", "-o", "map.dot", "--block-order"}).exitCode, 0);
  std::string command = "dot -Tsvg " + ShellQuoted(dir_.file("map.dot")) + " -o " + ShellQuoted(dir_.file("map.svg")) +
                        " 2>" + ShellQuoted(dir_.file("dot.err"));
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(dir_.file("dot.err"));
  EXPECT_EQ(ReadBytes(dir_.file("dot.err")), "");
  EXPECT_NE(ReadBytes(dir_.file("map.svg")).find(">Caf\xC3\xA9 &quot;Lonely&quot; \\</text>"), std::string::npos);
}

TEST_F(CliGraphTest, FaultsAreReportedAndNothingIsWritten) {
  WriteBytes(dir_.file("damaged.tlwdlg"), kDamagedProject);
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string err;  // how standard error starts
  };
  const Case cases[] = {
      {{"graph", "missing.tlwdlg", "-o", "map"}, 2, "missing.tlwdlg: error: "},
      {{"graph", "damaged.tlwdlg", "-o", "map"}, 2, "damaged.tlwdlg:7: error: "},
      {{"graph", "good.tlwdlg", "--format", "png", "-o", "map"},
       2,
       "tellwright-cli: error: --format: png not in {dot,svg}"},
      {{"graph", "-o", "map"}, 2, "tellwright-cli: error: PROJECT is required"},
  };
  for (const Case& c : cases) {
    CliRun run = RunCli(dir_, c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.err;
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(FilesIn(dir_), (std::vector<std::string>{"damaged.tlwdlg", "good.tlwdlg"}));
}

}  // namespace
}  // namespace tellwright
