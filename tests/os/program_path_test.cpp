#include "os/program_path.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/path_names.h"

namespace tellwright {
namespace {

TEST(ProgramPathTest, TheRunningProgramIsThisTestProgram) {
  std::optional<std::string> path = RunningProgramPath();
  ASSERT_TRUE(path);
#ifdef _WIN32
  ASSERT_GE(path->size(), 3u);
  EXPECT_EQ(path->substr(1, 2), ":\\");
  EXPECT_EQ(FileNamePart(*path), "tellwright_os_tests.exe");
#else
  EXPECT_EQ(path->front(), '/');
  EXPECT_EQ(FileNamePart(*path), "tellwright_os_tests");
#endif
}

TEST(ProgramPathTest, TheEditorSitsBesideTheCommandLineTool) {
  struct Case {
    const char* program;
    const char* editor;
  };
#ifdef _WIN32
  const std::vector<Case> cases = {
      {"C:\\Program Files\\Tellwright\\tellwright-cli.exe", "C:\\Program Files\\Tellwright\\tellwright.exe"},
      {"tellwright-cli.exe", "tellwright.exe"},
  };
#else
  const std::vector<Case> cases = {
      {"/opt/tw/bin/tellwright-cli", "/opt/tw/bin/tellwright"},
      {"tellwright-cli", "tellwright"},
  };
#endif
  for (const Case& c : cases) EXPECT_EQ(EditorProgramBeside(c.program), c.editor) << c.program;
}

}  // namespace
}  // namespace tellwright
