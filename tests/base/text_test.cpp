#include "base/text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "base/text_arena.h"

namespace tellwright {
namespace {

TEST(TextTest, ReadsAndComparesAsTheBytesItWasMadeFrom) {
  const std::string withNul("a\0b", 3);
  struct Case {
    std::string bytes;
  } cases[] = {{""}, {"Hello"}, {withNul}, {std::string(70000, 'x')}, {"caf\xe9"}};
  for (const Case& c : cases) {
    Text text(c.bytes);
    EXPECT_EQ(text.view(), c.bytes);
    EXPECT_EQ(text.size(), c.bytes.size());
    EXPECT_EQ(text.empty(), c.bytes.empty());
    EXPECT_EQ(text, Text(c.bytes));
    EXPECT_EQ(text <=> c.bytes, std::strong_ordering::equal);
  }
  EXPECT_LT(Text("Ann"), Text("Bob"));
  EXPECT_NE(Text("Ann"), "Anne");
  EXPECT_EQ(Text("Ann") + " says", "Ann says");
}

TEST(TextTest, ACopyKeepsItsBytesAfterTheOriginalGoesOrIsReassigned) {
  Text copy;
  {
    Text original("the lighthouse keeper");
    copy = original;
    EXPECT_TRUE(copy.sharesBytesWith(original));
    original = Text("something else");
    EXPECT_EQ(original, "something else");
  }
  EXPECT_EQ(copy, "the lighthouse keeper");
}

TEST(TextArenaTest, TextsOutliveTheArenaAndItsBlocks) {
  std::vector<Text> texts;
  {
    TextArena arena;
    // Enough texts to fill several blocks, and one too large for a block.
    for (int i = 0; i < 100000; ++i) texts.push_back(arena.add("line " + std::to_string(i)));
    texts.push_back(arena.add(std::string(TextArena::kBlockBytes, 'L')));
    texts.push_back(arena.add(""));
  }
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(texts[i], "line " + std::to_string(i));
  EXPECT_EQ(texts[100000].size(), TextArena::kBlockBytes);
  EXPECT_TRUE(texts[100001].empty());
  // Dropping all but a few keeps those few readable.
  Text kept = texts[5];
  texts.clear();
  EXPECT_EQ(kept, "line 5");
}

TEST(TextArenaTest, SharedGivesEqualTextsOneCopy) {
  TextArena arena;
  Text first = arena.shared("Guy");
  Text second = arena.shared(std::string("Guy"));
  EXPECT_TRUE(first.sharesBytesWith(second));
  EXPECT_FALSE(arena.shared("Ann").sharesBytesWith(first));
}

// Copies of one file's texts are made and dropped on other threads (a
// snapshot for a background job); the counts must stay right.
TEST(TextArenaTest, CopiesDroppedOnOtherThreadsKeepTheRestIntact) {
  std::vector<Text> texts;
  {
    TextArena arena;
    for (int i = 0; i < 20000; ++i) texts.push_back(arena.add("text " + std::to_string(i)));
  }
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([texts] {
      std::vector<Text> mine = texts;
      for (int round = 0; round < 10; ++round) {
        std::vector<Text> more = mine;
        more.clear();
      }
    });
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(texts[i], "text " + std::to_string(i));
}

}  // namespace
}  // namespace tellwright
