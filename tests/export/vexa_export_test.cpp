#include "export/vexa_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "export/sample_documents.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

using namespace testing;

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(FileNameString(entry.path().filename()));
  return names;
}

TEST(VexaExportTest, WorkedExampleComesOutByteForByte) {
  const std::string expected =
      "StartDialogue \"dlg_Start\"\r\n"
      "  \r\n"
      "  Talk \"guy\",\"Hello\"\r\n"
      "  \r\n"
      "  ; Start of response loop\r\n"
      "  \r\n"
      "  Loop0 = 1\r\n"
      "  \r\n"
      "  While Loop0=1\r\n"
      "         \r\n"
      "         AddResponse 0,\"Bye\"\r\n"
      "         AddResponseOnce 1,\"Who are you?\"\r\n"
      "         \r\n"
      "         WaitForResponse\r\n"
      "         \r\n"
      "         If Vexa_SelectedResponse=0\r\n"
      "            Talk \"guy\",\"Bye\"\r\n"
      "            Loop0 = 0\r\n"
      "         EndIf\r\n"
      "         \r\n"
      "         If Vexa_SelectedResponse=1\r\n"
      "            RunScript \"dlg_Intro.script\"\r\n"
      "         EndIf\r\n"
      "         \r\n"
      "  Wend\r\n"
      "  \r\n"
      "EndDialogue \"dlg_Start\"\r\n"
      "\r\n";
  std::vector<VexaFile> files = ExportVexaScriptFiles(WorkedExample(), "C:\\games\\dlg");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].path, "C:\\games\\dlg_Start.script");
  EXPECT_EQ(files[0].bytes, expected);
}

struct NameCase {
  std::string basePath;
  std::string branch;
  std::string path;
  std::string dialogue;  // the StartDialogue line
};

TEST(VexaExportTest, FileAndDialogueNamesComeFromTheBasePath) {
  const NameCase cases[] = {
      {"C:\\x\\talk.script", "A", "C:\\x\\talk.script_A.script", "StartDialogue \"talk.script_A\""},
      {"/home/w/dlg", "B", "/home/w/dlg_B.script", "StartDialogue \"dlg_B\""},
      {"dlg", "B", "dlg_B.script", "StartDialogue \"dlg_B\""},
      {"C:\\x/", "B", "C:\\x/_B.script", "StartDialogue \"_B\""},
      {"out/a\"b", "B", "out/a\"b_B.script", "StartDialogue \"a_B\""},
      {"out/dlg", "", "out/dlg_.script", "StartDialogue \"dlg_\""},
      {"out/dlg", "..", "out/dlg_...script", "StartDialogue \"dlg_..\""},
  };
  for (const NameCase& c : cases) {
    DialogueDocument document;
    SetBranch(document, 0, c.branch);
    std::vector<VexaFile> files = ExportVexaScriptFiles(document, c.basePath);
    ASSERT_EQ(files.size(), 1u) << c.basePath;
    EXPECT_EQ(files[0].path, c.path);
    EXPECT_EQ(files[0].bytes.substr(0, files[0].bytes.find("\r\n")), c.dialogue);
  }
}

TEST(VexaExportTest, ConditionalResponseTakesThreeLines) {
  DialogueDocument document;
  SetBranch(document, 0, "B", {BlockLine("", 1)});
  AddBlock(document, 0, 1,
           {{.text = "a", .visibility = kOnceGame, .conditions = "x=1"}, {.text = "b", .visibility = 9}});
  std::string bytes = ExportVexaScriptFiles(document, "d")[0].bytes;
  EXPECT_NE(bytes.find("         \r\n"
                       "         If x=1\r\n"
                       "           AddResponseOnceGame 0,\"a\"\r\n"
                       "         EndIf\r\n"
                       "         AddResponse 1,\"b\"\r\n"
                       "         \r\n"
                       "         WaitForResponse\r\n"),
            std::string::npos);
}

