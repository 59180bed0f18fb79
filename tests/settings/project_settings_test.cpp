#include "settings/project_settings.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tellwright {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(ProjectSettingsTest, KeptBesideTheProjectAndLinesOfOthersKept) {
  TempDir dir;
  std::string project = dir.file("game.tlwdlg");
  ProjectSettings none;
  ASSERT_TRUE(ReadProjectSettings(project, none)) << "no file: no settings";
  EXPECT_TRUE(none.keyPrefix.empty() && none.translationFiles.empty());

  WriteBytes(ProjectSettingsPath(project),
             "; written by hand\r\nKeyPrefix=GAME\r\n\r\nTranslationFile=de/string.tab\r\nSpelling=en_GB\r\n"
             "TranslationFile=fr.po\r\n");
  ProjectSettings read;
  ASSERT_TRUE(ReadProjectSettings(project, read));
  EXPECT_EQ(read.keyPrefix, "GAME");
  EXPECT_EQ(read.translationFiles, (std::vector<std::string>{"de/string.tab", "fr.po"}));
  read.keyPrefix = "GAME_2";
  ASSERT_TRUE(WriteProjectSettings(project, read));
  EXPECT_EQ(ReadBytes(ProjectSettingsPath(project)),
            "; Tellwright's settings for the project beside this file\nKeyPrefix=GAME_2\n"
            "TranslationFile=de/string.tab\nTranslationFile=fr.po\nSpelling=en_GB\n")
      << "a setting this editor does not know is kept";

  WriteBytes(ProjectSettingsPath(project), "KeyPrefix=GAME\nwhatever\n");
  Status bad = ReadProjectSettings(project, read);
  EXPECT_FALSE(bad);
  EXPECT_EQ(bad.line, 2);
  EXPECT_NE(bad.message.find("whatever"), std::string::npos) << bad.message;
}

TEST(ProjectSettingsTest, TranslationFilesNamedFromTheProjectsFolder) {
  struct Case {
    const char* project;
    const char* chosen;
    const char* named;
    const char* path;
  };
  const Case cases[] = {
      {"/games/sea/game.tlwdlg", "/games/sea/de/string.tab", "de/string.tab", "/games/sea/de/string.tab"},
      {"/games/sea/game.tlwdlg", "/other/fr.po", "/other/fr.po", "/other/fr.po"},
      {"C:\\Games\\Sea\\game.tlwdlg", "C:\\Games\\Sea\\it.tab", "it.tab", "C:\\Games\\Sea\\it.tab"},
      {"C:\\Games\\Sea\\game.tlwdlg", "D:\\it.tab", "D:\\it.tab", "D:\\it.tab"},
      {"/games/sea/game.tlwdlg", "/games/seaside/x.tab", "/games/seaside/x.tab", "/games/seaside/x.tab"},
  };
  for (const Case& c : cases) {
    std::string named = NamedTranslationFile(c.project, c.chosen);
    EXPECT_EQ(named, c.named) << c.chosen;
    EXPECT_EQ(TranslationFilePath(c.project, named), c.path) << c.chosen;
  }
}

}  // namespace
}  // namespace tellwright
