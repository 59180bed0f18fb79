#include "document/project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/temp_dir.h"

namespace tellwright {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::string_view kNewProjectBytes =
    "V1.2\n"
    "C:\\Games\\Demo\\demo.wpr\n"
    "##ENDCHARLIST##\n"
    "0\n"
    "##DIALOGBRANCH##\n"
    "Dialog_Default\n"
    "0\n"
    "##ENDBRANCH##\n";

// A small project using every part of the format.
constexpr std::string_view kSampleBytes =
    "V1.2\n"
    "C:\\Games\\Demo\\demo.wpr\n"
    "Guy\n"
    "guy\n"
    "Elaine\n"
    "actor_elaine\n"
    "##ENDCHARLIST##\n"
    "1\n"
    "##DIALOGBRANCH##\n"
    "Start\n"
    "3\n"
    "Talkline\nGuy\nHello \"there\"\nvoice\\hello.ogg\n0\n"
    "Remark\n\nThe greeting\n\n0\n"
    "Responseblock\nGuy\n\n\n4\n"
    "##ENDBRANCH##\n"
    "##DIALOGBRANCH##\n"
    "Intro\n"
    "1\n"
    "Codeline\n\nGame.Interactive = true;\n\n0\n"
    "##ENDBRANCH##\n"
    "##RESPONSEBLOCK##\n"
    "4\n"
    "Bye\n\n\n0\n1\n1\n"
    "Who are you?\nnot asked\nIntro\n1\n0\n0\n"
    "##ENDRESPONSE##\n";

// A whole file: read without a fault or a warning.
DialogueDocument Parsed(std::string_view bytes, std::string engineProjectPath = "") {
  DialogueDocument document;
  document.engineProjectPath = std::move(engineProjectPath);
  LoadResult result = ReadProject(bytes, document);
  EXPECT_TRUE(result.ok) << result.message << " at line " << result.line;
  EXPECT_TRUE(result.warnings.empty()) << result.warnings.front().message;
  return document;
}

int LinesIn(std::string_view bytes) {
  return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n') +
                          (bytes.empty() || bytes.back() == '\n' ? 0 : 1));
}

TEST(ProjectFile, NewProjectIsWrittenAsTheDocumentedEightLines) {
  DialogueDocument document;
  document.engineProjectPath = "C:\\Games\\Demo\\demo.wpr";
  EXPECT_EQ(WriteProject(document), kNewProjectBytes);
}

TEST(ProjectFile, SampleRoundTripsByteForByte) {
  DialogueDocument document = Parsed(kSampleBytes);
  EXPECT_EQ(WriteProject(document), kSampleBytes);
}

TEST(ProjectFile, SampleIsReadIntoTheRightFields) {
  DialogueDocument document = Parsed(kSampleBytes);
  EXPECT_EQ(document.engineProjectPath, "C:\\Games\\Demo\\demo.wpr");
  ASSERT_EQ(document.characters.size(), 2u);
  EXPECT_EQ(document.characters[1].realName, "Elaine");
  EXPECT_EQ(document.characters[1].entityName, "actor_elaine");
  EXPECT_EQ(document.lastBranchIndex, 1);
  EXPECT_EQ(document.branch(0).name, "Start");
  EXPECT_EQ(document.branch(0).lineCount, 3);
  EXPECT_EQ(document.branch(0).lines[0].text, "Hello \"there\"");
  EXPECT_EQ(document.branch(0).lines[0].soundFile, "voice\\hello.ogg");
  EXPECT_EQ(document.branch(0).lines[2].blockId, 4);
  EXPECT_TRUE(document.branch(0).lines[3].empty());
  // Blocks reload into slots from 0, whatever slot they were saved from.
  EXPECT_EQ(document.responseBlocks[0].id, 4);
  const Response& second = document.responseBlocks[0].responses[1];
  EXPECT_EQ(second.text, "Who are you?");
  EXPECT_EQ(second.conditions, "not asked");
  EXPECT_EQ(second.linkBranch, "Intro");
  EXPECT_EQ(second.visibility, kOnce);
  EXPECT_EQ(document.responseBlocks[0].responses[0].leaveLoop, 1);
  EXPECT_EQ(document.responseBlocks[0].responses[0].sayResponse, 1);
}

