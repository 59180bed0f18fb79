#include "export/engine_text.h"

#include <gtest/gtest.h>

namespace tellwright {
namespace {

TEST(EngineTextTest, ConstantConditionsHaveTheEnginesValue) {
  const std::pair<const char*, std::optional<bool>> cases[] = {
      {"true", true},        {"false", false},       {"null", false},          {"1", true},
      {"0", false},          {"-2", true},           {"0.0", false},           {"0.5", true},
      {"\"yes\"", true},     {"\"TRUE\"", true},     {"\"1\"", true},          {"\"no\"", false},
      {"\"\"", false},       {"\"1.0\"", false},     {"\"~\"yes~\"\"", false}, {" ( false ) ", false},
      {"!0", true},          {"!(true)", false},     {"((1))", true},          {"x", std::nullopt},
      {"TRUE", std::nullopt}, {"1.", std::nullopt},  {"1 == 1", std::nullopt}, {"(a) && (b)", std::nullopt},
      {"\"a\" + \"b\"", std::nullopt}, {"Game.GetGlobal(\"x\")", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [condition, value] : cases) EXPECT_EQ(ConstantConditionValue(condition), value) << condition;
}

TEST(EngineTextTest, StringsAsTheGameGetsThem) {
  EXPECT_EQ(UnescapedScriptString("a~nb ~~ ~\" ~x ~"), "a\nb ~ \" x ~");
  const std::pair<const char*, const char*> split[] = {{"/k1/Hello", "k1|Hello"}, {"//rest", "|rest"},
                                                       {"/k/", "k|"},             {"/no end", ""},
                                                       {"x/k/y", ""},             {"", ""}};
  for (const auto& [text, parts] : split) {
    std::optional<StringTableText> found = SplitStringTableText(text);
    EXPECT_EQ(found ? std::string(found->key) + "|" + std::string(found->rest) : "", parts) << text;
  }
}

}  // namespace
}  // namespace tellwright
