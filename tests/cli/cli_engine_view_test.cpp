#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_process.h"

namespace tellwright {
namespace {

using namespace testing;

// One project with everything the engine reads its own way. Start: the
// Narrator, whose entity is Game, says a line; Mara says a string-table text
// without a sound file and a text with escapes; a loop (block 1) offers a
// Once response, one switched off by `false`, a string-table one with the
// condition `1` that leaves, and one that calls `start`, a branch whose name
// differs only in case and whose loop (block 2) offers a Once response
// shared with Start's; then a loop whose block 9 does not exist.
const std::string kEngineViewProject =
    "V1.2\n\n"
    "Ada\nactor_ada\nMara\nkeeper_mara\nNarrator\nGame\n##ENDCHARLIST##\n1\n"
    "##DIALOGBRANCH##\nStart\n5\n"
    "Talkline\nNarrator\nThe fog lifts.\n\n0\n"
    "Talkline\nMara\n/greet01/Welcome, Ada.~nMind the oil.\n\n0\n"
    "Talkline\nMara\nCaf~\"\xE9~\" ~~ tea?\nvoice\\~~mara.ogg\n0\n"
    "Responseblock\nAda\n\n\n1\n"
    "Responseblock\nAda\n\n\n9\n"
    "##ENDBRANCH##\n"
    "##DIALOGBRANCH##\nstart\n1\n"
    "Responseblock\nAda\n\n\n2\n"
    "##ENDBRANCH##\n"
    "##RESPONSEBLOCK##\n1\n"
    "Who are you?\n\n\n1\n0\n0\n"
    "Hidden\nfalse\n\n0\n0\n0\n"
    "/bye/Goodbye.\n1\n\n0\n1\n1\n"
    "Other side\n\nstart\n0\n0\n0\n"
    "##ENDRESPONSE##\n"
    "##RESPONSEBLOCK##\n2\n"
    "Who are you, again?\n\n\n1\n0\n0\n"
    "Back\n\n\n0\n1\n0\n"
    "##ENDRESPONSE##\n";

TEST(CliEngineViewTest, LintWarnsWhereTheEngineReadsAProjectItsOwnWay) {
  TempDir dir;
  WriteBytes(dir.file("p.tlwdlg"), kEngineViewProject);
  CliRun run = RunCli(dir, {"lint", "p.tlwdlg"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  // "FILE:LINE [RULE]" of each problem.
  std::vector<std::string> found;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    size_t rule = line.rfind(" [");
    if (line.starts_with(" ") || rule == std::string::npos) continue;
    found.push_back(line.substr(0, line.find(':', line.find(':') + 1)) + line.substr(rule));
  }
  // Two texts have string-table keys, so each text without one is named.
  EXPECT_EQ(found, (std::vector<std::string>{
                       "p.tlwdlg:8 [entity-cannot-talk]", "p.tlwdlg:16 [string-key-missing]",
                       "p.tlwdlg:26 [string-key-missing]", "p.tlwdlg:38 [block-missing]",
                       "p.tlwdlg:41 [branch-name-case]", "p.tlwdlg:51 [string-key-missing]",
                       "p.tlwdlg:57 [string-key-missing]", "p.tlwdlg:58 [condition-always-false]",
                       "p.tlwdlg:64 [condition-always-true]", "p.tlwdlg:69 [string-key-missing]",
                       "p.tlwdlg:78 [string-key-missing]", "p.tlwdlg:84 [string-key-missing]"}))
      << run.out;
}

TEST(CliEngineViewTest, PlayShowsWhatTheGameShows) {
  TempDir dir;
  WriteBytes(dir.file("p.tlwdlg"), kEngineViewProject);
  CliRun run = RunCli(dir, {"play", "p.tlwdlg", "--choose", "1,2,1,1", "--assume-false", "1"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.err, "p.tlwdlg: warning: the condition \"1\" is always true in the game; it cannot be switched\n");
  EXPECT_EQ(run.out,
            "(silent: Narrator speaks through Game, an engine object that cannot talk) The fog lifts.\n"
            "Mara: Welcome, Ada.\nMind the oil. [no sound file: the engine plays the speech file named after the key "
            "greet01]\n"
            "Mara: Caf\"\xC3\xA9\" ~ tea? [voice\\~mara.ogg]\n"
            "  1. Who are you?\n  2. Goodbye.  [if 1: always true]\n  3. Other side\n"
            "> Who are you?\n"
            "  1. Goodbye.  [if 1: always true]\n  2. Other side\n"
            "> Other side\n"
            "  1. Back\n> Back\n"
            "  1. Goodbye.  [if 1: always true]\n  2. Other side\n"
            "> Goodbye.\n"
            "Ada: Goodbye. [no sound file: the engine plays the speech file named after the key bye]\n"
            "!! Stopped: Start, line 5: No responseblock has the id 9: the export writes an empty response loop "
            "here, which never offers a response and never ends, so the game would hang here.\n");
}

}  // namespace
}  // namespace tellwright