TEST(ProjectFile, BlocksSavedFromLaterSlotsComeBackFromSlotZeroWithTheirIds) {
  DialogueDocument document;
  document.responseBlocks.slot(1).id = 7;
  document.responseBlocks.slot(1).responses.slot(0).text = "A";
  document.responseBlocks.slot(4).id = 2;
  document.responseBlocks.slot(4).responses.slot(0).text = "B";
  DialogueDocument reloaded = Parsed(WriteProject(document));
  EXPECT_EQ(reloaded.responseBlocks[0].id, 7);
  EXPECT_EQ(reloaded.responseBlocks[1].id, 2);
  EXPECT_EQ(reloaded.responseBlocks[1].responses[0].text, "B");
  EXPECT_FALSE(reloaded.responseBlocks[4].inUse());
}

TEST(ProjectFile, FullBranchAndFullBlockRoundTripWithoutEndMarkers) {
  DialogueDocument document;
  document.lastBranchIndex = 1;
  DialogueBranch& full = document.editBranch(0);
  full.lineCount = kLinesPerBranch;
  for (int j = 0; j < kLinesPerBranch; ++j)
    full.lines.slot(j) = {std::string(kTalkline), "Guy", "line " + std::to_string(j), "", 0};
  document.editBranch(1).name = "After";
  ResponseBlock& block = document.responseBlocks.slot(0);
  block.id = 1;
  for (int r = 0; r < kResponsesPerBlock; ++r) block.responses.slot(r).text = "r" + std::to_string(r);
  ResponseBlock& next = document.responseBlocks.slot(1);
  next.id = 2;
  next.responses.slot(0).text = "following";

  std::string bytes = WriteProject(document);
  EXPECT_EQ(bytes.find("line 999\n\n0\n##ENDBRANCH##"), std::string::npos);
  EXPECT_NE(bytes.find("line 999\n\n0\n##DIALOGBRANCH##\nAfter\n"), std::string::npos);
  EXPECT_NE(bytes.find("r99\n\n\n0\n0\n0\n##RESPONSEBLOCK##\n2\nfollowing\n"), std::string::npos);

  DialogueDocument reloaded = Parsed(bytes);
  EXPECT_EQ(reloaded.branch(0).lines[999].text, "line 999");
  EXPECT_EQ(reloaded.branch(1).name, "After");
  EXPECT_EQ(reloaded.responseBlocks[0].responses[99].text, "r99");
  EXPECT_EQ(reloaded.responseBlocks[1].responses[0].text, "following");
  EXPECT_EQ(WriteProject(reloaded), bytes);
}

TEST(ProjectFile, LineCountIsTakenAsWritten) {
  std::string bytes =
      "V1.2\n\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nA\n5\n"
      "Codeline\n\nx\n\n0\n##ENDBRANCH##\n";
  DialogueDocument document = Parsed(bytes);
  EXPECT_EQ(document.branch(0).lineCount, 5);
  EXPECT_EQ(WriteProject(document), bytes);
}

TEST(ProjectFile, MarkersInFrontOfBranchesAndBlocksAreNotCompared) {
  std::string bytes = std::string(kSampleBytes);
  bytes.replace(bytes.find("##DIALOGBRANCH##"), 16, "anything");
  bytes.replace(bytes.find("##RESPONSEBLOCK##"), 17, "");
  DialogueDocument document = Parsed(bytes);
  EXPECT_EQ(document.branch(0).name, "Start");
  EXPECT_EQ(document.responseBlocks[0].id, 4);
}

