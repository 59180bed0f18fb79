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
  const char* entry;
  const char* realName;
  const char* entityName;
  std::string_view message;
  bool changed;
  const char* cast;
};

const EditCase kEditCases[] = {
    {"Rename", "Joe (actor_joe)", "Joseph", "actor_jo", "", true,
     "None;Joseph (actor_jo);Ann (actor_ann);Dr. (Evil) (evil);"},
    // Its own name does not count as taken.
    {"KeepName", "Joe (actor_joe)", "Joe", "actor_new", "", true,
     "None;Joe (actor_new);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"TakenByAnother", "Joe (actor_joe)", "Ann", "x", kDuplicateRealNameMessage, false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"EmptyRealName", "Ann (actor_ann)", "", "x", kNoRealNameMessage, false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"EmptyEntityName", "Ann (actor_ann)", "Anna", "", kNoEntityNameMessage, false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"ParenthesesInRealName", "Dr. (Evil) (evil)", "Dr. Good", "good", "", true,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. Good (good);"},
    // "None" stands for no character: Edit leaves everything alone.
    {"None", "None", "Bob", "bob", "", false, "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
    {"NoSuchCharacter", "Zed (zed)", "Bob", "bob", "", false,
     "None;Joe (actor_joe);Ann (actor_ann);Dr. (Evil) (evil);"},
};

class EditCharacterTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditCharacterTest, AppliesTheChecksAndTheMarks) {
  const EditCase& c = GetParam();
  DialogueDocument document = WithCast();
  EditResult result = EditCharacter(document, c.entry, c.realName, c.entityName);
  EXPECT_EQ(result.status.message, c.message);
  EXPECT_EQ(result.changed, c.changed);
  EXPECT_EQ(Cast(document), c.cast);
}

INSTANTIATE_TEST_SUITE_P(Cases, EditCharacterTest, ::testing::ValuesIn(kEditCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditCharacterTest, EveryCopyOfThePairChangesTogether) {
  DialogueDocument document;
  document.characters = {{"Joe", "a"}, {"Joe", "b"}, {"Joe", "a"}};  // as a hand-made list may hold
  EXPECT_TRUE(EditCharacter(document, "Joe (a)", "Jo", "c").changed);
  EXPECT_EQ(Cast(document), "None;Jo (c);Joe (b);Jo (c);");
  // Joe (b) is not marked, so its name still counts as taken.
  EXPECT_EQ(EditCharacter(document, "Jo (c)", "Joe", "c").status.message, kDuplicateRealNameMessage);
}

TEST(PickedCharacterTest, FindsTheCharacterOfAnEntry) {
  DialogueDocument document = WithCast();
  EXPECT_FALSE(PickedCharacter(document.characters, "None"));
  EXPECT_FALSE(PickedCharacter(document.characters, "Joe (other)"));
  std::optional<PickerNames> evil = PickedCharacter(document.characters, "Dr. (Evil) (evil)");
  ASSERT_TRUE(evil);
  EXPECT_EQ(evil->realName, "Dr. (Evil)");
  EXPECT_EQ(evil->entityName, "evil");
}

TEST(DeleteCharacterTest, DeletesThePickedPairOnly) {
  DialogueDocument document = WithCast();
  document.characters.push_back({"Joe", "actor_joe"});
  document.characters.push_back({"Joey", "actor_joe"});
  EXPECT_EQ(DeleteCharacterQuestion("Joe"), "Are you sure you want to delete character 'Joe'?");
  EXPECT_TRUE(DeleteCharacter(document, "Joe (actor_joe)").changed);
  EXPECT_EQ(Cast(document), "None;Ann (actor_ann);Dr. (Evil) (evil);Joey (actor_joe);");
  EXPECT_TRUE(DeleteCharacter(document, "Dr. (Evil) (evil)").changed);
  EXPECT_FALSE(DeleteCharacter(document, "None").changed);
  EXPECT_FALSE(DeleteCharacter(document, "Zed (zed)").changed);
  EXPECT_EQ(Cast(document), "None;Ann (actor_ann);Joey (actor_joe);");
}

TEST(CharacterCommandsTest, LinesKeepTheNamesTheyWereGiven) {
  DialogueDocument document = WithCast();
  DialogueBranch& branch = document.editBranch(0);
  branch.lines.slot(0) = testing::Line("Talkline", "Hi", "Joe");
  branch.lines.slot(1) = testing::Line("Talkline", "Ho", "Ann");
  branch.lineCount = 2;
  EditCharacter(document, "Joe (actor_joe)", "Joseph", "actor_joe");
  DeleteCharacter(document, "Ann (actor_ann)");
  EXPECT_EQ(document.branch(0).lines[0].character, "Joe");
  EXPECT_EQ(document.branch(0).lines[1].character, "Ann");
}

}  // namespace
}  // namespace tellwright
