#include <gtest/gtest.h>

#include "cli/cli_process.h"

namespace tellwright {
namespace {

using namespace testing;

TEST(CliUsageTest, BinaryIsBuilt) { ASSERT_TRUE(std::filesystem::exists(CliBinary())) << CliBinary(); }

TEST(CliUsageTest, VersionNamesTheProductVersion) {
  TempDir dir;
  CliRun run = RunCli(dir, {"--version"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "tellwright-cli V1.2\n");
  EXPECT_EQ(run.err, "");
}

TEST(CliUsageTest, EverySubcommandHasHelp) {
  const std::vector<std::vector<std::string>> commands = {
      {},         {"check"}, {"export"}, {"export", "wme"}, {"export", "vexa"}, {"export", "text"}, {"export", "vo"},
      {"resave"}, {"play"},  {"stats"},  {"show"},          {"diff"},           {"merge"},          {"graph"}};
  for (std::vector<std::string> args : commands) {
    std::string usage = "Usage: tellwright-cli";
    for (const std::string& arg : args) usage += " " + arg;
    args.push_back("--help");
    TempDir dir;
    CliRun run = RunCli(dir, args);
    EXPECT_EQ(run.exitCode, 0) << usage;
    EXPECT_NE(run.out.find(usage + " [OPTIONS]"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
  }
}

struct UsageCase {
  std::vector<std::string> args;
  std::string message;  // expected after "tellwright-cli: error: "
};

TEST(CliUsageTest, UsageErrorsExitWithTwo) {
  const UsageCase cases[] = {
      {{}, "A subcommand is required"},
      {{"bogus"}, "unknown subcommand \"bogus\""},
      {{"export", "pdf", "p.tlwdlg"}, "unknown subcommand \"pdf\""},
      {{"check"}, "PROJECT is required"},
      {{"check", "-x.tlwdlg"}, "unknown option \"-x.tlwdlg\""},
      {{"check", "p.tlwdlg", "--frob"}, "The following argument was not expected: --frob"},
      {{"export", "wme", "p.tlwdlg"}, "--output is required"},
      {{"export", "vexa", "p.tlwdlg", "-o", "-"}, "--output: the Vexa export writes a file per branch, not one stream"},
      {{"resave", "p.tlwdlg", "-o"}, "--output: 1 required OUT missing"},
      {{"diff", "p.tlwdlg"}, "FILES: At least 2 required but received 1"},
      {{"merge", "b.tlwdlg", "o.tlwdlg", "t.tlwdlg"}, "--output is required"},
      {{"resave", "p.tlwdlg", "-o", ""}, "--output: the file name is empty"},
      {{"export", "text", "p.tlwdlg", "-o", "out/"}, "--output: \"out/\" is a folder; name a file"},
      {{"export", "vexa", "p.tlwdlg", "-o", "."}, "--output: \".\" is a folder; name a file"},
  };
  for (const UsageCase& c : cases) {
    TempDir dir;
    CliRun run = RunCli(dir, c.args);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("tellwright-cli: error: " + c.message, 0), 0u) << run.err;
    EXPECT_TRUE(FilesIn(dir).empty());
  }
}

}  // namespace
}  // namespace tellwright
