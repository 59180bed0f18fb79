#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"
#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

class CliToolsTest : public ::testing::Test {
 protected:
  // The good project with its engine project in this folder, which holds
  // voice/GUY1.OGG.
  void SetUp() override {
    std::string project = kGoodProject;
    project.replace(project.find("C:\\Games\\demo\\demo.wpr"), 22, dir_.folder("demo") + "/demo.wpr");
    WriteBytes(dir_.file("good.tlwdlg"), project);
    dir_.folder("demo/voice");
    WriteBytes(dir_.file("demo/voice/GUY1.OGG"), "ogg");
  }
  TempDir dir_;
};

TEST_F(CliToolsTest, VoiceOverScriptListsTheSpokenLines) {
  CliRun run = RunCli(dir_, {"export", "vo", "good.tlwdlg", "-o", "studio"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::string csv = ReadBytes(dir_.file("studio.csv"));
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  const std::vector<std::vector<std::string>> expected = {
      {"Branch", "Line", "Response", "Character", "Entity", "Key", "Text", "Sound file", "Words",
       "Sound file exists"},
      {"Start", "1", "", "Guy", "guy", "", "Hello", "", "1", ""},
      {"Start", "2", "1", "Guy", "guy", "", "Bye", "", "1", ""},
      {"Intro", "2", "", "Guy", "guy", "", "I am Guy.", "voice\\guy1.ogg", "3", "yes"},
  };
  EXPECT_EQ(CsvRows(csv.substr(3)), expected);

  CliRun toStandardOutput = RunCli(dir_, {"export", "vo", "good.tlwdlg", "-o", "-"});
  EXPECT_EQ(toStandardOutput.exitCode, 0);
  EXPECT_EQ(toStandardOutput.out, csv);
}

TEST_F(CliToolsTest, StatsAsTableOrJson) {
  CliRun text = RunCli(dir_, {"stats", "good.tlwdlg"});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out,
            "Character  Lines  Words  No sound\n"
            "Guy            3      5         1\n"
            "\n"
            "Branch  Lines  Responses  Words\n"
            "Start       2          2      5\n"
            "Intro       2          0      3\n"
            "Total       4          2      8\n"
            "\n"
            "2 branches, 3 spoken lines, 1 talkline without a sound file\n");

  // A name with a quote and a Windows-1252 letter, read back by Python.
  WriteBytes(dir_.file("named.tlwdlg"),
             "V1.2\n\n\"Al\" \xC9mile\nal\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nStart\n1\n"
             "Talkline\n\"Al\" \xC9mile\nHi there\n\n0\n##ENDBRANCH##\n");
  CliRun json = RunCli(dir_, {"stats", "named.tlwdlg", "--format", "json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  WriteBytes(dir_.file("stats.json"), json.out);
  std::string read =
      "python3 -c 'import json,sys; d=json.load(open(sys.argv[1], encoding=\"utf-8\")); "
      "c=d[\"characters\"][0]; print(c[\"name\"], c[\"linesSpoken\"], d[\"totals\"][\"words\"])' " +
      ShellQuoted(dir_.file("stats.json")) + " > " + ShellQuoted(dir_.file("read.txt"));
  ASSERT_EQ(std::system(read.c_str()), 0);
  EXPECT_EQ(ReadBytes(dir_.file("read.txt")), "\"Al\" \xC3\x89mile 1 2\n");

  CliRun missing = RunCli(dir_, {"stats", "missing.tlwdlg"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("missing.tlwdlg: error:"), std::string::npos);
}

}  // namespace
}  // namespace tellwright
