#include "export/wme_export.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "export/sample_documents.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

using namespace testing;

using Lines = std::vector<std::string>;

Lines operator+(Lines first, const Lines& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::string Crlf(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) (bytes += line) += "\r\n";
  return bytes;
}

TEST(WmeExportTest, WorkedExampleComesOutByteForByte) {
  const std::string expected =
      "function Start()\r\n"
      "{\r\n"
      "\r\n"
      "   \r\n"
      "   guy.Talk(\"Hello\");\r\n"
      "   \r\n"
      "   Game.StartDlgBranch(\"Start\");\r\n"
      "   // Start of response loop\r\n"
      "   \r\n"
      "   var Select0;\r\n"
      "   var Loop0 = true;\r\n"
      "   \r\n"
      "   while(Loop0)\r\n"
      "   {\r\n"
      "      \r\n"
      "      Game.AddResponse(0,\"Bye\");\r\n"
      "      Game.AddResponseOnce(1,\"Who are you?\");\r\n"
      "      \r\n"
      "      Select0 = Game.GetResponse();\r\n"
      "      \r\n"
      "      if(Select0==0)\r\n"
      "      {\r\n"
      "         guy.Talk(\"Bye\");\r\n"
      "         Loop0 = false;\r\n"
      "      }\r\n"
      "      \r\n"
      "      if(Select0==1)\r\n"
      "      {\r\n"
      "         Intro();\r\n"
      "      }\r\n"
      "      \r\n"
      "   }\r\n"
      "   Game.EndDlgBranch(\"Start\");\r\n"
      "   \r\n"
      "   \r\n"
      "}\r\n"
      "\r\n"
      "\r\n";
  EXPECT_EQ(ExportWmeScriptBytes(WorkedExample()), expected);
}

TEST(WmeExportTest, BranchWithoutLinesIsNineLines) {
  DialogueDocument document;
  EXPECT_EQ(ExportWmeScriptBytes(document), "function Dialog_Default()\r\n{\r\n\r\n   \r\n   \r\n   \r\n}\r\n\r\n\r\n");
}

// The function a branch named `name` with `body` (indent included) exports to.
std::string Function(const std::string& name, const Lines& body) {
  return Crlf(Lines{"function " + name + "()", "{", "", "   "} + body + Lines{"   ", "   ", "}", "", ""});
}

// The loop's opening lines, for the counter value `n`.
Lines LoopHead(const std::string& branch, int n) {
  std::string number = std::to_string(n);
  return {"   ",
          "   Game.StartDlgBranch(\"" + branch + "\");",
          "   // Start of response loop",
          "   ",
          "   var Select" + number + ";",
          "   var Loop" + number + " = true;",
          "   ",
          "   while(Loop" + number + ")",
          "   {",
          "      "};
}

struct WmeCase {
  const char* title;
  std::function<void(DialogueDocument&)> build;
  std::string expected;
};

const WmeCase kCases[] = {
    {"talkline with sound file",
     [](DialogueDocument& d) {
       d.characters.push_back({"Guy", "guy"});
       SetBranch(d, 0, "B", {Talk("Guy", "Hi", "voice\\hi.ogg")});
     },
     Function("B", {"   guy.Talk(\"Hi\",\"voice\\hi.ogg\");"})},
    {"texts are verbatim, quotes included",
     [](DialogueDocument& d) {
       d.characters.push_back({"Guy", "guy"});
       SetBranch(d, 0, "B", {Talk("Guy", "Say \"ah\"  "), Code("  x = \"1\";"), Remark("\"hm\" \\n")});
     },
     Function("B", {"   guy.Talk(\"Say \"ah\"  \");", "     x = \"1\";", "   // \"hm\" \\n"})},
    {"speaker not in the list writes nothing, a shared real name writes twice",
     [](DialogueDocument& d) {
       d.characters = {{"Guy", "guy"}, {"Ann", "ann"}, {"Guy", "guy2"}};
       SetBranch(d, 0, "B", {Talk("Bob", "a"), Talk("Guy", "b"), Talk("guy", "c")});
     },
     Function("B", {"   guy.Talk(\"b\");", "   guy2.Talk(\"b\");"})},
    {"unknown kinds and empty slots write nothing",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "B", {Code("one")});
       d.editBranch(0).lines.slot(1) = {"Comment", "", "x", "", 0};
       d.editBranch(0).lines.slot(3) = Code("two");
       d.editBranch(0).lines.slot(4) = {"Codex", "", "three", "", 0};
       d.editBranch(0).lineCount = 5;
     },
     Function("B", {"   one", "   two", "   three"})},
    {"condition and visibility in the menu",
     [](DialogueDocument& d) {
       SetBranch(d, 0, "B", {BlockLine("", 7)});
       AddBlock(d, 0, 7,
                {{.text = "a", .visibility = kOnceGame, .conditions = "x==1"},
                 {.text = "b", .visibility = 5},
                 {.text = "c", .visibility = kOnce, .conditions = " y "}});
     },
     Function("B", LoopHead("B", 0) + Lines{"      if(x==1) Game.AddResponseOnceGame(0,\"a\");",
                                            "      Game.AddResponse(1,\"b\");",
                                            "      if( y ) Game.AddResponseOnce(2,\"c\");",
                                            "      ",
                                            "      Select0 = Game.GetResponse();",
                                            "      ",
                                            "      if(Select0==0)",
                                            "      {",
                                            "      }",
                                            "      ",
                                            "      if(Select0==1)",
                                            "      {",
                                            "      }",
                                            "      ",
                                            "      if(Select0==2)",
                                            "      {",
                                            "      }",
                                            "      ",
                                            "   }",
                                            "   Game.EndDlgBranch(\"B\");"})},
    {"responses after the first empty one are left out; handlers say, link, leave in that order",
     [](DialogueDocument& d) {
       d.characters = {{"Guy", "guy"}, {"Guy", "guy2"}};
       SetBranch(d, 0, "B", {BlockLine("Guy", 2)});
       AddBlock(d, 0, 2,
                {{.text = "a", .leaveLoop = 1, .sayResponse = 1, .linkBranch = "C"},
                 {.text = ""},
                 {.text = "hidden", .leaveLoop = 1}});
     },
     Function("B", LoopHead("B", 0) + Lines{"      Game.AddResponse(0,\"a\");", "      ",
                                            "      Select0 = Game.GetResponse();", "      ", "      if(Select0==0)",
                                            "      {", "         guy.Talk(\"a\");", "         guy2.Talk(\"a\");",
                                            "         C();", "         Loop0 = false;", "      }", "      ", "   }",
                                            "   Game.EndDlgBranch(\"B\");"})},
};

