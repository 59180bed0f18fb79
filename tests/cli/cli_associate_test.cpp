#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_process.h"

namespace tellwright::testing {
namespace {

// Runs `tellwright-cli associate` with the user's folders inside `home`, so
// the real user's desktop and settings are never touched.
CliRun RunAssociate(const TempDir& home, std::vector<std::string> args) {
  std::string environment = "-u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION HOME=" + ShellQuoted(home.path().string()) +
                            " XDG_DATA_HOME=" + ShellQuoted(home.file("data")) +
                            " XDG_CONFIG_HOME=" + ShellQuoted(home.file("config")) +
                            " TELLWRIGHT_REGISTRY_DIR=" + ShellQuoted(home.file("store"));
  args.insert(args.begin(), "associate");
  return RunCli(home, args, environment);
}

TEST(CliAssociateTest, RegistersTheEditorBesideTheToolForThisUserOnly) {
  TempDir home;
  CliRun run = RunAssociate(home, {});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  std::string editor = (std::filesystem::path(TELLWRIGHT_BINARY_DIR) / "tellwright").string();
  EXPECT_NE(run.out.find("associated .tlwdlg files with " + editor), std::string::npos) << run.out;
  std::string entry = ReadBytes(home.file("data/applications/tellwright.desktop"));
  EXPECT_NE(entry.find(editor), std::string::npos) << entry;
  EXPECT_NE(entry.find("%f"), std::string::npos) << entry;
  EXPECT_TRUE(std::filesystem::exists(home.file("data/mime/packages/tellwright.xml")));
  // The file type keys land in the settings store named by the environment.
  EXPECT_NE(ReadBytes(home.file("store/registry")).find("FileType_tlwdlg"), std::string::npos);
}

TEST(CliAssociateTest, OptionsChooseTheProgramAndLeaveStepsOut) {
  TempDir home;
  CliRun run = RunAssociate(home, {"--program", "/opt/tw/tellwright", "--no-registry"});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_NE(ReadBytes(home.file("data/applications/tellwright.desktop")).find("/opt/tw/tellwright"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(home.file("store/registry")));

  TempDir other;
  run = RunAssociate(other, {"--no-desktop"});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_FALSE(std::filesystem::exists(other.file("data/applications/tellwright.desktop")));
  EXPECT_TRUE(std::filesystem::exists(other.file("store/registry")));
}

// Leaving every part out does nothing, which is not success.
TEST(CliAssociateTest, LeavingEveryPartOutIsAUsageError) {
  TempDir home;
  CliRun run = RunAssociate(home, {"--no-registry", "--no-desktop"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("tellwright-cli: error: nothing to associate", 0), 0u) << run.err;
  EXPECT_FALSE(std::filesystem::exists(home.file("data")));
  EXPECT_FALSE(std::filesystem::exists(home.file("store/registry")));
}

TEST(CliAssociateTest, AStepThatFailsIsReportedWithExitCodeTwo) {
  TempDir home;
  // The data folder is a file, so nothing can be installed below it.
  WriteBytes(home.file("data"), "not a folder");
  CliRun run = RunAssociate(home, {"--no-registry"});
  EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
  EXPECT_NE(run.err.find("tellwright-cli: error:"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tellwright::testing
