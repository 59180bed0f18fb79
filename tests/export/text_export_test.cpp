#include "export/text_export.h"

#include <gtest/gtest.h>

#include "export/sample_documents.h"
#include "export/wme_export.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

using namespace testing;

TEST(TextExportTest, WorkedExampleListsWhatIsSaid) {
  DialogueDocument document = WorkedExample();
  document.editBranch(0).lines.slot(0).soundFile = "hello.ogg";
  document.editBranch(0).lines.slot(2) = Remark("He leaves.");
  document.editBranch(0).lines.slot(3) = Code("Game.Quit();");
  document.editBranch(0).lineCount = 4;
  const std::string guy = "Guy:" + std::string(32, ' ');
  EXPECT_EQ(ExportTextBytes(document), "Start\r\n-----\r\n\r\n" +  // title
                                           guy + "Hello\r\n\r\n" +  // talkline, sound left out
                                           guy + "Bye\r\n\r\n" +    // the said response only
                                           "// He leaves.\r\n\r\n" +  // remark, code left out
                                           "\r\n\r\n");
}

struct SpeakerCase {
  std::string name;
  size_t spaces;
};

TEST(TextExportTest, TextStartsInColumn37ForNamesShorterThan35Bytes) {
  const SpeakerCase cases[] = {
      {"", 35},        {"Guy", 32}, {std::string(34, 'a'), 1}, {std::string(35, 'a'), 0}, {std::string(50, 'a'), 0},
      {"Ren\xE9", 31},  // one byte a letter
  };
  for (const SpeakerCase& c : cases) {
    DialogueDocument document;
    SetBranch(document, 0, "B", {Talk(c.name, "text")});
    std::string expected = "B\r\n-\r\n\r\n" + c.name + ":" + std::string(c.spaces, ' ') + "text\r\n\r\n\r\n\r\n";
    EXPECT_EQ(ExportTextBytes(document), expected) << c.name;
  }
}

TEST(TextExportTest, ResponsesAreListedOnlyWhenSaid) {
  DialogueDocument document;
  SetBranch(document, 0, "B", {BlockLine("Ann", 3), BlockLine("Bob", 4), BlockLine("Cy", 77)});
  AddBlock(document, 0, 3,
           {{.text = "quiet"}, {.text = "loud", .sayResponse = 1}, {.text = ""}, {.text = "gone", .sayResponse = 1}});
  AddBlock(document, 1, 4, {{.text = "none"}});
  AddBlock(document, 2, 3, {{.text = "twin", .sayResponse = 1}});
  const std::string ann = "Ann:" + std::string(32, ' ');
  EXPECT_EQ(ExportTextBytes(document), "B\r\n-\r\n\r\n" + ann + "loud\r\n\r\n" + ann + "twin\r\n\r\n" + "\r\n\r\n");
}

TEST(TextExportTest, EveryBranchHasTitleUnderlineAndTwoClosingLines) {
  DialogueDocument document;
  SetBranch(document, 0, "Start");
  SetBranch(document, 1, "");
  SetBranch(document, 2, "Caf\xE9");
  EXPECT_EQ(ExportTextBytes(document),
            "Start\r\n-----\r\n\r\n\r\n\r\n"
            "\r\n\r\n\r\n\r\n\r\n"
            "Caf\xE9\r\n----\r\n\r\n\r\n\r\n");
}

TEST(TextExportTest, WritesTheFileAndReportsOneThatCannotBeWritten) {
  TempDir dir;
  DialogueDocument document = WorkedExample();
  ASSERT_TRUE(ExportText(document, dir.file("out.txt")).ok);
  EXPECT_EQ(ReadBytes(dir.file("out.txt")), ExportTextBytes(document));
  EXPECT_FALSE(ExportText(document, dir.file("missing/out.txt")).ok);
}

// An export over the project it comes from would destroy it, under any
// name the project goes by.
TEST(TextExportTest, ExportsNeverReplaceTheirOwnProject) {
  TempDir dir;
  DialogueDocument document = WorkedExample();
  document.currentFile = dir.file("p.tlwdlg");
  WriteBytes(document.currentFile, "the project");
  dir.folder("sub");
  for (const std::string& path : {document.currentFile, dir.file("sub/../p.tlwdlg")}) {
    for (Status status : {ExportText(document, path), ExportWmeScript(document, path)}) {
      EXPECT_FALSE(status.ok) << path;
      EXPECT_NE(status.message.find("the file is the project itself"), std::string::npos) << status.message;
    }
  }
  EXPECT_EQ(ReadBytes(document.currentFile), "the project");
}

}  // namespace
}  // namespace tellwright
