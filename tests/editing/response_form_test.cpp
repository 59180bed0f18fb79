#include "editing/response_form.h"

#include <gtest/gtest.h>

namespace tellwright {
namespace {

DialogueDocument WithBranches(std::vector<std::string> names) {
  DialogueDocument document;
  for (size_t i = 0; i < names.size(); ++i) document.editBranch(static_cast<int>(i)).name = names[i];
  document.lastBranchIndex = static_cast<int32_t>(names.size()) - 1;
  return document;
}

TEST(LinkEntriesTest, AnEmptyEntryThenEveryBranchInOrder) {
  DialogueDocument document = WithBranches({"Start", "Shop", "Start"});
  document.editBranch(3).name = "not in use";
  EXPECT_EQ(LinkEntries(document), (std::vector<std::string>{"", "Start", "Shop", "Start"}));
}

struct FindCase {
  const char* name;
  std::string link;
  int expected;
};

class FindLinkEntryTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindLinkEntryTest, MatchesWholeNamesIgnoringCase) {
  std::vector<std::string> entries{"", "Intro", "Shop", "intro", "\xC9t\xE9", "Shop"};
  EXPECT_EQ(FindLinkEntry(entries, GetParam().link), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindLinkEntryTest,
                         ::testing::Values(FindCase{"Exact", "Shop", 2},
                                           FindCase{"OtherCase", "SHOP", 2},
                                           FindCase{"ExactCaseWins", "intro", 3},
                                           FindCase{"FirstOnTies", "INTRO", 1},
                                           FindCase{"AccentedCapitals", "\xE9T\xC9", 4},
                                           FindCase{"Prefix", "Sho", -1},
                                           FindCase{"Longer", "Shops", -1},
                                           FindCase{"Empty", "", -1},
                                           FindCase{"Gone", "Cellar", -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResponseFormTest, LoadsAndReadsBackEveryField) {
  DialogueDocument document = WithBranches({"Start", "Shop"});
  Response response{"Buy it", "hasMoney", "shop", kOnce, 1, 0};
  ResponseForm form = LoadResponseForm(document, response);
  EXPECT_EQ(form.text, "Buy it");
  EXPECT_EQ(form.conditions, "hasMoney");
  EXPECT_EQ(form.chosenLink, 2);
  EXPECT_FALSE(form.always);
  EXPECT_TRUE(form.once);
  EXPECT_FALSE(form.onceGame);
  EXPECT_TRUE(form.leaveLoop);
  EXPECT_FALSE(form.sayResponse);
  // The link comes back as the branch's own spelling.
  EXPECT_EQ(ReadResponseForm(form, response), (Response{"Buy it", "hasMoney", "Shop", kOnce, 1, 0}));
}

TEST(ResponseFormTest, ALinkToAMissingBranchIsStoredEmpty) {
  DialogueDocument document = WithBranches({"Start"});
  Response response{"Go", "", "Cellar", kAlways, 0, 1};
  ResponseForm form = LoadResponseForm(document, response);
  EXPECT_EQ(form.chosenLink, -1);
  EXPECT_EQ(ReadResponseForm(form, response).linkBranch, "");
  form.chosenLink = 0;  // the empty entry
  EXPECT_EQ(ReadResponseForm(form, response).linkBranch, "");
  form.chosenLink = 9;  // no such entry
  EXPECT_EQ(ReadResponseForm(form, response).linkBranch, "");
}

struct VisibilityCase {
  bool always, once, onceGame;
  int32_t old, expected;
};

class VisibilityTest : public ::testing::TestWithParam<VisibilityCase> {};

TEST_P(VisibilityTest, LaterOptionsOverrideAndNoneKeepsTheOldValue) {
  const VisibilityCase& c = GetParam();
  EXPECT_EQ(VisibilityFromOptions(c.always, c.once, c.onceGame, c.old), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, VisibilityTest,
                         ::testing::Values(VisibilityCase{true, false, false, 2, 0},
                                           VisibilityCase{false, true, false, 0, 1},
                                           VisibilityCase{false, false, true, 0, 2},
                                           VisibilityCase{true, true, false, 0, 1},
                                           VisibilityCase{true, false, true, 0, 2},
                                           VisibilityCase{false, false, false, 1, 1},
                                           VisibilityCase{false, false, false, 7, 7}));

TEST(ResponseFormTest, AnUnknownVisibilitySetsNoOptionAndSurvives) {
  DialogueDocument document;
  Response response{"x", "", "", 7, 0, 0};
  ResponseForm form = LoadResponseForm(document, response);
  EXPECT_FALSE(form.always || form.once || form.onceGame);
  EXPECT_EQ(ReadResponseForm(form, response).visibility, 7);
}

}  // namespace
}  // namespace tellwright