TEST(ProjectFile, WithoutVersionLineTheFirstLineIsLostAndTheEnginePathKept) {
  std::string bytes = "C:\\old.wpr\nGuy\nguy\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nStart\n0\n##ENDBRANCH##\n";
  DialogueDocument document = Parsed(bytes, "C:\\kept.wpr");
  EXPECT_EQ(document.engineProjectPath, "C:\\kept.wpr");
  ASSERT_EQ(document.characters.size(), 1u);
  EXPECT_EQ(document.characters[0].realName, "Guy");
  EXPECT_EQ(document.characters[0].entityName, "guy");
  EXPECT_EQ(document.branch(0).name, "Start");
}

TEST(ProjectFile, AcceptsEveryLineEnd) {
  struct Case {
    const char* name;
    std::string lineEnd;
  };
  for (const Case& c : {Case{"LF", "\n"}, Case{"CR", "\r"}, Case{"CR LF", "\r\n"}}) {
    std::string bytes;
    for (char ch : kSampleBytes) bytes += ch == '\n' ? c.lineEnd : std::string(1, ch);
    DialogueDocument document = Parsed(bytes);
    EXPECT_EQ(WriteProject(document), kSampleBytes) << c.name;
  }
}

// A file cut short loads, and says at which of its lines it ends early.
DialogueDocument ParsedTruncated(std::string_view bytes) {
  DialogueDocument document;
  LoadResult result = ReadProject(bytes, document);
  EXPECT_TRUE(result.ok) << result.message << " at line " << result.line;
  EXPECT_EQ(result.warnings.size(), 1u) << bytes;
  if (!result.warnings.empty()) {
    EXPECT_EQ(result.warnings[0].line, LinesIn(bytes)) << bytes;
    EXPECT_EQ(result.warnings[0].message.rfind("the file ends early", 0), 0u) << result.warnings[0].message;
  }
  return document;
}

TEST(ProjectFile, TruncatedFileLoadsWithTheMissingFieldsEmptyAndAWarning) {
  struct Case {
    std::string_view cutAfter;
    int expectedLastBranch;
    std::string expectedText;
    std::string expectedSound;
  };
  const Case cases[] = {
      {"##ENDCHARLIST##\n", 0, "", ""},
      {"##ENDCHARLIST##\n1\n##DIALOGBRANCH##\nStart\n3\nTalkline\nGuy\nHel", 1, "Hel", ""},
      {"Talkline\nGuy\nHello \"there\"\n", 1, "Hello \"there\"", ""},
      {"Talkline\nGuy\nHello \"there\"\nvoice\\hello.ogg\n0\n", 1, "Hello \"there\"", "voice\\hello.ogg"},
      {"Game.Interactive = true;\n\n0\n", 1, "Hello \"there\"", "voice\\hello.ogg"},
      {"##RESPONSEBLOCK##\n4\nBye\n\n", 1, "Hello \"there\"", "voice\\hello.ogg"},
  };
  for (const Case& c : cases) {
    std::string bytes(kSampleBytes.substr(0, kSampleBytes.find(c.cutAfter) + c.cutAfter.size()));
    DialogueDocument document = ParsedTruncated(bytes);
    EXPECT_EQ(document.lastBranchIndex, c.expectedLastBranch) << bytes;
    EXPECT_EQ(document.branch(0).lines[0].text, c.expectedText) << bytes;
    EXPECT_EQ(document.branch(0).lines[0].soundFile, c.expectedSound) << bytes;
  }
  // A block cut inside its responses keeps what it had.
  std::string bytes(kSampleBytes.substr(0, kSampleBytes.find("Who are you?")));
  DialogueDocument document = ParsedTruncated(bytes);
  EXPECT_EQ(document.responseBlocks[0].id, 4);
  EXPECT_EQ(document.responseBlocks[0].usedResponses(), 1);
}

// A full table has no end marker, so the file may end right after it.
TEST(ProjectFile, FullBranchOrBlockAtTheEndOfTheFileIsWhole) {
  DialogueDocument fullBranch;
  fullBranch.editBranch(0).lineCount = kLinesPerBranch;
  for (int j = 0; j < kLinesPerBranch; ++j)
    fullBranch.editBranch(0).lines.slot(j) = {std::string(kRemark), "", "r", "", 0};
  DialogueDocument fullBlock;
  fullBlock.responseBlocks.slot(0).id = 3;
  for (int r = 0; r < kResponsesPerBlock; ++r) fullBlock.responseBlocks.slot(0).responses.slot(r).text = "r";
  for (const DialogueDocument* document : {&fullBranch, &fullBlock}) {
    std::string bytes = WriteProject(*document);
    EXPECT_EQ(WriteProject(Parsed(bytes)), bytes);
    EXPECT_EQ(WriteProject(Parsed(bytes + "\n\n")), bytes);
  }
}

