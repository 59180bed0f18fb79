#include "editing/character_commands.h"

#include <gtest/gtest.h>

#include "editing_fixtures.h"

namespace tellwright {
namespace {

DialogueDocument WithCast() {
  DialogueDocument document;
  document.characters = {{"Joe", "actor_joe"}, {"Ann", "actor_ann"}, {"Dr. (Evil)", "evil"}};
  return document;
}

std::string Cast(const DialogueDocument& document) {
  std::string out;
  for (const std::string& entry : PickerEntries(document.characters)) out += entry + ";";
  return out;
}

struct NamesCase {
  const char* name;
  const char* realName;
  const char* entityName;
  std::string_view message;
};

// The checks in their order: the first fault found is the one reported.
const NamesCase kAddCases[] = {
    {"BothEmpty", "", "", kNoRealNameMessage},
    {"EmptyRealNameTakenEntity", "", "actor_joe", kNoRealNameMessage},
    {"EmptyEntityOfTakenName", "Joe", "", kNoEntityNameMessage},
    {"TakenRealName", "Joe", "other", kDuplicateRealNameMessage},
    {"CaseDiffers", "joe", "other", ""},
    {"SharedEntityName", "Bob", "actor_joe", ""},
    {"LineBreak", "Bo\nb", "bob", "A character's real name cannot contain a line break."},
};

class AddCharacterTest : public ::testing::TestWithParam<NamesCase> {};

TEST_P(AddCharacterTest, ChecksInOrder) {
  const NamesCase& c = GetParam();
  DialogueDocument document = WithCast();
  EditResult result = AddCharacter(document, c.realName, c.entityName);
  EXPECT_EQ(result.status.message, c.message);
  EXPECT_EQ(result.changed, c.message.empty());
  EXPECT_EQ(document.characters.size(), c.message.empty() ? 4u : 3u);
  if (c.message.empty()) {
    EXPECT_EQ(document.characters.back(), (Character{c.realName, c.entityName}));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, AddCharacterTest, ::testing::ValuesIn(kAddCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct EditCase {
  const char* name;
  int row;
  const char* realName;
  const char* entityName;
  std::string_view message;
  bool changed;
  const char* cast;
};

const EditCase kEditCases[] = {
    {"Rename", 1, "Joseph", "actor_jo", "", true,
     "None;Joseph (actor_jo);Ann (actor_ann);Dr. (Evil) (evil);"},
    // Its own name does not count as taken.
    {"KeepName", 1, "Joe", "actor_new", "", true,
     "None;Joe (actor_new);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"TakenByAnother", 1, "Ann", "x", kDuplicateRealNameMessage, false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"EmptyRealName", 2, "", "x", kNoRealNameMessage, false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"EmptyEntityName", 2, "Anna", "", kNoEntityNameMessage, false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"ParenthesesInRealName", 3, "Dr. Good", "good", "", true,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. Good (good);"},
    // "None" stands for no character: Edit leaves everything alone.
    {"None", 0, "Bob", "bob", "", false, "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"SameNamesAgain", 1, "Joe", "actor_joe", "", false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"NoSuchRow", 4, "Bob", "bob", "", false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
};

class EditCharacterTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditCharacterTest, AppliesTheChecksAndTheMarks) {
  const EditCase& c = GetParam();
  DialogueDocument document = WithCast();
  EditResult result = EditCharacter(document, c.row, c.realName, c.entityName);
  EXPECT_EQ(result.status.message, c.message);
  EXPECT_EQ(result.changed, c.changed);
  EXPECT_EQ(Cast(document), c.cast);
}

INSTANTIATE_TEST_SUITE_P(Cases, EditCharacterTest, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditCharacterTest, EveryCopyOfThePairChangesTogether) {
  DialogueDocument document;
  document.characters = {{"Joe", "a"}, {"Joe", "b"}, {"Joe", "a"}};  // as a hand-made list may hold
  EXPECT_TRUE(EditCharacter(document, 3, "Jo", "c").changed);
  EXPECT_EQ(Cast(document), "None;Jo (c);Joe (b);Jo (c);");
  // Joe (b) is not marked, so its name still counts as taken.
  EXPECT_EQ(EditCharacter(document, 1, "Joe", "c").status.message, kDuplicateRealNameMessage);
}

// Real name "A (b" with entity "c)" and real name "A" with entity "b (c)"
// show the same entry; each row still stands for its own character.
TEST(CharacterAtRowTest, RowsTellApartCharactersWithTheSameEntry) {
  std::vector<Character> cast = {{"A (b", "c)"}, {"A", "b (c)"}};
  ASSERT_EQ(PickerEntry(cast[0]), PickerEntry(cast[1]));
  EXPECT_EQ(CharacterAtRow(cast, 0), nullptr);
  EXPECT_EQ(CharacterAtRow(cast, 1), &cast[0]);
  EXPECT_EQ(CharacterAtRow(cast, 2), &cast[1]);
  EXPECT_EQ(CharacterAtRow(cast, 3), nullptr);
  EXPECT_EQ(CharacterAtRow(cast, -1), nullptr);

  DialogueDocument document;
  document.characters = cast;
  EXPECT_TRUE(EditCharacter(document, 2, "B", "d").changed);
  EXPECT_EQ(Cast(document), "None;A (b (c));B (d);");
  EXPECT_TRUE(DeleteCharacter(document, 1).changed);
  EXPECT_EQ(Cast(document), "None;B (d);");
}

TEST(DeleteCharacterTest, DeletesThePickedPairOnly) {
  DialogueDocument document = WithCast();
  document.characters.push_back({"Joe", "actor_joe"});
  document.characters.push_back({"Joey", "actor_joe"});
  EXPECT_EQ(DeleteCharacterQuestion("Joe"), "Are you sure you want to delete character 'Joe'?");
  EXPECT_TRUE(DeleteCharacter(document, 1).changed);  // and the second "Joe (actor_joe)"
  EXPECT_EQ(Cast(document), "None;Ann (actor_ann);Dr. (Evil) (evil);Joey (actor_joe);");
  EXPECT_TRUE(DeleteCharacter(document, 2).changed);
  EXPECT_FALSE(DeleteCharacter(document, 0).changed);
  EXPECT_FALSE(DeleteCharacter(document, 3).changed);
  EXPECT_EQ(Cast(document), "None;Ann (actor_ann);Joey (actor_joe);");
}

TEST(CharacterCommandsTest, LinesKeepTheNamesTheyWereGiven) {
  DialogueDocument document = WithCast();
  DialogueBranch& branch = document.editBranch(0);
  branch.lines.slot(0) = testing::Line("Talkline", "Hi", "Joe");
  branch.lines.slot(1) = testing::Line("Talkline", "Ho", "Ann");
  branch.lineCount = 2;
  EditCharacter(document, 1, "Joseph", "actor_joe");
  DeleteCharacter(document, 2);
  EXPECT_EQ(document.branch(0).lines[0].character, "Joe");
  EXPECT_EQ(document.branch(0).lines[1].character, "Ann");
}

}  // namespace
}  // namespace tellwright
