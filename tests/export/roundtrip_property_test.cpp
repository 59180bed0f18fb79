#include <gtest/gtest.h>

#include <string>

#include "document/project_file.h"
#include "support/random_documents.h"

namespace tellwright {
namespace {

using testing::RandomDocuments;

TEST(RoundTripPropertyTest, SaveLoadSaveIsByteForByte) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    DialogueDocument document = RandomDocuments(seed).make();
    std::string saved = WriteProject(document);
    DialogueDocument loaded;
    Status status = ReadProject(saved, loaded);
    ASSERT_TRUE(status.ok) << "seed " << seed << ": line " << status.line << ": " << status.message;
    ASSERT_EQ(WriteProject(loaded), saved) << "seed " << seed;
  }
}

}  // namespace
}  // namespace tellwright
