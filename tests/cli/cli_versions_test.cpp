// show, diff and merge: projects under version control.
#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"

namespace tellwright {
namespace {

using namespace testing;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class CliVersionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir_.file("base.tlwdlg"), kGoodProject);
    // Ours changes Guy's greeting, theirs the sound of Intro's line.
    WriteBytes(dir_.file("ours.tlwdlg"), Replaced(kGoodProject, "Hello\n", "Hello, caf\xE9!\n"));
    WriteBytes(dir_.file("theirs.tlwdlg"), Replaced(kGoodProject, "voice\\guy1.ogg", "voice\\guy2.ogg"));
  }
  TempDir dir_;
};

TEST_F(CliVersionsTest, ShowPrintsTheRecordsInUtf8) {
  CliRun run = RunCli(dir_, {"show", "ours.tlwdlg"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "Project path: \"C:\\Games\\demo\\demo.wpr\"\n"
            "Character \"Guy\", entity \"guy\"\n"
            "Branch 1 \"Start\", 2 lines\n"
            "  Line 1: Talkline Guy: \"Hello, caf\xC3\xA9!\"\n"
            "  Line 2: Responseblock Guy, block 1\n"
            "    Response 1: \"Bye\"  Always, leave loop, say\n"
            "    Response 2: \"Who are you?\" -> Intro  Once\n"
            "Branch 2 \"Intro\", 2 lines\n"
            "  Line 1: Remark \"He turns round.\"\n"
            "  Line 2: Talkline Guy: \"I am Guy.\"  sound \"voice\\guy1.ogg\"\n");

  WriteBytes(dir_.file("damaged.tlwdlg"), kDamagedProject);
  CliRun damaged = RunCli(dir_, {"show", "damaged.tlwdlg"});
  EXPECT_EQ(damaged.exitCode, 2);
  EXPECT_TRUE(damaged.out.empty());
  EXPECT_TRUE(Contains(damaged.err, "damaged.tlwdlg:7: error: line count 5000")) << damaged.err;
}

TEST_F(CliVersionsTest, DiffEndsLikeDiff) {
  CliRun same = RunCli(dir_, {"diff", "base.tlwdlg", "base.tlwdlg"});
  EXPECT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(same.out, "");

  CliRun different = RunCli(dir_, {"diff", "base.tlwdlg", "ours.tlwdlg"});
  EXPECT_EQ(different.exitCode, 1) << different.err;
  EXPECT_EQ(different.out,
            "--- base.tlwdlg\n"
            "+++ ours.tlwdlg\n"
            "@@ Branch \"Start\" @@\n"
            "- Line 1: Talkline Guy: \"Hello\"\n"
            "+ Line 1: Talkline Guy: \"Hello, caf\xC3\xA9!\"\n"
            "  changed: text\n");

  WriteBytes(dir_.file("damaged.tlwdlg"), kDamagedProject);
  CliRun damaged = RunCli(dir_, {"diff", "base.tlwdlg", "damaged.tlwdlg"});
  EXPECT_EQ(damaged.exitCode, 2);
  EXPECT_TRUE(Contains(damaged.err, "damaged.tlwdlg:7: error:")) << damaged.err;
  CliRun missing = RunCli(dir_, {"diff", "base.tlwdlg", "nowhere.tlwdlg"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_TRUE(Contains(missing.err, "nowhere.tlwdlg: error: cannot open")) << missing.err;
  CliRun three = RunCli(dir_, {"diff", "base.tlwdlg", "ours.tlwdlg", "theirs.tlwdlg"});
  EXPECT_EQ(three.exitCode, 2);
  EXPECT_TRUE(Contains(three.err, "tellwright-cli: error: diff takes OLD and NEW")) << three.err;
}

TEST_F(CliVersionsTest, DiffAsJson) {
  CliRun run = RunCli(dir_, {"diff", "base.tlwdlg", "theirs.tlwdlg", "--format", "json"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out,
            "{\"old\":\"base.tlwdlg\",\"new\":\"theirs.tlwdlg\",\"same\":false,\n\"changes\":[\n"
            "{\"what\":\"branch\",\"change\":\"changed\",\"oldName\":\"Intro\",\"newName\":\"Intro\",\"oldIndex\":2,"
            "\"newIndex\":2,\"renamed\":false,\"moved\":false,\"storedLineCount\":null},\n"
            "{\"what\":\"line\",\"change\":\"changed\",\"branch\":\"Intro\",\"oldLine\":2,\"newLine\":2,"
            "\"fields\":[\"soundFile\"],"
            "\"before\":{\"kind\":\"Talkline\",\"character\":\"Guy\",\"text\":\"I am Guy.\","
            "\"soundFile\":\"voice\\\\guy1.ogg\",\"blockId\":0},"
            "\"after\":{\"kind\":\"Talkline\",\"character\":\"Guy\",\"text\":\"I am Guy.\","
            "\"soundFile\":\"voice\\\\guy2.ogg\",\"blockId\":0}}]}\n");
}

// git runs diff.<driver>.command with path old-file old-hex old-mode
// new-file new-hex new-mode, "/dev/null" for a side that does not exist, and
// stops when it does not end with 0.
TEST_F(CliVersionsTest, DiffAsGitsExternalDiff) {
  CliRun changed = RunCli(dir_, {"diff", "story.tlwdlg", "base.tlwdlg", "1111111", "100644", "ours.tlwdlg",
                                 "2222222", "100644"});
  EXPECT_EQ(changed.exitCode, 0) << changed.err;
  EXPECT_TRUE(changed.out.starts_with("--- a/story.tlwdlg\n+++ b/story.tlwdlg\n@@ Branch \"Start\" @@\n"))
      << changed.out;

  CliRun added = RunCli(dir_, {"diff", "story.tlwdlg", "/dev/null", ".", ".", "base.tlwdlg", "2222222", "100644"});
  EXPECT_EQ(added.exitCode, 0) << added.err;
  EXPECT_TRUE(added.out.starts_with("--- /dev/null\n+++ b/story.tlwdlg\n+ Project path: \"C:\\Games\\demo\\demo.wpr\"\n"
                                    "+ Character \"Guy\", entity \"guy\"\n@@ Branch \"Start\", added @@\n"))
      << added.out;
}

TEST_F(CliVersionsTest, MergeOfChangesToDifferentLinesIsClean) {
  CliRun run = RunCli(dir_, {"merge", "base.tlwdlg", "ours.tlwdlg", "theirs.tlwdlg", "-o", "merged.tlwdlg"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  std::string both = Replaced(Replaced(kGoodProject, "Hello\n", "Hello, caf\xE9!\n"), "guy1.ogg", "guy2.ogg");
  EXPECT_EQ(ReadBytes(dir_.file("merged.tlwdlg")), both);

  // As git's merge driver: the result over ours; no common base is an empty
  // file.
  WriteBytes(dir_.file("empty"), "");
  CliRun driver = RunCli(dir_, {"merge", "empty", "ours.tlwdlg", "ours.tlwdlg", "-o", "ours.tlwdlg"});
  EXPECT_EQ(driver.exitCode, 0) << driver.err;
  EXPECT_EQ(ReadBytes(dir_.file("ours.tlwdlg")), Replaced(kGoodProject, "Hello\n", "Hello, caf\xE9!\n"));
}

TEST_F(CliVersionsTest, MergeWithConflictsKeepsBothAndListsThem) {
  WriteBytes(dir_.file("theirs.tlwdlg"), Replaced(kGoodProject, "Hello\n", "Good day\n"));
  CliRun run = RunCli(dir_, {"merge", "base.tlwdlg", "ours.tlwdlg", "theirs.tlwdlg", "-o", "merged.tlwdlg",
                             "--path", "story.tlwdlg"});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.err,
            "story.tlwdlg: conflict: Start, line 1: both sides changed these lines\n"
            "story.tlwdlg: error: 1 conflict to resolve\n");
  CliRun shown = RunCli(dir_, {"show", "merged.tlwdlg"});
  EXPECT_TRUE(Contains(shown.out,
                       "  Line 1: Remark \"<<<<<<< ours\"\n"
                       "  Line 2: Talkline Guy: \"Hello, caf\xC3\xA9!\"\n"
                       "  Line 3: Remark \"=======\"\n"
                       "  Line 4: Talkline Guy: \"Good day\"\n"
                       "  Line 5: Remark \">>>>>>> theirs\"\n"))
      << shown.out;
  CliRun lint = RunCli(dir_, {"lint", "merged.tlwdlg"});
  EXPECT_EQ(lint.exitCode, 1);
  EXPECT_TRUE(Contains(lint.out, "merged.tlwdlg:12: error: Start, line 1: A merge left a conflict here")) << lint.out;
}

TEST_F(CliVersionsTest, MergeBeyondTheTablesWritesNothing) {
  std::string lines;
  for (int i = 0; i < 998; ++i) lines += "Remark\n\nline " + std::to_string(i) + "\n\n0\n";
  WriteBytes(dir_.file("ours.tlwdlg"),  // Intro full: 1000 lines
             Replaced(Replaced(kGoodProject, "Intro\n2\n", "Intro\n1000\n"), "##ENDBRANCH##\n##RESPONSEBLOCK##",
                      lines + "##RESPONSEBLOCK##"));
  WriteBytes(dir_.file("theirs.tlwdlg"),  // one more line in Intro
             Replaced(kGoodProject, "Intro\n2\n", "Intro\n3\nRemark\n\nFirst.\n\n0\n"));
  WriteBytes(dir_.file("merged.tlwdlg"), "old");
  CliRun run = RunCli(dir_, {"merge", "base.tlwdlg", "ours.tlwdlg", "theirs.tlwdlg", "-o", "merged.tlwdlg"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Contains(run.err, "merged.tlwdlg: error: the merged project would not fit: the branch \"Intro\" would "
                                "have 1001 lines, more than a branch holds (1000); nothing was written"))
      << run.err;
  EXPECT_EQ(ReadBytes(dir_.file("merged.tlwdlg")), "old");
}

}  // namespace
}  // namespace tellwright
