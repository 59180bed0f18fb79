#include "settings/relative_path.h"

#include <gtest/gtest.h>

namespace tellwright {
namespace {

TEST(RelativeSoundPathTest, TheProjectFolderIsRemoved) {
  struct Case {
    const char* what;
    std::string picked;
    std::string project;
    std::string result;
  };
  const std::vector<Case> cases = {
      {"inside the project", "C:\\Game\\data\\sounds\\hello.ogg", "C:\\Game\\data\\game.wpr", "sounds\\hello.ogg"},
      {"no project", "C:\\Game\\data\\sounds\\hello.ogg", "", "C:\\Game\\data\\sounds\\hello.ogg"},
      {"project path without a folder", "C:\\Game\\hello.ogg", "game.wpr", "C:\\Game\\hello.ogg"},
      {"outside the project", "D:\\Other\\hello.ogg", "C:\\Game\\data\\game.wpr", "D:\\Other\\hello.ogg"},
      {"ASCII case differs", "c:\\game\\DATA\\hi.wav", "C:\\Game\\data\\game.wpr", "hi.wav"},
      {"Windows-1252 capitals", "C:\\\xC4rger\\\x8A\x8C\x8E\x9F\xDE\\v.ogg", "c:\\\xE4rger\\\x9A\x9C\x9E\xFF\xFE\\p.vexapro",
       "v.ogg"},
      {"the multiplication sign is no letter", "C:\\a\xD7\\v.ogg", "C:\\a\xF7\\p.wpr", "C:\\a\xD7\\v.ogg"},
      {"removed wherever it stands", "X:\\copy\\C:\\Game\\s.ogg", "C:\\Game\\g.wpr", "X:\\copy\\s.ogg"},
      {"every occurrence", "C:\\G\\C:\\G\\s.ogg", "c:\\g\\g.wpr", "s.ogg"},
      {"forward slashes", "/home/ann/game/sfx/a.ogg", "/home/ann/game/game.vexapro", "sfx/a.ogg"},
      {"the folder is the whole pick", "C:\\Game\\", "C:\\Game\\g.wpr", ""},
      {"no parent steps are added", "C:\\Sounds\\a.ogg", "C:\\Game\\g.wpr", "C:\\Sounds\\a.ogg"},
  };
  for (const Case& c : cases) EXPECT_EQ(RelativeSoundPath(c.picked, c.project), c.result) << c.what;
}

}  // namespace
}  // namespace tellwright
