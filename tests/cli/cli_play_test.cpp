#include <gtest/gtest.h>

#include "cli/cli_process.h"

namespace tellwright {
namespace {

using namespace testing;

const std::string kLighthouse = std::string(TELLWRIGHT_SOURCE_DIR) + "/examples/lighthouse.tlwdlg";

// Asking about the ship and its wick, then about Tobin, then leaving: every
// branch, the Once and Once Game responses and both conditions.
TEST(CliPlayTest, ScriptedAnswersPlayTheExampleToItsEnd) {
  TempDir dir;
  CliRun run = RunCli(dir, {"play", kLighthouse, "--choose", "1,1,1,1,1,2"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "// Ada climbs the last steps and meets the keeper.\n"
            "Mara: Another one who wants to see the lamp? Mind the oil on the floor. [voice\\mara_greet_01.ogg]\n"
            "(code) Game.SetGlobal(\"met_mara\", true);\n"
            "Ada: I'm Ada. I came about the ship that ran aground last night. [voice\\ada_greet_01.ogg]\n"
            "  1. What happened to the ship?\n"
            "  2. Do you know a fisherman called Tobin?  [if Game.GetGlobal(\"heard_of_tobin\")]\n"
            "  3. Nice lamp.\n"
            "  4. I'll be going.\n"
            "> What happened to the ship?\n"
            "Ada: What happened to the ship?\n"
            "Mara: The lamp went dark at midnight. Someone cut the wick, I'd swear to it. [voice\\mara_storm_01.ogg]\n"
            "// The player learns that the wick was cut: sets up the sabotage plot.\n"
            "(code) Game.SetGlobal(\"knows_wick_cut\", true);\n"
            "  1. Who would cut the wick?\n"
            "  2. Was anyone else up here?  [if Game.GetGlobal(\"knows_wick_cut\")]\n"
            "  3. Thanks, that helps.\n"
            "> Who would cut the wick?\n"
            "Ada: Who would cut the wick?\n"
            "  1. Was anyone else up here?  [if Game.GetGlobal(\"knows_wick_cut\")]\n"
            "  2. Thanks, that helps.\n"
            "> Was anyone else up here?\n"
            "  1. Thanks, that helps.\n"
            "> Thanks, that helps.\n"
            "Ada: Thanks, that helps.\n"
            "  1. Do you know a fisherman called Tobin?  [if Game.GetGlobal(\"heard_of_tobin\")]\n"
            "  2. Nice lamp.\n"
            "  3. I'll be going.\n"
            "> Do you know a fisherman called Tobin?\n"
            "Ada: Do you know a fisherman called Tobin?\n"
            "Tobin: Fresh herring, three for a copper. Or a caf\xC3\xA9 au lait, if you have beans. "
            "[voice\\tobin_trade_01.ogg]\n"
            "Ada: Just one herring, please.\n"
            "(code) actor_ada.TakeItem(\"herring\");\n"
            "  1. Nice lamp.\n"
            "  2. I'll be going.\n"
            "> I'll be going.\n"
            "Ada: I'll be going.\n"
            "Mara: Watch the rocks on your way down. [voice\\mara_bye_01.ogg]\n"
            "Mara: Come back when the fog lifts.\n"
            "-- The end.\n");
}

// Responseblock line 0 of Start, its response linking to a branch that is
// not there.
const std::string kBrokenLinkProject =
    "V1.2\n\nGuy\nguy\n##ENDCHARLIST##\n0\n"
    "##DIALOGBRANCH##\nStart\n1\nResponseblock\nGuy\n\n\n1\n##ENDBRANCH##\n"
    "##RESPONSEBLOCK##\n1\nSail away\n\nShip\n0\n1\n1\n##ENDRESPONSE##\n";

// Branch Café runs a loop offering Thé if a condition about an é holds, and
// Bye.
const std::string kAccentsProject =
    "V1.2\n\nGuy\nguy\n##ENDCHARLIST##\n1\n"
    "##DIALOGBRANCH##\nStart\n0\n##ENDBRANCH##\n"
    "##DIALOGBRANCH##\nCaf\xE9\n1\nResponseblock\nGuy\n\n\n1\n##ENDBRANCH##\n"
    "##RESPONSEBLOCK##\n1\nTh\xE9\nx == \"\xE9\"\n\n0\n0\n0\nBye\n\n\n0\n1\n0\n##ENDRESPONSE##\n";

struct PlayCase {
  const char* name;
  std::vector<std::string> args;  // after "play"
  std::string input;              // standard input, when not empty
  int exitCode;
  const char* outEnd;  // how standard output ends
  const char* err;     // what standard error holds ("": nothing)
};

TEST(CliPlayTest, ExitCodeTellsHowThePlayEnded) {
  TempDir dir;
  WriteBytes(dir.file("broken.tlwdlg"), kBrokenLinkProject);
  WriteBytes(dir.file("damaged.tlwdlg"), "V1.2\n\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nX\n5000\n");
  WriteBytes(dir.file("accents.tlwdlg"), kAccentsProject);
  const std::string heardOfTobin = "Game.GetGlobal(\"heard_of_tobin\")";
  const PlayCase cases[] = {
      {"AnswersRunOut",
       {kLighthouse, "--choose", "1,3", "--assume-false", heardOfTobin, "--no-remarks"},
       "",
       0,
       "[voice\\mara_storm_01.ogg]\n(code) Game.SetGlobal(\"knows_wick_cut\", true);\n"
       "  1. Who would cut the wick?\n  2. Was anyone else up here?  [if Game.GetGlobal(\"knows_wick_cut\")]\n"
       "  3. Thanks, that helps.\n> Thanks, that helps.\nAda: Thanks, that helps.\n  1. Nice lamp.\n"
       "  2. I'll be going.\n(no more answers: stopped at a menu)\n",
       ""},
      {"AnswersFromAPipe",
       {kLighthouse, "--branch", "Ask_About_Storm"},
       "3\n",
       0,
       "> Thanks, that helps.\n"
       "Ada: Thanks, that helps.\n-- The end.\n",
       ""},
      {"QuitFromAPipe",
       {kLighthouse},
       " 3 \nq\n",
       0,
       "> Nice lamp.\n"
       "Ada: Nice lamp.\n  1. What happened to the ship?\n  2. Do you know a fisherman called Tobin?  [if "
       "Game.GetGlobal(\"heard_of_tobin\")]\n  3. Nice lamp.\n  4. I'll be going.\n(quit at a menu)\n",
       ""},
      {"LastAnswerWithoutLineEnd", {kLighthouse}, "4", 0, "Mara: Come back when the fog lifts.\n-- The end.\n", ""},
      {"EndOfInputAtAMenu", {kLighthouse}, "", 0, "(end of input: stopped at a menu)\n", ""},
      {"StopsAtAFault",
       {"broken.tlwdlg", "--choose", "1"},
       "",
       1,
       "> Sail away\nGuy: Sail away\n!! Stopped: Start, line 1: The response \"Sail away\" links to the branch "
       "\"Ship\", which does not exist: the script would not compile.\n",
       ""},
      {"AnswerNamesNoEntry",
       {kLighthouse, "--choose", "1,4"},
       "",
       2,
       "  3. Thanks, that helps.\n",
       "lighthouse.tlwdlg: error: answer 2 of --choose is 4, but the menu offers 1-3\n"},
      {"PipedAnswerNamesNoEntry",
       {kLighthouse},
       "one\n",
       2,
       "  4. I'll be going.\n",
       "lighthouse.tlwdlg: error: the answer \"one\" names no entry of the menu (1-4)\n"},
      {"BranchAndConditionAsTypedInUtf8",
       {"accents.tlwdlg", "--branch", "Caf\xC3\xA9", "--assume-false", "x == \"\xC3\xA9\"", "--choose", "1"},
       "",
       0,
       "  1. Bye\n> Bye\n-- The end.\n",
       ""},
      {"NoSuchBranch",
       {kLighthouse, "--branch", "Attic"},
       "",
       2,
       "",
       "lighthouse.tlwdlg: error: there is no branch named \"Attic\"\n"},
      {"UnreadableProject", {"damaged.tlwdlg", "--choose", "1"}, "", 2, "", "damaged.tlwdlg:7: error: "},
      {"AnswerNotANumber", {kLighthouse, "--choose", "1,x"}, "", 2, "", "tellwright-cli: error: "},
  };
  for (const PlayCase& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "play");
    CliRun run = RunCli(dir, args, "", c.input);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
    std::string outEnd = c.outEnd;
    EXPECT_TRUE(run.out.ends_with(outEnd)) << c.name << ":\n" << run.out;
    if (outEnd.empty()) {
      EXPECT_EQ(run.out, "") << c.name;
    }
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.name << ": " << run.err;
    if (*c.err == '\0') {
      EXPECT_EQ(run.err, "") << c.name;
    }
  }
}

TEST(CliPlayTest, HelpShowsHowAnswersAreWritten) {
  TempDir dir;
  CliRun help = RunCli(dir, {"play", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("  -c,--choose N[,N...]  "), std::string::npos) << help.out;
}

// An input without line ends (here an endless one) is not read forever: an
// answer longer than any menu number ends the play.
TEST(CliPlayTest, EndlessInputEndsThePlay) {
  TempDir dir;
  CliRun run = RunCli(dir, {"play", kLighthouse}, "", "", "</dev/zero");
  EXPECT_EQ(run.exitCode, 2) << run.err;
  EXPECT_NE(run.err.find("lighthouse.tlwdlg: error: the answer is longer than"), std::string::npos) << run.err;
  EXPECT_LT(run.err.size(), 300u) << run.err;
}

// At a terminal a wrong answer is asked again, saying what is valid. The
// terminal is the one script(1) gives the program.
TEST(CliPlayTest, AtATerminalAWrongAnswerSaysWhatIsValid) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "script(1) is not installed";
  TempDir dir;
  WriteBytes(dir.file("answers"), "7\n" + std::string(200, '9') + "\nq\n");
  std::string command = "cd " + ShellQuoted(dir.path().string()) + " && timeout 60 script -qec " +
                        ShellQuoted(ShellQuoted(CliBinary()) + " play " + ShellQuoted(kLighthouse)) +
                        " /dev/null <answers >out 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(dir.file("out"));
  // The terminal echoes the answers whenever they arrive, so only the
  // program's own lines are looked for.
  std::string out = ReadBytes(dir.file("out"));
  for (const char* said : {"There is no entry 7 in this menu: choose 1-4, or q to quit.\r\n",
                           "There is no entry 99999999999999999999... in this menu: choose 1-4, or q to quit.\r\n",
                           "Choose 1-4 (q quits): ", "(quit at a menu)\r\n"})
    EXPECT_NE(out.find(said), std::string::npos) << said << " in:\n" << out;
}

}  // namespace
}  // namespace tellwright