TEST(ProjectFile, DamagedFilesAreRefusedWithTheLineNumber) {
  struct Case {
    const char* name;
    std::string bytes;
    int line;
    std::string_view messagePart;
  };
  std::string header = "V1.2\n\n##ENDCHARLIST##\n";
  std::string branchA = "##DIALOGBRANCH##\nA\n0\n##ENDBRANCH##\n";
  std::string tooManyBlocks = header + "0\n" + branchA;
  for (int k = 0; k < kBlockSlots + 1; ++k)
    tooManyBlocks += "##RESPONSEBLOCK##\n" + std::to_string(k + 1) + "\nr\n\n\n0\n1\n0\n##ENDRESPONSE##\n";
  std::string tooManyLines = header + "0\n##DIALOGBRANCH##\nA\n1000\n";
  for (int j = 0; j < kLinesPerBranch + 1; ++j) tooManyLines += "Remark\n\nr\n\n0\n";
  std::string tooManyResponses = header + "0\n" + branchA + "##RESPONSEBLOCK##\n1\n";
  for (int r = 0; r < kResponsesPerBlock + 50; ++r) tooManyResponses += "r" + std::to_string(r) + "\n\n\n0\n1\n0\n";
  tooManyResponses += "##ENDRESPONSE##\n";
  std::string utf16;
  for (char c : std::string_view("V1.2\n")) utf16 += std::string{c, '\0'};
  const Case cases[] = {
      {"branch index too high", header + "500\n", 4, "last branch index 500"},
      {"branch index negative", header + "-1\n", 4, "last branch index -1"},
      {"number quoted as written", header + "99999999999999999999999\n", 4, "index 99999999999999999999999 is"},
      {"line count too high", header + "0\n##DIALOGBRANCH##\nA\n1001\n", 7, "line count 1001"},
      {"line count negative", header + "0\n##DIALOGBRANCH##\nA\n-3\n", 7, "line count -3"},
      {"more branches than counted", header + "0\n" + branchA + branchA, 9,
       "more branches than announced on line 4 (last branch index 0)"},
      {"fewer branches than counted", header + "1\n" + branchA + "##RESPONSEBLOCK##\n1\nr\n\n\n0\n1\n0\n", 9,
       "fewer branches than announced on line 4"},
      {"more than 1000 lines", tooManyLines, 8 + 5 * kLinesPerBranch, "branch \"A\" holds more than 1000 lines"},
      {"more than 100 responses", tooManyResponses, 10 + 6 * kResponsesPerBlock + 1,
       "response block 1 holds more than 100 responses"},
      {"more than 500 blocks", tooManyBlocks, 8 + 9 * kBlockSlots + 1, "more than 500 response blocks"},
      {"no character list end", "V1.2\npath\nGuy\nguy\n", 5, "##ENDCHARLIST##"},
      {"empty file", "", 0, "empty"},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + header, 1, "UTF-8"},
      {"UTF-16 little-endian", "\xFF\xFE" + utf16, 1, "UTF-16"},
      {"UTF-16 big-endian", "\xFE\xFF" + utf16.substr(1) + '\0', 1, "UTF-16"},
      {"UTF-16 without a byte-order mark", utf16, 1, "UTF-16"},
  };
  for (const Case& c : cases) {
    DialogueDocument document;
    Status status = ReadProject(c.bytes, document);
    EXPECT_FALSE(status.ok) << c.name;
    EXPECT_EQ(status.line, c.line) << c.name;
    EXPECT_NE(status.message.find(c.messagePart), std::string::npos) << c.name << ": " << status.message;
  }
}

