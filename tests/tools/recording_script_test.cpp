#include "tools/recording_script.h"

#include <gtest/gtest.h>

#include <map>

#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

TEST(CsvFieldTest, QuotesWhatWouldSplitTheField) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain text", "plain text"}, {"a,b", "\"a,b\""},   {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"cr\r", "\"cr\r\""},         {"lf\n", "\"lf\n\""}, {"", ""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field);
}

using Rows = std::vector<std::vector<std::string>>;

// Guy is played by two entities; the engine project's folder holds
// voice/HELLO.ogg, not night.ogg.
TEST(RecordingScriptTest, ListsEverySpokenLineOncePerEntity) {
  DialogueDocument d = ToolsDocument();
  d.characters.push_back({"Guy", "guy2"});
  d.editBranch(1).lines.slot(1).soundFile = "voice\\night.ogg";
  const std::map<std::string, std::vector<std::string>> folders = {{"C:/Game", {"voice"}},
                                                                   {"C:/Game/voice", {"HELLO.ogg"}}};
  FolderLookup here = [&](const std::string& folder) -> std::optional<std::vector<std::string>> {
    auto it = folders.find(folder);
    if (it == folders.end()) return std::nullopt;
    return it->second;
  };
  FolderLookup elsewhere = [](const std::string&) -> std::optional<std::vector<std::string>> { return std::nullopt; };
  const Rows expected = {
      {"Branch", "Line", "Response", "Character", "Entity", "Key", "Text", "Sound file", "Words",
       "Sound file exists"},
      {"Start", "1", "", "Guy", "guy", "", "Hello there, hello!", "voice\\hello.ogg", "3", "yes"},
      {"Start", "1", "", "Guy", "guy2", "", "Hello there, hello!", "voice\\hello.ogg", "3", "yes"},
      {"Start", "2", "1", "Guy", "guy", "", "Hello?", "", "1", ""},
      {"Start", "2", "1", "Guy", "guy2", "", "Hello?", "", "1", ""},
      {"Start", "5", "1", "\xC3\x89lise", "elise", "", "Hello?", "", "1", ""},
      {"Hello_World", "1", "", "\xC3\x89lise", "elise", "", "\xC3\xA9lise, \"caf\xC3\xA9\"?", "", "2", ""},
      {"Hello_World", "2", "", "Narrator", "", "", "Night falls.", "voice\\night.ogg", "2", "no"},
  };
  for (bool folderHere : {true, false}) {
    std::string csv = WriteRecordingScript(d, folderHere ? here : elsewhere);
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    Rows rows = CsvRows(csv.substr(3));
    Rows want = expected;
    if (!folderHere) want[1][9] = want[2][9] = want[7][9] = "";
    EXPECT_EQ(rows, want);
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
  }
}

// A block run by many lines is listed at each of them, for the character of
// each, however often the same character runs it.
TEST(RecordingScriptTest, ListsABlockAtEveryLineThatRunsIt) {
  DialogueDocument d = ToolsDocument();
  d.editBranch(0).lines.slot(5) = BlockLine("Guy", 7);
  d.editBranch(0).lineCount = 6;
  d.editBranch(1).lines.slot(2) = BlockLine("\xC9lise", 7);
  d.editBranch(1).lineCount = 3;
  std::map<std::string, std::vector<std::string>> runs;  // branch, line, character of each block row
  for (const std::vector<std::string>& row : CsvRows(WriteRecordingScript(d, {}).substr(3)))
    if (row[2] == "1") runs[row[0] + " " + row[1]].push_back(row[3] + " " + row[6]);
  const std::map<std::string, std::vector<std::string>> expected = {
      {"Start 2", {"Guy Hello?"}},
      {"Start 5", {"\xC3\x89lise Hello?"}},
      {"Start 6", {"Guy Hello?"}},
      {"Hello_World 3", {"\xC3\x89lise Hello?"}},
  };
  EXPECT_EQ(runs, expected);
}

}  // namespace
}  // namespace tellwright
