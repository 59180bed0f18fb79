#include <gtest/gtest.h>

#include <map>

#include "export/sample_documents.h"
#include "lint/lint.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

using namespace testing;

// The engine project in C:\Game: game.wpr, a folder Sounds with Hello.OGG.
const std::map<std::string, std::vector<std::string>> kFolders = {
    {"C:/Game", {"game.wpr", "Sounds"}},
    {"C:/Game/Sounds", {"Hello.OGG"}},
};

DialogueDocument WithSound(const std::string& engineProject, const std::string& sound) {
  DialogueDocument d;
  d.engineProjectPath = engineProject;
  d.characters.push_back({"Guy", "guy"});
  SetBranch(d, 0, "Start", {Talk("Guy", "Hello", sound)});
  return d;
}

std::vector<std::string> SoundProblems(const DialogueDocument& d, const LintOptions& options) {
  std::vector<std::string> rules;
  for (const Problem& problem : LintDialogue(d, options))
    if (problem.rule.rfind("sound", 0) == 0) rules.push_back(problem.rule);
  return rules;
}

struct SoundCase {
  std::string engineProject;
  std::string sound;
  bool missing;
};

TEST(LintSoundFileTest, LooksUnderTheEngineProjectIgnoringCase) {
  const SoundCase cases[] = {
      {"C:\\Game\\game.wpr", "Sounds\\Hello.OGG", false},
      {"C:\\Game\\game.wpr", "sounds\\hello.ogg", false},
      {"C:\\Game\\game.wpr", "Sounds/Hello.OGG", false},
      {"C:\\Game\\game.wpr", ".\\Sounds\\\\Hello.OGG", false},
      {"C:\\Game\\game.wpr", "C:\\Game\\Sounds\\Hello.OGG", false},
      {"C:\\Game\\game.wpr", "c:\\GAME\\sounds\\Hello.OGG", false},
      {"C:\\Game\\game.wpr", "Sounds\\Bye.ogg", true},
      {"C:\\Game\\game.wpr", "Music\\Hello.OGG", true},
      {"C:\\Game\\game.wpr", "Hello.OGG", true},
      {"C:\\Game\\game.wpr", "", false},
      {"D:\\Elsewhere\\game.wpr", "Sounds\\Bye.ogg", false},  // folder not here: not looked for
      {"game.wpr", "Sounds\\Bye.ogg", false},                 // no folder at all
  };
  for (const SoundCase& c : cases) {
    int listed = 0;
    LintOptions options{.listFolder = [&](const std::string& folder) -> std::optional<std::vector<std::string>> {
      ++listed;
      auto it = kFolders.find(folder);
      if (it == kFolders.end()) return std::nullopt;
      return it->second;
    }};
    std::vector<std::string> expected;
    if (c.missing) expected.push_back("sound-file-missing");
    EXPECT_EQ(SoundProblems(WithSound(c.engineProject, c.sound), options), expected) << c.sound;
    EXPECT_LE(listed, 3) << c.sound;
    options.checkSoundFiles = false;
    listed = 0;
    EXPECT_TRUE(SoundProblems(WithSound(c.engineProject, c.sound), options).empty());
    EXPECT_EQ(listed, 0);
  }
}

TEST(LintSoundFileTest, ListsEachFolderOnce) {
  DialogueDocument d = WithSound("C:\\Game\\game.wpr", "Sounds\\Hello.OGG");
  for (int l = 1; l < 50; ++l)
    d.editBranch(0).lines.slot(l) = Talk("Guy", "x", l % 2 ? "Sounds\\Nope.ogg" : "Sounds\\hello.ogg");
  d.editBranch(0).lineCount = 50;
  std::map<std::string, int> listed;
  LintOptions options{.listFolder = [&](const std::string& folder) -> std::optional<std::vector<std::string>> {
    ++listed[folder];
    return kFolders.at(folder);
  }};
  EXPECT_EQ(SoundProblems(d, options).size(), 25u);
  EXPECT_EQ(listed, (std::map<std::string, int>{{"C:/Game", 1}, {"C:/Game/Sounds", 1}}));
}

// The real file system, with a name that is not ASCII: on disk in the
// system's encoding, in the document in Windows-1252.
TEST(LintSoundFileTest, FindsFilesOnDisk) {
  TempDir dir;
  dir.folder("Voice");
  WriteBytes(dir.file("Voice/Caf\xC3\xA9.ogg"), "x");
  std::string project = dir.file("game.wpr");
  EXPECT_TRUE(SoundProblems(WithSound(project, "voice\\caf\xE9.OGG"), {}).empty());
  EXPECT_EQ(SoundProblems(WithSound(project, "voice\\tea.ogg"), {}).size(), 1u);
}

}  // namespace
}  // namespace tellwright
