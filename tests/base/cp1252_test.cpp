#include "base/cp1252.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp1252_case.h"

namespace tellwright {
namespace {

TEST(Cp1252Test, EveryByteHasACharacterThatEncodesBackToIt) {
  for (int byte = 0; byte < 256; ++byte) {
    char32_t character = Cp1252ToUnicode(static_cast<unsigned char>(byte));
    EXPECT_EQ(UnicodeToCp1252(character), static_cast<unsigned char>(byte)) << byte;
  }
}

TEST(Cp1252Test, TypographicCharactersAndUndefinedBytes) {
  struct Case {
    unsigned char byte;
    char32_t character;
  };
  const Case cases[] = {
      {0x41, U'A'},      {0x80, U'\u20AC'}, {0x81, 0x81},      {0x8A, U'\u0160'}, {0x8D, 0x8D},
      {0x8F, 0x8F},      {0x90, 0x90},      {0x93, U'\u201C'}, {0x96, U'\u2013'}, {0x9D, 0x9D},
      {0x9F, U'\u0178'}, {0xA0, 0xA0},      {0xA7, U'\u00A7'}, {0xE9, U'\u00E9'}, {0xFF, U'\u00FF'},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp1252ToUnicode(c.byte), c.character) << int(c.byte);
}

TEST(Cp1252Test, CharactersWithoutAByteAreNotStored) {
  for (char32_t character : {char32_t(0x80), char32_t(0x8A), char32_t(0x9F), char32_t(0x100), char32_t(0x3A9),
                             char32_t(0x20AD), char32_t(0x1F600)})
    EXPECT_FALSE(UnicodeToCp1252(character).has_value()) << int(character);
}

TEST(Cp1252CaseTest, CapitalsFoldToTheirSmallLettersAndNothingElseChanges) {
  std::string capitals = "AZ\x8A\x8C\x8E\x9F\xC0\xD6\xD8\xDE";
  std::string smalls = "az\x9A\x9C\x9E\xFF\xE0\xF6\xF8\xFE";
  for (size_t i = 0; i < capitals.size(); ++i) {
    EXPECT_EQ(FoldCase1252(capitals[i]), smalls[i]) << i;
    EXPECT_EQ(FoldCase1252(smalls[i]), smalls[i]) << i;
  }
  for (char unchanged : std::string("@[`{\xD7\xF7\xDF\xB5\x80\x00\xFF", 11))
    EXPECT_EQ(FoldCase1252(unchanged), unchanged);
  EXPECT_TRUE(EqualsIgnoringCase1252("\xC4rger", "\xE4RGER"));
  EXPECT_FALSE(EqualsIgnoringCase1252("a", "ab"));
  EXPECT_TRUE(LessIgnoringCase1252("alpha", "Beta"));
  EXPECT_FALSE(LessIgnoringCase1252("ALPHA", "alpha"));
  EXPECT_EQ(FindIgnoringCase1252("xxABc", "abC", 1), 2u);
  EXPECT_EQ(FindIgnoringCase1252("abc", "", 0), std::string_view::npos);
  EXPECT_EQ(FindIgnoringCase1252("abc", "c", 4), std::string_view::npos);
}

}  // namespace
}  // namespace tellwright
