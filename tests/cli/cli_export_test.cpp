#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"
#include "document/project_file.h"
#include "export/text_export.h"
#include "export/vexa_export.h"
#include "export/wme_export.h"

namespace tellwright {
namespace {

using namespace testing;

DialogueDocument Loaded(const std::string& path) {
  DialogueDocument document;
  EXPECT_TRUE(LoadProject(path, document).ok) << path;
  return document;
}

class CliExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir_.file("good.tlwdlg"), kGoodProject);
    WriteBytes(dir_.file("bad.tlwdlg"), kFaultyProject);
    WriteBytes(dir_.file("damaged.tlwdlg"), kDamagedProject);
  }
  std::vector<std::string> newFiles() {
    std::vector<std::string> files;
    for (const std::string& name : FilesIn(dir_))
      if (name != "good.tlwdlg" && name != "bad.tlwdlg" && name != "damaged.tlwdlg") files.push_back(name);
    return files;
  }
  TempDir dir_;
};

TEST_F(CliExportTest, WmeScriptIsWrittenWithItsExtension) {
  CliRun run = RunCli(dir_, {"export", "wme", "good.tlwdlg", "-o", "dialogue"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_EQ(newFiles(), std::vector<std::string>{"dialogue.script"});
  std::string bytes = ReadBytes(dir_.file("dialogue.script"));
  EXPECT_EQ(bytes, ExportWmeScriptBytes(Loaded(dir_.file("good.tlwdlg"))));
  EXPECT_EQ(bytes.rfind("function Start()\r\n{\r\n\r\n   \r\n   guy.Talk(\"Hello\");\r\n", 0), 0u);
}

TEST_F(CliExportTest, ExtensionIsAppendedOnlyWhenTheLowerCasedNameLacksIt) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"export", "wme", "good.tlwdlg", "-o", "A.SCRIPT"}, "A.SCRIPT"},
      {{"export", "wme", "good.tlwdlg", "-o", "b.script.bak"}, "b.script.bak.script"},
      {{"export", "text", "good.tlwdlg", "-o", "c"}, "c.txt"},
      {{"export", "text", "good.tlwdlg", "--output", "d.Txt"}, "d.Txt"},
      {{"resave", "good.tlwdlg", "-o", "e"}, "e.tlwdlg"},
      {{"resave", "good.tlwdlg", "-o", "f.TLWDLG"}, "f.TLWDLG"},
  };
  for (const auto& [args, file] : cases) {
    EXPECT_EQ(RunCli(dir_, args).exitCode, 0) << file;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir_.file(file))) << file;
  }
}

TEST_F(CliExportTest, DashWritesTheExactBytesToStandardOutput) {
  DialogueDocument document = Loaded(dir_.file("good.tlwdlg"));
  CliRun wme = RunCli(dir_, {"export", "wme", "good.tlwdlg", "-o", "-"});
  EXPECT_EQ(wme.exitCode, 0);
  EXPECT_EQ(wme.out, ExportWmeScriptBytes(document));
  CliRun text = RunCli(dir_, {"export", "text", "good.tlwdlg", "-o", "-"});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_EQ(text.out, ExportTextBytes(document));
  CliRun resave = RunCli(dir_, {"resave", "good.tlwdlg", "-o", "-"});
  EXPECT_EQ(resave.exitCode, 0);
  EXPECT_EQ(resave.out, kGoodProject);
  EXPECT_TRUE(newFiles().empty());
}

