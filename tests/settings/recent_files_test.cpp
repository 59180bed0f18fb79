#include "settings/recent_files.h"

#include <gtest/gtest.h>

namespace tellwright {
namespace {

TEST(RecentFilesTest, AddingAPath) {
  struct Case {
    const char* what;
    RecentFiles before;
    std::string path;
    RecentFiles after;
  };
  const std::vector<Case> cases = {
      {"first file", {}, "a", {"a", "", "", "", ""}},
      {"new file goes first", {"a", "b", "", "", ""}, "c", {"c", "a", "b", "", ""}},
      {"known file keeps the order", {"a", "b", "c", "", ""}, "c", {"a", "b", "c", "", ""}},
      {"sixth file drops the fifth", {"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}},
      {"the match is case-sensitive", {"C:\\A.tlwdlg", "", "", "", ""}, "c:\\a.tlwdlg",
       {"c:\\a.tlwdlg", "C:\\A.tlwdlg", "", "", ""}},
      {"a gap moves down too", {"a", "", "c", "", ""}, "x", {"x", "a", "", "c", ""}},
      {"an empty path matches an empty entry", {"a", "", "", "", ""}, "", {"a", "", "", "", ""}},
  };
  for (const Case& c : cases) {
    RecentFiles files = c.before;
    AddRecentFile(files, c.path);
    EXPECT_EQ(files, c.after) << c.what;
  }
}

TEST(RecentFilesTest, TheMenuBlock) {
  struct Case {
    const char* what;
    RecentFiles files;
    bool separator;
    std::vector<std::pair<int, std::string>> items;
  };
  const std::vector<Case> cases = {
      {"first run", {}, false, {}},
      {"entry 1 empty hides the rest", {"", "C:\\b.tlwdlg", "", "", ""}, false, {}},
      {"gaps keep their ids",
       {"C:\\Games\\a.tlwdlg", "", "/home/ann/c.tlwchr", "", ""},
       true,
       {{17, "..\\a.tlwdlg"}, {19, "..\\c.tlwchr"}}},
      {"all five",
       {"1.tlwdlg", "x\\2.tlwdlg", "x/3.tlwdlg", "4.tlwdlg", "D:\\5.tlwdlg"},
       true,
       {{17, "..\\1.tlwdlg"}, {18, "..\\2.tlwdlg"}, {19, "..\\3.tlwdlg"}, {20, "..\\4.tlwdlg"}, {21, "..\\5.tlwdlg"}}},
  };
  for (const Case& c : cases) {
    RecentFileMenu menu = BuildRecentFileMenu(c.files);
    EXPECT_EQ(menu.separator, c.separator) << c.what;
    std::vector<std::pair<int, std::string>> items;
    for (const RecentFileMenuItem& item : menu.items) {
      items.emplace_back(item.command, item.label);
      EXPECT_EQ(item.command - kFirstRecentFileCommand, item.index) << c.what;
    }
    EXPECT_EQ(items, c.items) << c.what;
  }
}

TEST(RecentFilesTest, ACharacterListEntryOpensAsACharacterList) {
  struct Case {
    const char* path;
    RecentFileAction action;
  };
  const std::vector<Case> cases = {
      {"C:\\cast.tlwchr", RecentFileAction::OpenAsCharacterList},
      {"C:\\CAST.TLWCHR", RecentFileAction::OpenAsCharacterList},
      {"/home/ann/cast.TlwChr", RecentFileAction::OpenAsCharacterList},
      {"C:\\story.tlwdlg", RecentFileAction::OpenAsProject},
      {"C:\\cast.tlwchr.bak", RecentFileAction::OpenAsProject},
      {"C:\\tlwchr", RecentFileAction::OpenAsProject},
      {"C:\\noextension", RecentFileAction::OpenAsProject},
  };
  for (const Case& c : cases) EXPECT_EQ(RecentFileKind(c.path), c.action) << c.path;
}

TEST(RecentFilesTest, TheRequestersStartAtTheOpenFileThenTheFirstRecentThenTheStartUpProject) {
  RecentFiles none{};
  RecentFiles some{"C:\\recent.tlwdlg", "C:\\older.tlwdlg", "", "", ""};
  RecentFiles gapFirst{"", "C:\\older.tlwdlg", "", "", ""};
  EXPECT_EQ(DefaultRequesterPath("C:\\open.tlwdlg", some, "C:\\g.wpr"), "C:\\open.tlwdlg");
  EXPECT_EQ(DefaultRequesterPath("", some, "C:\\g.wpr"), "C:\\recent.tlwdlg");
  EXPECT_EQ(DefaultRequesterPath("", gapFirst, "C:\\g.wpr"), "C:\\g.wpr");
  EXPECT_EQ(DefaultRequesterPath("", none, "C:\\g.wpr"), "C:\\g.wpr");
  EXPECT_EQ(DefaultRequesterPath("", none, ""), "");
}

}  // namespace
}  // namespace tellwright
