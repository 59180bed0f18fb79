#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"

namespace tellwright {
namespace {

using namespace testing;

const std::string kExample = std::string(TELLWRIGHT_SOURCE_DIR) + "/examples/lighthouse.tlwdlg";

// Every subcommand that loads a project says where a file cut short ends,
// and goes on with what it holds.
TEST(CliFilesTest, FileThatEndsEarlyIsLoadedWithAWarning) {
  TempDir dir;
  std::string cut = kGoodProject.substr(0, kGoodProject.find("Talkline\nGuy\nI am Guy."));
  WriteBytes(dir.file("cut.tlwdlg"), cut);
  const std::string warning = "cut.tlwdlg:28: warning: the file ends early";
  const std::vector<std::string> commands[] = {
      {"check", "cut.tlwdlg"},
      {"stats", "cut.tlwdlg"},
      {"resave", "cut.tlwdlg", "-o", "out"},
      {"export", "wme", "cut.tlwdlg", "-o", "-"},
      {"export", "vexa", "cut.tlwdlg", "-o", "dlg"},
      {"export", "text", "cut.tlwdlg", "-o", "-"},
      {"export", "vo", "cut.tlwdlg", "-o", "-"},
      {"lint", "cut.tlwdlg"},
      {"show", "cut.tlwdlg"},
      {"graph", "cut.tlwdlg", "-o", "-"},
  };
  for (const std::vector<std::string>& args : commands) {
    CliRun run = RunCli(dir, args);
    // The lint finds the cut file's empty fields: errors, exit 1.
    EXPECT_EQ(run.exitCode, args[0] == "lint" ? 1 : 0) << args[0] << ": " << run.err;
    EXPECT_EQ(run.err.rfind(warning, 0), 0u) << args[0] << ": " << run.err;
  }
}

// Copies of the example damaged as a hand edit or a bad merge would: the
// data the counts do not announce is refused, not dropped on the next save.
TEST(CliFilesTest, DamagedCopiesOfTheExampleAreRefusedWithTheLine) {
  TempDir dir;
  std::string example = ReadBytes(kExample);
  std::string fewerBranches = example;
  fewerBranches.replace(fewerBranches.find("##ENDCHARLIST##\n3\n"), 18, "##ENDCHARLIST##\n1\n");
  std::string manyResponses = example;
  std::string responses;
  for (int r = 0; r < 150; ++r) responses += "Response " + std::to_string(r) + "\n\n\n0\n1\n0\n";
  size_t block = manyResponses.find("##RESPONSEBLOCK##\n");
  manyResponses.insert(manyResponses.find('\n', block + 18) + 1, responses);
  const std::pair<std::string, std::string> cases[] = {
      {fewerBranches, "more branches than announced on line 10 (last branch index 1)"},
      {manyResponses, "holds more than 100 responses"},
  };
  for (const auto& [bytes, message] : cases) {
    WriteBytes(dir.file("damaged.tlwdlg"), bytes);
    CliRun run = RunCli(dir, {"resave", "damaged.tlwdlg", "-o", "out"});
    EXPECT_EQ(run.exitCode, 2) << message;
    EXPECT_EQ(run.err.rfind("damaged.tlwdlg:", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.tlwdlg")));
  }
}

// Output that does not arrive (a full disk, a closed stream) fails the run
// with the reason, whichever subcommand wrote it.
TEST(CliFilesTest, OutputThatCannotBeWrittenIsAnError) {
  TempDir dir;
  WriteBytes(dir.file("good.tlwdlg"), kGoodProject);
  WriteBytes(dir.file("bad.tlwdlg"), kFaultyProject);
  const std::vector<std::string> commands[] = {
      {"stats", "good.tlwdlg"},
      {"stats", "good.tlwdlg", "--format", "json"},
      {"lint", "bad.tlwdlg"},
      {"lint", "bad.tlwdlg", "--format", "json"},
      {"play", "good.tlwdlg", "--choose", "1"},
      {"export", "wme", "good.tlwdlg", "-o", "-"},
      {"export", "text", "good.tlwdlg", "-o", "-"},
      {"resave", "good.tlwdlg", "-o", "-"},
      {"--help"},
  };
  const std::pair<const char*, const char*> streams[] = {{">/dev/full", "No space left on device"},
                                                         {">&-", "Bad file descriptor"}};
  for (const auto& [redirection, reason] : streams) {
    for (const std::vector<std::string>& args : commands) {
      CliRun run = RunCli(dir, args, "", "", redirection);
      EXPECT_EQ(run.exitCode, 2) << args[0] << redirection;
      EXPECT_EQ(run.err, std::string("<stdout>: error: cannot write to standard output: ") + reason + "\n")
          << args[0] << redirection;
    }
  }
  // Diagnostics that do not arrive fail the run too.
  EXPECT_EQ(RunCli(dir, {"check", "bad.tlwdlg"}, "", "", "2>/dev/full").exitCode, 2);
  EXPECT_EQ(RunCli(dir, {"check", "good.tlwdlg"}, "", "", ">/dev/full").exitCode, 0) << "nothing to write";
}

// An export over the project it comes from would destroy it.
TEST(CliFilesTest, ExportsNeverWriteOverTheirProject) {
  TempDir dir;
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"p.script", {"export", "wme", "p.script", "-o", "p"}},
      {"p.txt", {"export", "text", "p.txt", "-o", "./p.txt"}},
      {"p.csv", {"export", "vo", "p.csv", "-o", "p"}},
      {"p_Start.script", {"export", "vexa", "p_Start.script", "-o", "p"}},
  };
  for (const auto& [project, args] : cases) {
    WriteBytes(dir.file(project), kGoodProject);
    CliRun run = RunCli(dir, args);
    EXPECT_EQ(run.exitCode, 2) << project;
    EXPECT_NE(run.err.find(project + ": error: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("project"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(dir.file(project)), kGoodProject) << project;
  }
}

}  // namespace
}  // namespace tellwright
