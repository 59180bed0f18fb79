#include "os/file_identity.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tellwright {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(FileIdentity, NamesLeadingToOneFileAreTheSameFile) {
  TempDir dir;
  WriteBytes(dir.file("p.tlwdlg"), "project");
  WriteBytes(dir.file("q.tlwdlg"), "project");
  dir.folder("sub");
  std::filesystem::create_hard_link(dir.path() / "p.tlwdlg", dir.path() / "hard.tlwdlg");
  struct Case {
    std::string other;
    bool same;
  };
  std::vector<Case> cases = {
      {dir.file("p.tlwdlg"), true},
      {dir.file("sub/../p.tlwdlg"), true},
      {dir.file("./p.tlwdlg"), true},
      {dir.file("hard.tlwdlg"), true},
      {dir.file("q.tlwdlg"), false},
      {dir.file("missing.tlwdlg"), false},
      {"", false},
  };
#ifndef _WIN32
  std::filesystem::create_symlink("p.tlwdlg", dir.path() / "link.tlwdlg");
  cases.push_back({dir.file("link.tlwdlg"), true});
#endif
  for (const Case& c : cases) EXPECT_EQ(SameFile(dir.file("p.tlwdlg"), c.other), c.same) << c.other;
  EXPECT_FALSE(SameFile(dir.file("missing.tlwdlg"), dir.file("missing.tlwdlg")));
}

}  // namespace
}  // namespace tellwright
