#include "document/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tellwright {
namespace {

std::vector<std::string> AllLines(LineReader& reader) {
  std::vector<std::string> lines;
  while (!reader.atEnd()) lines.emplace_back(reader.next());
  return lines;
}

TEST(LineReader, SplitsOnEveryKindOfLineEnd) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\r\nb", {"a", "", "b"}},
      {"a\r\n\rb", {"a", "", "b"}},
      {"\n", {""}},
      {std::string("n\0ul\n", 5), {std::string("n\0ul", 4)}},
  };
  for (const Case& c : cases) {
    LineReader reader(c.bytes);
    EXPECT_EQ(AllLines(reader), c.lines) << c.bytes;
  }
}

TEST(LineReader, PastTheEndGivesEmptyLinesAndCountsThem) {
  LineReader reader(std::string_view("only\n"));
  EXPECT_EQ(reader.next(), "only");
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(reader.next(), "");
  EXPECT_EQ(reader.next(), "");
  EXPECT_EQ(reader.lineNumber(), 3);
}

// The file reader works in chunks of 256 KiB; lines and CR LF pairs that
// straddle a chunk edge must come out as from memory.
TEST(LineReader, FileReaderMatchesMemoryReaderAcrossChunkEdges) {
  constexpr size_t kChunk = 1 << 18;
  std::vector<std::string> inputs;
  inputs.push_back(std::string(kChunk - 1, 'a') + "\r\nnext\r\n");
  inputs.push_back(std::string(kChunk - 2, 'a') + "\r\nnext");
  inputs.push_back(std::string(kChunk, 'a') + "\rnext\r");
  inputs.push_back(std::string(3 * kChunk + 17, 'b') + "\nshort\n" + std::string(kChunk, 'c'));
  std::string many;
  for (int i = 0; i < 200000; ++i) many += std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  inputs.push_back(many);

  testing::TempDir dir;
  for (const std::string& bytes : inputs) {
    std::string path = dir.file("lines.txt");
    testing::WriteBytes(path, bytes);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    LineReader fromFile(file);
    LineReader fromMemory(bytes);
    EXPECT_EQ(AllLines(fromFile), AllLines(fromMemory)) << bytes.size();
    EXPECT_FALSE(fromFile.failed());
    std::fclose(file);
  }
}

}  // namespace
}  // namespace tellwright