TEST(ProjectFile, TrailingEmptyLinesAfterTheLastBlockAreHarmless) {
  DialogueDocument document = Parsed(std::string(kSampleBytes) + "\n\n");
  EXPECT_EQ(document.responseBlocks[0].id, 4);
  EXPECT_EQ(WriteProject(document), kSampleBytes);
}

TEST(ProjectFileLoad, ReplacesTheDocumentOnlyWhenTheFileWasRead) {
  TempDir dir;
  std::string good = dir.file("good.tlwdlg");
  WriteBytes(good, kSampleBytes);
  std::string damaged = dir.file("damaged.tlwdlg");
  WriteBytes(damaged, "V1.2\n\n##ENDCHARLIST##\n900\n");

  DialogueDocument document;
  document.editBranch(0).name = "Unsaved work";
  document.changed = 1;
  for (const std::string& path : {dir.file("missing.tlwdlg"), dir.path().string(), damaged}) {
    Status status = LoadProject(path, document);
    EXPECT_FALSE(status.ok) << path;
    EXPECT_FALSE(status.message.empty()) << path;
    EXPECT_EQ(document.branch(0).name, "Unsaved work") << path;
    EXPECT_EQ(document.changed, 1) << path;
  }
  ASSERT_TRUE(LoadProject(good, document).ok);
  EXPECT_EQ(document.branch(0).name, "Start");
  EXPECT_EQ(document.currentFile, good);
  EXPECT_EQ(document.changed, 0);
}

TEST(ProjectFileLoad, TruncatedFileLoadsAndSaysWhereItEnds) {
  TempDir dir;
  std::string path = dir.file("cut.tlwdlg");
  WriteBytes(path, kSampleBytes.substr(0, kSampleBytes.find("Remark")));
  DialogueDocument document;
  LoadResult result = LoadProject(path, document);
  ASSERT_TRUE(result.ok) << result.message;
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0].line, 16);
  EXPECT_EQ(document.branch(0).lines[0].soundFile, "voice\\hello.ogg");
}

TEST(ProjectFileLoad, FileWithoutVersionLineKeepsTheOpenEnginePath) {
  TempDir dir;
  std::string path = dir.file("old.tlwdlg");
  WriteBytes(path, "old header\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nX\n0\n##ENDBRANCH##\n");
  DialogueDocument document;
  document.engineProjectPath = "/games/demo/demo.wpr";
  ASSERT_TRUE(LoadProject(path, document).ok);
  EXPECT_EQ(document.engineProjectPath, "/games/demo/demo.wpr");
  EXPECT_EQ(document.branch(0).name, "X");
}

TEST(ProjectFileLoad, LargeFileIsReadAcrossChunksExactly) {
  DialogueDocument document;
  document.lastBranchIndex = 30;
  for (int b = 0; b <= 30; ++b) {
    DialogueBranch& branch = document.editBranch(b);
    branch.name = "B" + std::to_string(b);
    branch.lineCount = kLinesPerBranch;
    for (int j = 0; j < kLinesPerBranch; ++j)
      branch.lines.slot(j) = {std::string(kTalkline), "Guy", std::string(j % 37, 'x') + "!", "v.ogg", 0};
  }
  std::string bytes = WriteProject(document);
  ASSERT_GT(bytes.size(), 1u << 20);
  TempDir dir;
  std::string path = dir.file("big.tlwdlg");
  WriteBytes(path, bytes);
  DialogueDocument loaded;
  ASSERT_TRUE(LoadProject(path, loaded).ok);
  EXPECT_EQ(WriteProject(loaded), bytes);
}

TEST(ProjectFileSave, SavedFileHoldsTheWrittenBytes) {
  TempDir dir;
  std::string path = dir.file("p.tlwdlg");
  DialogueDocument document = Parsed(kSampleBytes);
  ASSERT_TRUE(SaveProject(document, path).ok);
  EXPECT_EQ(ReadBytes(path), kSampleBytes);
}

}  // namespace
}  // namespace tellwright