TEST(VexaExportTest, UnmatchedBlockWritesTheOpeningAndWendAndKeepsTheCounter) {
  DialogueDocument document;
  SetBranch(document, 0, "B", {BlockLine("", 5), Remark("after")});
  std::string bytes = ExportVexaScriptFiles(document, "d")[0].bytes;
  EXPECT_EQ(bytes,
            "StartDialogue \"d_B\"\r\n"
            "  \r\n"
            "  \r\n"
            "  ; Start of response loop\r\n"
            "  \r\n"
            "  Loop0 = 1\r\n"
            "  \r\n"
            "  While Loop0=1\r\n"
            "         \r\n"
            "  Wend\r\n"
            "  ; after\r\n"
            "  \r\n"
            "EndDialogue \"d_B\"\r\n"
            "\r\n");
}

TEST(VexaExportTest, TalklinesAndHandlersSpeakThroughEveryMatchingEntity) {
  DialogueDocument document;
  document.characters = {{"Guy", "guy"}, {"Guy", "guy2"}};
  SetBranch(document, 0, "B",
            {Talk("Guy", "hi", "v\\hi.ogg"), Talk("Nobody", "x"), Code("Set x"), BlockLine("Guy", 1)});
  AddBlock(document, 0, 1, {{.text = "a", .leaveLoop = 1, .sayResponse = 1, .linkBranch = "C"}});
  std::string bytes = ExportVexaScriptFiles(document, "d")[0].bytes;
  EXPECT_NE(bytes.find("  Talk \"guy\",\"hi\",\"v\\hi.ogg\"\r\n"
                       "  Talk \"guy2\",\"hi\",\"v\\hi.ogg\"\r\n"
                       "  Set x\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("         If Vexa_SelectedResponse=0\r\n"
                       "            Talk \"guy\",\"a\"\r\n"
                       "            Talk \"guy2\",\"a\"\r\n"
                       "            RunScript \"d_C.script\"\r\n"
                       "            Loop0 = 0\r\n"
                       "         EndIf\r\n"),
            std::string::npos);
}

TEST(VexaExportTest, CounterContinuesFromFileToFile) {
  DialogueDocument document;
  SetBranch(document, 0, "A", {BlockLine("", 1), BlockLine("", 1)});
  SetBranch(document, 1, "B", {BlockLine("", 1)});
  AddBlock(document, 0, 1, {{.text = "x", .leaveLoop = 1}});
  std::vector<VexaFile> files = ExportVexaScriptFiles(document, "d");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_NE(files[0].bytes.find("  While Loop1=1\r\n"), std::string::npos);
  EXPECT_EQ(files[1].bytes.find("Loop0"), std::string::npos);
  EXPECT_NE(files[1].bytes.find("  While Loop2=1\r\n"), std::string::npos);
  EXPECT_NE(files[1].bytes.find("            Loop2 = 0\r\n"), std::string::npos);
}

TEST(VexaExportTest, WritesOneFilePerBranch) {
  TempDir dir;
  DialogueDocument document = WorkedExample();
  SetBranch(document, 1, "Intro", {Remark("hello")});
  std::string base = dir.file("talk.script");
  VexaExportResult result = ExportVexaScript(document, base);
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.written, 2);
  std::vector<VexaFile> files = ExportVexaScriptFiles(document, base);
  ASSERT_EQ(files.size(), 2u);
  for (const VexaFile& file : files) EXPECT_EQ(ReadBytes(file.path), file.bytes);
  EXPECT_TRUE(std::filesystem::exists(dir.file("talk.script_Intro.script")));
}

TEST(VexaExportTest, BranchNamesThatLeaveTheFolderAreReportedAndTheRestWritten) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "out" / "dlg_x");
  DialogueDocument document;
  SetBranch(document, 0, "First", {BlockLine("", 1)});
  SetBranch(document, 1, "x/../../escaped", {BlockLine("", 1)});
  SetBranch(document, 2, "back\\slash");
  SetBranch(document, 3, std::string("nul\0byte", 8));
  SetBranch(document, 4, "drive:stream");
  SetBranch(document, 5, "Last", {BlockLine("", 1)});
  AddBlock(document, 0, 1, {{.text = "x", .leaveLoop = 1}});
  std::string base = (dir.path() / "out" / "dlg").string();

  VexaExportResult result = ExportVexaScript(document, base);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.written, 2);
  ASSERT_EQ(result.skipped.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(result.skipped[i].branch, i + 1);
  EXPECT_EQ(result.skipped[0].path, base + "_x/../../escaped.script");
  EXPECT_EQ(result.skipped[0].reason, "its name would put the file outside the chosen folder");
  EXPECT_EQ(result.skipped[3].reason, "its name holds a character that a file name cannot take");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "escaped.script"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "out" / "dlg_nul"));

  // The written files are the ones a full export would give: the skipped
  // branch's loop still takes its number.
  EXPECT_NE(ReadBytes(base + "_First.script").find("Loop0"), std::string::npos);
  EXPECT_NE(ReadBytes(base + "_Last.script").find("While Loop2=1"), std::string::npos);
  EXPECT_EQ(ExportVexaScriptFiles(document, base).size(), 2u);
}