TEST_F(CliExportTest, FaultRefusesScriptExportsUnlessForced) {
  for (const char* format : {"wme", "vexa"}) {
    CliRun refused = RunCli(dir_, {"export", format, "bad.tlwdlg", "-o", "out"});
    EXPECT_EQ(refused.exitCode, 1) << format;
    EXPECT_EQ(refused.err.rfind("bad.tlwdlg: error: " + kFaultyMessage + "\n", 0), 0u) << refused.err;
    EXPECT_TRUE(newFiles().empty()) << format;
  }
  CliRun forced = RunCli(dir_, {"export", "wme", "bad.tlwdlg", "-o", "out", "--force"});
  EXPECT_EQ(forced.exitCode, 0);
  EXPECT_EQ(forced.err, "bad.tlwdlg: warning: " + kFaultyMessage + "\n");
  EXPECT_EQ(ReadBytes(dir_.file("out.script")), ExportWmeScriptBytes(Loaded(dir_.file("bad.tlwdlg"))));
  EXPECT_EQ(RunCli(dir_, {"export", "vexa", "--force", "bad.tlwdlg", "-o", "out"}).exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(dir_.file("out_Bad-name.script")));
}

TEST_F(CliExportTest, TextExportRunsNoCheck) {
  CliRun run = RunCli(dir_, {"export", "text", "bad.tlwdlg", "-o", "listing"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadBytes(dir_.file("listing.txt")), "Fine\r\n----\r\n\r\n\r\n\r\nBad-name\r\n--------\r\n\r\n\r\n\r\n");
}

TEST_F(CliExportTest, VexaWritesAFilePerBranchUnderTheBasePathAsGiven) {
  CliRun run = RunCli(dir_, {"export", "vexa", "good.tlwdlg", "-o", "talk.script"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ((std::vector<std::string>{"talk.script_Intro.script", "talk.script_Start.script"}), newFiles());
  for (const VexaFile& file : ExportVexaScriptFiles(Loaded(dir_.file("good.tlwdlg")), dir_.file("talk.script")))
    EXPECT_EQ(ReadBytes(file.path), file.bytes);
}

TEST_F(CliExportTest, VexaReportsBranchesNotWrittenAndWritesTheOthers) {
  std::string project = kGoodProject;
  project.replace(project.find("\nIntro\n2\n"), 9, "\nsub/Intro\n2\n");
  WriteBytes(dir_.file("slash.tlwdlg"), project);
  std::filesystem::create_directory(dir_.path() / "dlg_sub");
  CliRun run = RunCli(dir_, {"export", "vexa", "--force", "slash.tlwdlg", "-o", "dlg"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err.substr(run.err.find('\n') + 1),
            "dlg_sub/Intro.script: error: branch \"sub/Intro\" not written: its name would put the file outside the "
            "chosen folder\n");
  EXPECT_TRUE(std::filesystem::exists(dir_.file("dlg_Start.script")));
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path() / "dlg_sub"));
}

TEST_F(CliExportTest, DamagedInputOrUnwritableOutputExitsWithTwoAndTouchesNothing) {
  WriteBytes(dir_.file("old.script"), "old");
  const std::vector<std::string> cases[] = {
      {"export", "wme", "damaged.tlwdlg", "-o", "old.script"}, {"export", "text", "damaged.tlwdlg", "-o", "old.script"},
      {"export", "vexa", "damaged.tlwdlg", "-o", "old"},       {"export", "wme", "missing.tlwdlg", "-o", "old.script"},
      {"resave", "damaged.tlwdlg", "-o", "old.script"},
  };
  for (const std::vector<std::string>& args : cases) {
    CliRun run = RunCli(dir_, args);
    EXPECT_EQ(run.exitCode, 2) << args[2];
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(": error: "), std::string::npos);
    EXPECT_EQ(newFiles(), std::vector<std::string>{"old.script"});
    EXPECT_EQ(ReadBytes(dir_.file("old.script")), "old");
  }
  CliRun unwritable = RunCli(dir_, {"export", "wme", "good.tlwdlg", "-o", "no/such/folder/x.script"});
  EXPECT_EQ(unwritable.exitCode, 2);
  EXPECT_EQ(unwritable.err.rfind("no/such/folder/x.script: error: ", 0), 0u) << unwritable.err;
}

}  // namespace
}  // namespace tellwright
