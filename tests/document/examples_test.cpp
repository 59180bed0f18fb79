#include <gtest/gtest.h>

#include "document/character_list_file.h"
#include "document/project_file.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

const std::string kExamples = std::string(TELLWRIGHT_SOURCE_DIR) + "/examples/";

TEST(Examples, BundledProjectLoadsAndSavesBackUnchanged) {
  DialogueDocument document;
  Status status = LoadProject(kExamples + "lighthouse.tlwdlg", document);
  ASSERT_TRUE(status.ok) << status.message;
  EXPECT_EQ(document.lastBranchIndex, 3);
  EXPECT_EQ(document.characters.size(), 3u);
  EXPECT_EQ(WriteProject(document), testing::ReadBytes(kExamples + "lighthouse.tlwdlg"));
}

TEST(Examples, BundledCastMatchesTheProjectsCharacters) {
  DialogueDocument document;
  ASSERT_TRUE(LoadProject(kExamples + "lighthouse.tlwdlg", document).ok);
  std::vector<Character> cast;
  ASSERT_TRUE(LoadCharacterList(kExamples + "lighthouse_cast.tlwchr", cast).ok);
  EXPECT_EQ(cast, document.characters);
}

}  // namespace
}  // namespace tellwright
