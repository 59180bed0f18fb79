#include "platform/program_path.h"

#include <gtest/gtest.h>

#include "document/path_names.h"

namespace tellwright {
namespace {

TEST(ProgramPathTest, TheRunningProgramIsThisTestProgram) {
  std::optional<std::string> path = RunningProgramPath();
  ASSERT_TRUE(path);
  EXPECT_EQ(path->front(), '/');
  EXPECT_EQ(FileNamePart(*path), "tellwright_platform_tests");
}

TEST(ProgramPathTest, TheEditorSitsBesideTheCommandLineTool) {
  EXPECT_EQ(EditorProgramBeside("/opt/tw/bin/tellwright-cli"), "/opt/tw/bin/tellwright");
  EXPECT_EQ(EditorProgramBeside("tellwright-cli"), "tellwright");
}

}  // namespace
}  // namespace tellwright