TEST(VexaExportTest, FileThatCannotBeWrittenIsReportedAndTheRestWritten) {
  TempDir dir;
  DialogueDocument document;
  SetBranch(document, 0, "A");
  SetBranch(document, 1, "B");
  SetBranch(document, 2, "C");
  std::string base = dir.file("dlg");
  std::filesystem::create_directory(base + "_B.script");  // a folder where the file should go

  VexaExportResult result = ExportVexaScript(document, base);
  EXPECT_EQ(result.written, 2);
  ASSERT_EQ(result.skipped.size(), 1u);
  EXPECT_EQ(result.skipped[0].branch, 1);
  EXPECT_EQ(result.skipped[0].path, base + "_B.script");
  EXPECT_NE(result.skipped[0].reason.find("_B.script"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_regular_file(base + "_A.script"));
  EXPECT_TRUE(std::filesystem::is_regular_file(base + "_C.script"));

  VexaExportResult missing = ExportVexaScript(document, dir.file("no/such/folder/dlg"));
  EXPECT_EQ(missing.written, 0);
  EXPECT_EQ(missing.skipped.size(), 3u);
}

// In one run no file is written twice, and none over the project: a second
// branch of the same name (or, where the folder ignores letter case, of the
// same name but for it) and a branch whose file is the project itself are
// reported like a file that cannot be written.
TEST(VexaExportTest, NoBranchOverwritesAnotherOrTheProject) {
  TempDir dir;
  std::string base = dir.file("dlg");
  DialogueDocument document;
  SetBranch(document, 0, "Intro", {Remark("first")});
  SetBranch(document, 1, "Intro", {Remark("second")});
  SetBranch(document, 2, "Project");
  SetBranch(document, 3, "Outro");
  document.currentFile = base + "_Project.script";
  WriteBytes(document.currentFile, "the project");

  VexaExportResult result = ExportVexaScript(document, base);
  EXPECT_EQ(result.written, 2);
  ASSERT_EQ(result.skipped.size(), 2u);
  EXPECT_EQ(result.skipped[0].branch, 1);
  EXPECT_EQ(result.skipped[0].reason, "branch \"Intro\" was written to this file already");
  EXPECT_EQ(result.skipped[1].branch, 2);
  EXPECT_EQ(result.skipped[1].reason, "the file is the project itself");
  EXPECT_NE(ReadBytes(base + "_Intro.script").find("; first"), std::string::npos);
  EXPECT_EQ(ReadBytes(document.currentFile), "the project");
  EXPECT_TRUE(std::filesystem::exists(base + "_Outro.script"));

  // A second run writes every file again.
  EXPECT_EQ(ExportVexaScript(document, base).written, 2);
}

// Branch names are Windows-1252 text; file names are what the system takes
// (UTF-8 here), so the file of "Café" is named as the user reads it.
TEST(VexaExportTest, FileNamesCarryTheBranchNameAsTheSystemSpellsIt) {
  TempDir dir;
  DialogueDocument document;
  SetBranch(document, 0, "Caf\xE9");
  std::string base = dir.file("dlg");
  VexaExportResult result = ExportVexaScript(document, base);
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"dlg_Caf\xC3\xA9.script"}));
  std::vector<VexaFile> files = ExportVexaScriptFiles(document, base);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].path, base + "_Caf\xC3\xA9.script");
  EXPECT_NE(files[0].bytes.find("StartDialogue \"dlg_Caf\xE9\""), std::string::npos) << "the script keeps its bytes";
}

}  // namespace
}  // namespace tellwright
