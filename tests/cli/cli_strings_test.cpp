#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"

namespace tellwright {
namespace {

using namespace testing;

// The good project with keys: Hello GOOD0001, Bye GOOD0002, Who are you?
// GOOD0003, I am Guy. GOOD0004.
const std::string kBaseTable =
    "\xEF\xBB\xBF; Start\r\nGOOD0001\tHello\r\nGOOD0002\tBye\r\nGOOD0003\tWho are you?\r\n; Intro\r\n"
    "GOOD0004\tI am Guy.\r\n";

class CliStringsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir_.file("good.tlwdlg"), kGoodProject);
    CliRun assign = RunCli(dir_, {"strings", "assign", "good.tlwdlg", "-o", "keyed"});
    ASSERT_EQ(assign.exitCode, 0) << assign.err;
    EXPECT_EQ(assign.out, "Gave 4 texts keys: GOOD0001 to GOOD0004.\n");
  }
  TempDir dir_;
};

TEST_F(CliStringsTest, AssignKeysTheTextsAndNothingElse) {
  std::string keyed = ReadBytes(dir_.file("keyed.tlwdlg"));
  std::string expected = kGoodProject;
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"\nHello\n", "\n/GOOD0001/Hello\n"},
           {"\nBye\n", "\n/GOOD0002/Bye\n"},
           {"\nWho are you?\n", "\n/GOOD0003/Who are you?\n"},
           {"\nI am Guy.\n", "\n/GOOD0004/I am Guy.\n"}})
    expected.replace(expected.find(from), from.size(), to);
  EXPECT_EQ(keyed, expected);

  // Again: nothing left to key; a new line gets the next number; the prefix
  // is checked before anything is written.
  CliRun again = RunCli(dir_, {"strings", "assign", "keyed.tlwdlg", "--prefix", "ACT_2", "-o", "-"});
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(again.out, keyed);
  EXPECT_EQ(again.err, "Every text already has a key.\n");
  CliRun refused = RunCli(dir_, {"strings", "assign", "good.tlwdlg", "--prefix", "act 2", "-o", "bad"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("upper-case letters A-Z, digits and '_'"), std::string::npos) << refused.err;
  EXPECT_EQ(FilesIn(dir_), (std::vector<std::string>{"good.tlwdlg", "keyed.tlwdlg"}));
}

TEST_F(CliStringsTest, ExportWritesTheBaseTableOrAPoTemplate) {
  CliRun utf8 = RunCli(dir_, {"strings", "export", "keyed.tlwdlg", "-o", "string"});
  EXPECT_EQ(utf8.exitCode, 0) << utf8.err;
  EXPECT_EQ(utf8.err, "");
  EXPECT_EQ(ReadBytes(dir_.file("string.tab")), kBaseTable);

  CliRun cp1252 = RunCli(dir_, {"strings", "export", "keyed.tlwdlg", "-o", "-", "--encoding", "windows-1252"});
  EXPECT_EQ(cp1252.exitCode, 0) << cp1252.err;
  EXPECT_EQ(cp1252.out, kBaseTable.substr(3));

  CliRun po = RunCli(dir_, {"strings", "export", "keyed.tlwdlg", "--format", "po", "-o", "good"});
  EXPECT_EQ(po.exitCode, 0) << po.err;
  std::string pot = ReadBytes(dir_.file("good.pot"));
  EXPECT_NE(pot.find("#. Guy, response 2\n#: Start:2\nmsgctxt \"GOOD0003\"\nmsgid \"Who are you?\"\nmsgstr \"\"\n"),
            std::string::npos)
      << pot;

  CliRun unkeyed = RunCli(dir_, {"strings", "export", "good.tlwdlg", "-o", "empty.tab"});
  EXPECT_EQ(unkeyed.exitCode, 0);
  EXPECT_EQ(unkeyed.err, "good.tlwdlg: warning: no text has a string-table key; give them keys with: tellwright-cli "
                         "strings assign\n");
  EXPECT_EQ(ReadBytes(dir_.file("empty.tab")), "\xEF\xBB\xBF");

  CliRun mixed = RunCli(dir_, {"strings", "export", "keyed.tlwdlg", "--format", "po", "--encoding", "windows-1252",
                               "-o", "x"});
  EXPECT_EQ(mixed.exitCode, 2);
}

