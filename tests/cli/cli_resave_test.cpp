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

// Writing the project over itself would lose whatever the load could not
// keep (a first line that is not the version line, the fields of a file
// that ends early), so the project is never the output, under any name.
TEST(CliResaveTest, RefusesToWriteOverItsInput) {
  TempDir dir;
  std::string crlf = kGoodProject;
  for (size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2)) crlf.insert(at, "\r");
  WriteBytes(dir.file("p.tlwdlg"), crlf);
  dir.folder("sub");
  std::filesystem::create_symlink("p.tlwdlg", dir.path() / "link.tlwdlg");
  for (const char* output : {"p.tlwdlg", "p", "./sub/../p.tlwdlg", "link.tlwdlg"}) {
    CliRun run = RunCli(dir, {"resave", "p.tlwdlg", "-o", output});
    EXPECT_EQ(run.exitCode, 2) << output;
    EXPECT_NE(run.err.find(": error: not written: it is the project p.tlwdlg itself"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(dir.file("p.tlwdlg")), crlf) << output;
  }
  EXPECT_EQ(RunCli(dir, {"resave", "link.tlwdlg", "-o", "p.tlwdlg"}).exitCode, 2);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.tlwdlg"));
  EXPECT_EQ(RunCli(dir, {"resave", "p.tlwdlg", "-o", "copy.tlwdlg"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir.file("copy.tlwdlg")), kGoodProject);
}

}  // namespace
}  // namespace tellwright
