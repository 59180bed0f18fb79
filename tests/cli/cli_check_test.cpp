#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"

namespace tellwright {
namespace {

using namespace testing;

TEST(CliCheckTest, CleanProjectPassesSilently) {
  TempDir dir;
  WriteBytes(dir.file("good.tlwdlg"), kGoodProject);
  CliRun run = RunCli(dir, {"check", "good.tlwdlg"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(CliCheckTest, FaultIsPrintedExactlyAndExitsWithOne) {
  TempDir dir;
  WriteBytes(dir.file("bad.tlwdlg"), kFaultyProject);
  CliRun run = RunCli(dir, {"check", "bad.tlwdlg"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "bad.tlwdlg: error: " + kFaultyMessage + "\n");
}

TEST(CliCheckTest, UnreadableInputExitsWithTwo) {
  TempDir dir;
  WriteBytes(dir.file("damaged.tlwdlg"), kDamagedProject);
  WriteBytes(dir.file("empty.tlwdlg"), "");
  std::filesystem::create_directory(dir.path() / "folder.tlwdlg");
  const std::pair<const char*, const char*> cases[] = {
      {"damaged.tlwdlg", "damaged.tlwdlg:7: error: "},
      {"empty.tlwdlg", "empty.tlwdlg: error: "},
      {"missing.tlwdlg", "missing.tlwdlg: error: "},
      {"folder.tlwdlg", "folder.tlwdlg: error: "},
  };
  for (const auto& [file, prefix] : cases) {
    CliRun run = RunCli(dir, {"check", file});
    EXPECT_EQ(run.exitCode, 2) << file;
    EXPECT_EQ(run.err.rfind(prefix, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
  }
}

// Projects hold Windows-1252 text; a terminal shows UTF-8.
TEST(CliCheckTest, TextsArePrintedInUtf8) {
  TempDir dir;
  std::string project = kFaultyProject;
  project.replace(project.find("Bad-name"), 8, "Caf\xE9-bar");
  WriteBytes(dir.file("caf\xC3\xA9.tlwdlg"), project);
  CliRun run = RunCli(dir, {"check", "caf\xC3\xA9.tlwdlg"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("caf\xC3\xA9.tlwdlg: error: The dialogue branch name 'Caf\xC3\xA9-bar' contains", 0), 0u)
      << run.err;
}

TEST(CliCheckTest, SeveralProjectsGiveTheWorstOutcome) {
  TempDir dir;
  WriteBytes(dir.file("good.tlwdlg"), kGoodProject);
  WriteBytes(dir.file("bad.tlwdlg"), kFaultyProject);
  EXPECT_EQ(RunCli(dir, {"check", "good.tlwdlg", "bad.tlwdlg"}).exitCode, 1);
  CliRun run = RunCli(dir, {"check", "missing.tlwdlg", "bad.tlwdlg", "good.tlwdlg"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("bad.tlwdlg: error: " + kFaultyMessage), std::string::npos) << "later files still checked";
}

}  // namespace
}  // namespace tellwright
