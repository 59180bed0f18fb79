#include <gtest/gtest.h>

#include <filesystem>

#include "../../fuzz/exercise_input.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

// Every input the fuzzer once crashed on, and the seed inputs it starts from,
// go through the fuzzer's steps without a fault.
void ReplayFolder(const std::filesystem::path& folder) {
  if (!std::filesystem::is_directory(folder)) return;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) continue;
    std::string bytes = testing::ReadBytes(entry.path().string());
    EXPECT_EQ(fuzzing::ExerciseInput(bytes), "") << entry.path();
  }
}

TEST(FuzzRegressionsTest, SavedInputsReplayWithoutFault) {
  ReplayFolder(std::filesystem::path(TELLWRIGHT_SOURCE_DIR) / "fuzz" / "regressions");
}

TEST(FuzzRegressionsTest, SeedInputsReplayWithoutFault) {
  std::filesystem::path corpus = std::filesystem::path(TELLWRIGHT_SOURCE_DIR) / "fuzz" / "corpus";
  ASSERT_TRUE(std::filesystem::is_directory(corpus));
  ReplayFolder(corpus);
}

}  // namespace
}  // namespace tellwright