TEST_F(CliStringsTest, CheckListsWhatATranslationLacks) {
  WriteBytes(dir_.file("de.tab"),
             "\xEF\xBB\xBF; Start\r\nGOOD0001\tHallo\r\nGOOD0002\tBye\r\n; Intro\r\nGOOD0004\tIch bin Guy.\n"
             "OLD\tAlt\r\n");
  WriteBytes(dir_.file("fr.tab"), "GOOD0001\tBonjour\r\nGOOD0002\tAu revoir\r\nGOOD0003\tQui es-tu?\r\n"
                                  "GOOD0004\tJe suis Guy.\r\n");
  CliRun run = RunCli(dir_, {"strings", "check", "keyed.tlwdlg", "de.tab", "fr.tab"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out,
            "de.tab: error: the key \"GOOD0003\" is missing (Start, line 2, response 2: \"Who are you?\"): the game "
            "shows the base text there\n"
            "de.tab:3: warning: the text of \"GOOD0002\" is the base text: not translated\n"
            "de.tab:5: warning: the entry \"GOOD0004\" would be cut: its line ends without CR, so the engine drops its "
            "last character (save the file with CR LF line ends)\n"
            "de.tab:6: warning: the project has no text with the key \"OLD\" (any longer)\n"
            "de.tab: 1 key missing, 3 warnings\n");

  CliRun complete = RunCli(dir_, {"strings", "check", "keyed.tlwdlg", "fr.tab"});
  EXPECT_EQ(complete.exitCode, 0) << complete.out;
  EXPECT_EQ(complete.out, "");
  CliRun unreadable = RunCli(dir_, {"strings", "check", "keyed.tlwdlg", "fr.tab", "none.tab"});
  EXPECT_EQ(unreadable.exitCode, 2);
}

// The translator's round: template out, translation in, checked, imported,
// played.
TEST_F(CliStringsTest, PoFileBackToATableAndPlayedInItsLanguage) {
  ASSERT_EQ(RunCli(dir_, {"strings", "export", "keyed.tlwdlg", "--format", "po", "-o", "good.pot"}).exitCode, 0);
  std::string po = ReadBytes(dir_.file("good.pot"));
  po.erase(0, po.find("msgid"));  // the header is no longer a template's
  for (const auto& [id, str] : std::vector<std::pair<std::string, std::string>>{
           {"\"Hello\"\nmsgstr \"\"", "\"Hello\"\nmsgstr \"Gr\xC3\xBC\xC3\x9F dich\""},
           {"\"Bye\"\nmsgstr \"\"", "\"Goodbye\"\nmsgstr \"Auf Wiedersehen\""},
           {"\"Who are you?\"\nmsgstr \"\"", "\"Who are you?\"\nmsgstr \"Wer bist du?\""}})
    po.replace(po.find(id), id.size(), str);
  WriteBytes(dir_.file("de.po"), po);

  CliRun check = RunCli(dir_, {"strings", "check", "keyed.tlwdlg", "de.po"});
  EXPECT_EQ(check.exitCode, 0);
  EXPECT_NE(check.out.find("the translation of \"GOOD0002\" was made from \"Goodbye\", but the base text is now "
                           "\"Bye\""),
            std::string::npos)
      << check.out;
  EXPECT_NE(check.out.find("the entry \"GOOD0004\" is not translated"), std::string::npos) << check.out;

  CliRun import = RunCli(dir_, {"strings", "import", "de.po", "-o", "de"});
  EXPECT_EQ(import.exitCode, 0) << import.err;
  EXPECT_EQ(import.out, "Wrote 3 entries.\n");
  EXPECT_EQ(ReadBytes(dir_.file("de.tab")),
            "\xEF\xBB\xBF; Start\r\nGOOD0001\tGr\xC3\xBC\xC3\x9F dich\r\nGOOD0002\tAuf Wiedersehen\r\n"
            "GOOD0003\tWer bist du?\r\n");

  CliRun play = RunCli(dir_, {"play", "keyed.tlwdlg", "--strings", "de.tab", "--choose", "1"});
  EXPECT_EQ(play.exitCode, 0) << play.err;
  EXPECT_EQ(play.out,
            "Guy: Gr\xC3\xBC\xC3\x9F dich [no sound file: the engine plays the speech file named after the key "
            "GOOD0001]\n"
            "  1. Auf Wiedersehen\n"
            "  2. Wer bist du?\n"
            "> Auf Wiedersehen\n"
            "Guy: Auf Wiedersehen [no sound file: the engine plays the speech file named after the key GOOD0002]\n"
            "-- The end.\n");

  WriteBytes(dir_.file("broken.po"), "msgctxt \"K\"\nmsgid \"a\nmsgstr \"b\"\n");
  CliRun broken = RunCli(dir_, {"strings", "import", "broken.po", "-o", "x.tab"});
  EXPECT_EQ(broken.exitCode, 2);
  EXPECT_EQ(broken.err, "broken.po:2: error: a quoted string must follow msgid\n");
}

}  // namespace
}  // namespace tellwright
