#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"

namespace tellwright {
namespace {

using namespace testing;

TEST(CliResaveTest, FilesTheEditorWroteComeBackByteForByte) {
  const std::string projects[] = {
      kGoodProject,
      kFaultyProject,
      "V1.2\n\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nDialog_Default\n0\n##ENDBRANCH##\n",
  };
  for (const std::string& project : projects) {
    TempDir dir;
    WriteBytes(dir.file("in.tlwdlg"), project);
    CliRun run = RunCli(dir, {"resave", "in.tlwdlg", "-o", "out.tlwdlg"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadBytes(dir.file("out.tlwdlg")), project);
  }
}

TEST(CliResaveTest, OverwritesItsInputInPlace) {
  TempDir dir;
  std::string crlf = kGoodProject;
  for (size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2)) crlf.insert(at, "\r");
  WriteBytes(dir.file("p.tlwdlg"), crlf);
  EXPECT_EQ(RunCli(dir, {"resave", "p.tlwdlg", "-o", "p.tlwdlg"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir.file("p.tlwdlg")), kGoodProject);
}

}  // namespace
}  // namespace tellwright
