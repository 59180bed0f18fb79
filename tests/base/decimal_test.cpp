#include "base/decimal.h"

#include <gtest/gtest.h>

namespace tellwright {
namespace {

TEST(Decimal, ParsesLikeTheFileFormatsDo) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      {"0", 0},           {"42", 42},     {"-7", -7},          {"+5", 5},
      {"  \t12", 12},     {"12abc", 12},  {"", 0},             {"abc", 0},
      {"-", 0},           {"$1F", 0},     {"%101", 0},         {"007", 7},
      {" - 3", 0},        {"3 4", 3},     {"2147483647", 2147483647},
      {"99999999999999999999", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"-99999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(Decimal, WritesPlainDecimal) {
  struct Case {
    int64_t value;
    const char* text;
  };
  const Case cases[] = {{0, "0"}, {7, "7"}, {-12, "-12"}, {1000, "1000"}, {-2147483648LL, "-2147483648"}};
  for (const Case& c : cases) {
    std::string out = "x";
    AppendDecimal(out, c.value);
    EXPECT_EQ(out, std::string("x") + c.text);
  }
}

}  // namespace
}  // namespace tellwright
