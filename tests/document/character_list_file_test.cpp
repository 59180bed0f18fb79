#include "document/character_list_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tellwright {
namespace {

TEST(CharacterListFile, ReadsPairsOfLines) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<Character> characters;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"two characters", "Guy\nguy\nElaine\nactor_elaine\n", {{"Guy", "guy"}, {"Elaine", "actor_elaine"}}},
      {"no final line end", "Guy\nguy", {{"Guy", "guy"}}},
      {"odd number of lines", "Guy\nguy\nLeChuck\n", {{"Guy", "guy"}, {"LeChuck", ""}}},
      {"CR LF", "Guy\r\nguy\r\n", {{"Guy", "guy"}}},
      {"CR", "Guy\rguy\r", {{"Guy", "guy"}}},
      {"empty names kept", "\n\n", {{"", ""}}},
      {"duplicates kept", "A\na\nA\nb\n", {{"A", "a"}, {"A", "b"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadCharacterList(c.bytes), c.characters) << c.name;
}

TEST(CharacterListFile, WritesTwoLinesPerCharacterAndNothingForNone) {
  EXPECT_EQ(WriteCharacterList({}), "");
  EXPECT_EQ(WriteCharacterList({{"Guy", "guy"}, {"M\xE9lanie", "melanie"}}), "Guy\nguy\nM\xE9lanie\nmelanie\n");
}

TEST(CharacterListFile, LoadReplacesTheListOnlyWhenTheFileWasRead) {
  testing::TempDir dir;
  std::vector<Character> characters = {{"Kept", "kept"}};
  EXPECT_FALSE(LoadCharacterList(dir.file("missing.tlwchr"), characters).ok);
  EXPECT_FALSE(LoadCharacterList(dir.path().string(), characters).ok);
  EXPECT_EQ(characters, (std::vector<Character>{{"Kept", "kept"}}));

  std::string path = dir.file("cast.tlwchr");
  ASSERT_TRUE(SaveCharacterList({{"Guy", "guy"}, {"Stan", "stan"}}, path).ok);
  EXPECT_EQ(testing::ReadBytes(path), "Guy\nguy\nStan\nstan\n");
  ASSERT_TRUE(LoadCharacterList(path, characters).ok);
  EXPECT_EQ(characters, (std::vector<Character>{{"Guy", "guy"}, {"Stan", "stan"}}));
}

TEST(CharacterListFile, TextInAnotherEncodingIsRefusedAtItsFirstLine) {
  testing::TempDir dir;
  const std::pair<std::string, std::string_view> cases[] = {
      {"\xEF\xBB\xBFGuy\nguy\n", "UTF-8"},
      {std::string("\xFF\xFEG\0u\0y\0\n\0", 10), "UTF-16"},
      {std::string("\0G\0u\0y\0\n", 8), "UTF-16"},
  };
  for (const auto& [bytes, encoding] : cases) {
    std::string path = dir.file("cast.tlwchr");
    testing::WriteBytes(path, bytes);
    std::vector<Character> characters = {{"Kept", "kept"}};
    Status status = LoadCharacterList(path, characters);
    EXPECT_FALSE(status.ok) << encoding;
    EXPECT_EQ(status.line, 1) << encoding;
    EXPECT_NE(status.message.find(encoding), std::string::npos) << status.message;
    EXPECT_EQ(characters, (std::vector<Character>{{"Kept", "kept"}}));
  }
}

}  // namespace
}  // namespace tellwright
