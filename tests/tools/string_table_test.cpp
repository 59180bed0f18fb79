#include "tools/string_table.h"

#include <gtest/gtest.h>

#include "tools/base_strings.h"
#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

struct Entry {
  std::string key;
  std::string text;
  int line;
  bool cut = false;
  friend bool operator==(const Entry&, const Entry&) = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << "{" << e.key << ", " << e.text << ", " << e.line << (e.cut ? ", cut}" : "}");
}

struct ReadCase {
  const char* title;
  std::string bytes;
  TableEncoding encoding;
  std::vector<Entry> entries;
  std::vector<std::pair<TableNote::Kind, int>> notes;  // kind and line
};

const ReadCase kReadCases[] = {
    {"byte-order mark, comments and empty lines",
     "\xEF\xBB\xBF; Start\r\n\r\nK1\tHello\r\n;K2\tnot an entry\r\nK3\tCaf\xC3\xA9\r\n",
     TableEncoding::Utf8,
     {{"K1", "Hello", 3}, {"K3", "Caf\xC3\xA9", 5}},
     {}},
    {"a tab separates, else the first blank",
     "K1 two words\r\nK 2\tafter the tab\r\nK3\t\r\n",
     TableEncoding::Windows1252,
     {{"K1", "two words", 1}, {"K 2", "after the tab", 2}, {"K3", "", 3}},
     {}},
    {"bar is a line break", "K1\tone|two||three\r\n", TableEncoding::Windows1252, {{"K1", "one\ntwo\n\nthree", 1}}, {}},
    {"Windows-1252 without the mark", "K1\tcaf\xE9 \x80\r\n", TableEncoding::Windows1252,
     {{"K1", "caf\xC3\xA9 \xE2\x82\xAC", 1}}, {}},
    {"bare LF and a last line without an end are cut",
     "K1\tone\nK2\ttwo\r\nK3\tthree",
     TableEncoding::Windows1252,
     {{"K1", "one", 1, true}, {"K2", "two", 2}, {"K3", "three", 3, true}},
     {{TableNote::kCut, 1}, {TableNote::kCut, 3}}},
    {"duplicates regardless of letter case",
     "key\tfirst\r\nKEY\tsecond\r\nKey\tthird\r\n",
     TableEncoding::Windows1252,
     {{"key", "first", 1}, {"KEY", "second", 2}, {"Key", "third", 3}},
     {{TableNote::kDuplicate, 2}, {TableNote::kDuplicate, 3}}},
    {"lines the engine skips",
     "JUSTAKEY\r\n\tno key\r\nK1\tok\r\n",
     TableEncoding::Windows1252,
     {{"K1", "ok", 3}},
     {{TableNote::kNoSeparator, 1}, {TableNote::kEmptyKey, 2}}},
    {"UTF-8 without the mark",
     "K1\tplain\r\nK2\tcaf\xC3\xA9\r\nK3\tna\xC3\xAFve\r\n",
     TableEncoding::Windows1252,
     {{"K1", "plain", 1}, {"K2", "caf\xC3\x83\xC2\xA9", 2}, {"K3", "na\xC3\x83\xC2\xAFve", 3}},
     {{TableNote::kLooksUtf8, 2}}},
    {"bytes that are no UTF-8 after the mark",
     "\xEF\xBB\xBFK1\tcaf\xE9\r\n",
     TableEncoding::Utf8,
     {{"K1", "caf\xE9", 1}},
     {{TableNote::kBadUtf8, 1}}},
};

class StringTableReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StringTableReadTest, ReadsAsTheEngineDoes) {
  StringTable table = ReadStringTable(GetParam().bytes);
  EXPECT_EQ(table.encoding, GetParam().encoding);
  std::vector<Entry> entries;
  for (const StringTableEntry& e : table.entries) entries.push_back({e.key, e.text, e.line, e.cut});
  EXPECT_EQ(entries, GetParam().entries);
  std::vector<std::pair<TableNote::Kind, int>> notes;
  for (const TableNote& note : table.notes) notes.push_back({note.kind, note.line});
  EXPECT_EQ(notes, GetParam().notes);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringTableReadTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(StringTableTest, TheLaterOfTwoEntriesWinsAndCutTextsLoseTheirLastCharacter) {
  StringTable table = ReadStringTable("k1\tfirst\r\nK1\tsecond\r\nK2\tcaf\xC3\xA9\nK3\tab|c\n");
  ASSERT_NE(table.find("K1"), nullptr);
  EXPECT_EQ(table.find("k1")->text, "second");
  EXPECT_EQ(table.find("K4"), nullptr);
  // Windows-1252: "caf\xC3\xA9" is five characters, the last one cut.
  EXPECT_EQ(ShownTableText(*table.find("K2")), "caf\xC3\x83");
  EXPECT_EQ(ShownTableText(*table.find("K3")), "ab\n");
  StringTable utf8 = ReadStringTable("\xEF\xBB\xBFK2\tcaf\xC3\xA9\n");
  EXPECT_EQ(ShownTableText(*utf8.find("K2")), "caf");

  // The player gets texts in the encoding it plays in.
  StringLookup lookup = TableLookup(table, TableEncoding::Windows1252);
  EXPECT_EQ(lookup("k2"), "caf\xC3");
  EXPECT_EQ(lookup("nothing"), std::nullopt);
  EXPECT_EQ(TableLookup(utf8, TableEncoding::Utf8)("K2"), "caf");
  StringTable russian = ReadStringTable("\xEF\xBB\xBFK1\t\xD0\x9A\xD0\xBE\xD1\x84\xD0\xB5 \xC3\xA9\r\n");
  EXPECT_EQ(TableLookup(russian, TableEncoding::Windows1252)("K1"), "???? \xE9");
  EXPECT_EQ(TableLookup(russian, TableEncoding::Utf8)("K1"), "\xD0\x9A\xD0\xBE\xD1\x84\xD0\xB5 \xC3\xA9");
}

TEST(StringTableTest, WriterEndsLinesWithCrLfAndMarksUtf8) {
  for (TableEncoding encoding : {TableEncoding::Utf8, TableEncoding::Windows1252}) {
    StringTableWriter writer(encoding);
    writer.comment("Start");
    writer.entry("K1", "Hello\nthere");
    writer.entry("K2", "Caf\xC3\xA9");
    std::string bytes = writer.take();
    if (encoding == TableEncoding::Utf8)
      EXPECT_EQ(bytes, "\xEF\xBB\xBF; Start\r\nK1\tHello|there\r\nK2\tCaf\xC3\xA9\r\n");
    else
      EXPECT_EQ(bytes, "; Start\r\nK1\tHello|there\r\nK2\tCaf\xE9\r\n");
    StringTable read = ReadStringTable(bytes);
    EXPECT_TRUE(read.notes.empty());
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[0].text, "Hello\nthere");
    EXPECT_EQ(read.entries[1].text, "Caf\xC3\xA9");
  }
}

TEST(BaseTableTest, KeyedTextsInOrderWithABranchCommentEach) {
  DialogueDocument d = KeyedProject();
  BaseStrings strings = CollectBaseStrings(d);
  EXPECT_TRUE(strings.notes.empty());
  EXPECT_EQ(WriteBaseTable(d, strings, TableEncoding::Utf8),
            "\xEF\xBB\xBF"
            "; Start\r\n"
            "DEMO0001\tHello|there, \"you\"\r\n"
            "DEMO0002\tBye\r\n"
            "DEMO0003\tWho?\r\n"
            "; Intro\r\n"
            "DEMO0004\tCaf\xC3\xA9\r\n");
  EXPECT_EQ(WriteBaseTable(d, strings, TableEncoding::Windows1252),
            "; Start\r\nDEMO0001\tHello|there, \"you\"\r\nDEMO0002\tBye\r\nDEMO0003\tWho?\r\n; Intro\r\n"
            "DEMO0004\tCaf\xE9\r\n");
}

TEST(BaseTableTest, KeysATableCannotHoldAndSharedKeysAreNoted) {
  DialogueDocument d = KeyedProject();
  SetBranch(d, 1, "Other",
            {Talk("Guy", "//empty key"), Talk("Guy", "/A B/blank"), Talk("Guy", "/A~nB/line break"),
             Talk("Guy", "/demo0001/Hello~nthere, ~\"you~\""), Talk("Guy", "/DEMO0002/Not bye"),
             Talk("Guy", "/K/a|b")});
  BaseStrings strings = CollectBaseStrings(d);
  std::vector<std::string> keys;
  for (const BaseString& s : strings.strings) keys.push_back(s.key + "=" + std::to_string(s.uses.size()));
  // The same text under one key is one entry; another text under it is a
  // second entry, as the project says it.
  EXPECT_EQ(keys, (std::vector<std::string>{"DEMO0001=2", "DEMO0002=1", "DEMO0003=1", "DEMO0002=1", "K=1",
                                             "DEMO0004=1"}));
  std::vector<ProblemPlace> noted;
  for (const BaseStringNote& note : strings.notes) noted.push_back(note.place);
  EXPECT_EQ(noted, (std::vector<ProblemPlace>{{.branch = 1, .line = 0},
                                              {.branch = 1, .line = 1},
                                              {.branch = 1, .line = 2},
                                              {.branch = 1, .line = 4},
                                              {.branch = 1, .line = 5}}));
  EXPECT_NE(strings.notes[3].message.find("'DEMO0002' also stands before another text at Start, line 4, response 1"),
            std::string::npos)
      << strings.notes[3].message;
}

}  // namespace
}  // namespace tellwright
