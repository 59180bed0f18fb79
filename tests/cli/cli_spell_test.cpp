#include <gtest/gtest.h>

#include "cli/cli_process.h"

namespace tellwright {
namespace {

using namespace testing;

// Melee: a talkline with "Teh" once and "teh" twice (its text on file line
// 12), a codeline with a typo no player reads, and a loop whose response
// says "abuot" (line 28). Guybrush, his entity name and the branch's name
// are words of the project.
const std::string kSpellProject =
    "V1.2\n\nGuybrush\nguybrush_threepwood\n##ENDCHARLIST##\n0\n"
    "##DIALOGBRANCH##\nMelee\n3\n"
    "Talkline\nGuybrush\nTeh grog is Guybrush's~nbest, teh end, teh Threepwood.\n\n0\n"
    "Codeline\n\nGmae.Foo(\"wrnog\");\n\n0\n"
    "Responseblock\nGuybrush\n\n\n1\n"
    "##ENDBRANCH##\n"
    "##RESPONSEBLOCK##\n1\n"
    "Ask abuot Melee\nGame.Wrnog\n\n0\n0\n0\n"
    "##ENDRESPONSE##\n";

// The user's own dictionaries are looked for in the test's folder alone.
std::string Environment(const TempDir& folder) { return "XDG_DATA_HOME=" + folder.folder("data") + " DICPATH="; }

TEST(CliSpellTest, ListsTheUnknownWordsWithCountsAndPlaces) {
  TempDir folder;
  WriteBytes(folder.file("tale.tlwdlg"), kSpellProject);
  CliRun run = RunCli(folder, {"spell", "tale.tlwdlg", "--lang", "en_US"}, Environment(folder));
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out,
            "teh 2: Melee, line 1; Melee, line 1\n"
            "Teh 1: Melee, line 1\n"
            "abuot 1: Melee, line 3, response 1\n");

  run = RunCli(folder, {"spell", "tale.tlwdlg", "--lang", "en_US", "--format", "json"}, Environment(folder));
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.out.find("{\"word\":\"abuot\",\"count\":1,\"places\":[{\"place\":\"Melee, line 3, response 1\","
                         "\"branch\":\"Melee\",\"line\":3,\"response\":1,\"block\":1}]}"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"language\":\"en_US\""), std::string::npos);
}

TEST(CliSpellTest, TheProjectDictionaryBesideTheProjectIsKnown) {
  TempDir folder;
  WriteBytes(folder.file("tale.tlwdlg"), kSpellProject);
  WriteBytes(folder.file("tale.words.txt"), "teh\n");
  CliRun run = RunCli(folder, {"spell", "tale.tlwdlg", "--lang", "en_US"}, Environment(folder));
  EXPECT_EQ(run.out, "abuot 1: Melee, line 3, response 1\n");
  WriteBytes(folder.file("tale.words.txt"), "abuot\nteh\n");
  run = RunCli(folder, {"spell", "tale.tlwdlg", "--lang", "en_US"}, Environment(folder));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");

  WriteBytes(folder.file("tale.words.txt"), "abuot\n\xFF\n");
  run = RunCli(folder, {"spell", "tale.tlwdlg", "--lang", "en_US"}, Environment(folder));
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("tale.words.txt:2:"), std::string::npos) << run.err;
}

TEST(CliSpellTest, LintAddsASpellingNoteAtTheLineOfTheText) {
  TempDir folder;
  WriteBytes(folder.file("tale.tlwdlg"), kSpellProject);
  CliRun plain = RunCli(folder, {"lint", "tale.tlwdlg"}, Environment(folder));
  EXPECT_EQ(plain.out.find("[spelling]"), std::string::npos) << plain.out;

  CliRun run = RunCli(folder, {"lint", "tale.tlwdlg", "--spelling", "en_US"}, Environment(folder));
  EXPECT_EQ(run.exitCode, plain.exitCode) << "notes change no exit code";
  for (const char* line : {"tale.tlwdlg:12: note: Melee, line 1: 'Teh' is not in the dictionary. [spelling]\n",
                           "tale.tlwdlg:28: note: Melee, line 3, response 1: 'abuot' is not in the dictionary. "
                           "[spelling]\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("Gmae"), std::string::npos) << "a codeline holds no words of the game";
  EXPECT_EQ(run.out.find("Wrnog"), std::string::npos) << "a condition holds no words of the game";

  run = RunCli(folder, {"lint", "tale.tlwdlg", "--spelling", "en_US", "--format", "json"}, Environment(folder));
  EXPECT_NE(run.out.find("\"fileLine\":28,\"severity\":\"note\",\"rule\":\"spelling\""), std::string::npos) << run.out;
}

TEST(CliSpellTest, AMissingDictionaryNamesThePackageToInstall) {
  TempDir folder;
  WriteBytes(folder.file("tale.tlwdlg"), kSpellProject);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"spell", "tale.tlwdlg", "--lang", "xx_YY"},
                                                std::vector<std::string>{"lint", "tale.tlwdlg", "--spelling", "xx_YY"}}) {
    CliRun run = RunCli(folder, args, Environment(folder));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("apt-get install hunspell-xx-yy"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace tellwright
