#include "lint/file_lines.h"

#include <gtest/gtest.h>

#include "document/project_file.h"
#include "export/sample_documents.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

using namespace testing;

std::vector<std::string> FileLines(const std::string& bytes) {
  std::vector<std::string> lines = {""};  // numbered from 1
  size_t from = 0;
  for (size_t end; (end = bytes.find('\n', from)) != std::string::npos; from = end + 1)
    lines.push_back(bytes.substr(from, end - from));
  return lines;
}

// Every place of the document, and every field a problem can be in, is found
// on the file line that holds its text.
void ExpectEveryPlaceOnItsLine(const DialogueDocument& document, const std::string& bytes) {
  std::vector<std::string> file = FileLines(bytes);
  ProjectFileLines lines(document);
  auto at = [&](const ProblemPlace& place, ProblemField field = ProblemField::Record) {
    int line = lines.lineOf(place, field);
    return line > 0 && line < static_cast<int>(file.size()) ? file[line] : "<line " + std::to_string(line) + ">";
  };
  for (int c = 0; c < static_cast<int>(document.characters.size()); ++c) {
    EXPECT_EQ(at({.character = c}), document.characters[c].realName);
    EXPECT_EQ(at({.character = c}, ProblemField::EntityName), document.characters[c].entityName);
  }
  for (int b = 0; b < document.branchCount(); ++b) {
    const DialogueBranch& branch = document.branch(b);
    EXPECT_EQ(at({.branch = b}), branch.name);
    for (int l = 0; l < branch.lineCount; ++l) {
      const DialogueLine& line = branch.lines[l];
      const ProblemPlace place{.branch = b, .line = l};
      EXPECT_EQ(at(place), line.kind);
      EXPECT_EQ(at(place, ProblemField::Character), line.character);
      EXPECT_EQ(at(place, ProblemField::Text), line.text);
      EXPECT_EQ(at(place, ProblemField::SoundFile), line.soundFile);
      EXPECT_EQ(at(place, ProblemField::BlockId), std::to_string(line.blockId));
    }
  }
  for (int slot = 0; slot < document.responseBlocks.stored(); ++slot) {
    const ResponseBlock& block = document.responseBlocks[slot];
    if (!block.inUse()) continue;
    EXPECT_EQ(at({.blockSlot = slot}), std::to_string(block.id));
    for (int r = 0; r < block.usedResponses(); ++r) {
      const Response& response = block.responses[r];
      const ProblemPlace place{.branch = 0, .line = 0, .response = r, .blockSlot = slot};
      EXPECT_EQ(at(place), response.text);
      EXPECT_EQ(at(place, ProblemField::Text), response.text);
      EXPECT_EQ(at(place, ProblemField::Condition), response.conditions);
      EXPECT_EQ(at(place, ProblemField::Link), response.linkBranch);
    }
  }
}

TEST(ProjectFileLinesTest, BundledExample) {
  std::string bytes = ReadBytes(std::string(TELLWRIGHT_SOURCE_DIR) + "/examples/lighthouse.tlwdlg");
  DialogueDocument document;
  ASSERT_TRUE(ReadProject(bytes, document));
  ExpectEveryPlaceOnItsLine(document, bytes);
}

// Full tables are written without end markers; free block slots not at all.
TEST(ProjectFileLinesTest, FullBranchAndBlock) {
  DialogueDocument d = WorkedExample();
  DialogueBranch& full = SetBranch(d, 1, "Full");
  for (int l = 0; l < kLinesPerBranch; ++l) full.lines.slot(l) = Code("x" + std::to_string(l));
  full.lineCount = kLinesPerBranch;
  SetBranch(d, 2, "After", {Talk("Guy", "end")});
  ResponseBlock& block = AddBlock(d, 3, 7, {});
  for (int r = 0; r < kResponsesPerBlock; ++r)
    block.responses.slot(r) = MakeResponse({.text = "r" + std::to_string(r)});
  AddBlock(d, 5, 8, {{.text = "last"}});
  ExpectEveryPlaceOnItsLine(d, WriteProject(d));

  ProjectFileLines lines(d);
  EXPECT_EQ(lines.lineOf({.blockSlot = 2}), 0) << "a free slot is not written";
  EXPECT_EQ(lines.lineOf({.branch = 2, .line = 5}), lines.lineOf({.branch = 2})) << "a line the file does not keep";
}

}  // namespace
}  // namespace tellwright