class WmeExportCaseTest : public ::testing::TestWithParam<WmeCase> {};

TEST_P(WmeExportCaseTest, WritesTheExpectedBytes) {
  DialogueDocument document;
  GetParam().build(document);
  EXPECT_EQ(ExportWmeScriptBytes(document), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, WmeExportCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(WmeExportTest, UnmatchedBlockWritesAnEmptyLoopAndKeepsTheCounter) {
  DialogueDocument document;
  SetBranch(document, 0, "B", {BlockLine("", 99), BlockLine("", 1)});
  AddBlock(document, 0, 1, {});
  Lines tail = {"   }", "   Game.EndDlgBranch(\"B\");"};
  Lines emptyMenu = {"      ", "      Select0 = Game.GetResponse();", "      "};
  EXPECT_EQ(ExportWmeScriptBytes(document),
            Function("B", LoopHead("B", 0) + tail + LoopHead("B", 0) + emptyMenu + tail));
}

TEST(WmeExportTest, CounterRunsAcrossBranches) {
  DialogueDocument document;
  SetBranch(document, 0, "A", {BlockLine("", 1), BlockLine("", 1)});
  SetBranch(document, 1, "B", {BlockLine("", 1)});
  AddBlock(document, 0, 1, {{.text = "x", .leaveLoop = 1}});
  std::string bytes = ExportWmeScriptBytes(document);
  size_t second = bytes.find("function B()");
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(bytes.find("var Loop1 = true;"), std::string::npos);
  EXPECT_LT(bytes.find("var Loop1 = true;"), second);
  EXPECT_NE(bytes.find("   var Select2;\r\n", second), std::string::npos);
  EXPECT_NE(bytes.find("         Loop2 = false;\r\n", second), std::string::npos);
}

TEST(WmeExportTest, FirstBlockWithTheIdIsUsed) {
  DialogueDocument document;
  SetBranch(document, 0, "B", {BlockLine("", 4)});
  AddBlock(document, 2, 4, {{.text = "first"}});
  AddBlock(document, 3, 4, {{.text = "second"}});
  std::string bytes = ExportWmeScriptBytes(document);
  EXPECT_NE(bytes.find("Game.AddResponse(0,\"first\");"), std::string::npos);
  EXPECT_EQ(bytes.find("second"), std::string::npos);
}

TEST(WmeExportTest, WritesTheFileAndReportsOneThatCannotBeWritten) {
  TempDir dir;
  DialogueDocument document = WorkedExample();
  std::string path = dir.file("dialogue.script");
  ASSERT_TRUE(ExportWmeScript(document, path).ok);
  EXPECT_EQ(ReadBytes(path), ExportWmeScriptBytes(document));

  Status missingFolder = ExportWmeScript(document, dir.file("missing/dialogue.script"));
  EXPECT_FALSE(missingFolder.ok);
  EXPECT_NE(missingFolder.message.find("missing/dialogue.script"), std::string::npos);
  EXPECT_FALSE(ExportWmeScript(document, dir.path().string()).ok);
}

}  // namespace
}  // namespace tellwright
