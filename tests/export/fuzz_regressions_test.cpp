#include <gtest/gtest.h>

#include <filesystem>

#include "../../fuzz/exercise_input.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

// Sends every input in `folder` through the fuzzer's steps; returns how many
// there were.
int ReplayFolder(const std::filesystem::path& folder) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) continue;
    std::string bytes = testing::ReadBytes(entry.path().string());
    EXPECT_EQ(fuzzing::ExerciseInput(bytes), "") << entry.path();
    ++replayed;
  }
  return replayed;
}

// Every input the fuzzer once crashed on, and the seed inputs it starts from,
// go through the fuzzer's steps without a fault. The counts are exact, so a
// lost folder, a lost input or a path that points elsewhere shows: raise a
// count when you commit new inputs.
TEST(FuzzRegressionsTest, SavedAndSeedInputsReplayWithoutFault) {
  struct Case {
    const char* folder;
    int inputs;
  };
  const Case cases[] = {{"regressions", 0}, {"corpus", 4}};
  for (const Case& c : cases) {
    std::filesystem::path folder = std::filesystem::path(TELLWRIGHT_SOURCE_DIR) / "fuzz" / c.folder;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    EXPECT_EQ(ReplayFolder(folder), c.inputs) << folder;
  }
}

}  // namespace
}  // namespace tellwright
