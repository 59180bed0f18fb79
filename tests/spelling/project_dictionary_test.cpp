#include "spelling/project_dictionary.h"

#include <gtest/gtest.h>

#include "english_dictionary.h"
#include "spelling/installed_dictionaries.h"
#include "spelling/spelling_check.h"
#include "support/temp_dir.h"

namespace tellwright {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(ProjectDictionary, LivesBesideTheProject) {
  EXPECT_EQ(ProjectWordListFile("/games/tale.tlwdlg"), "/games/tale.words.txt");
  EXPECT_EQ(ProjectLanguageFile("/games/tale.tlwdlg"), "/games/tale.spelling");
  EXPECT_EQ(ProjectWordListFile("/games/v1.2/tale"), "/games/v1.2/tale.words.txt");
}

// Words added one by one come back as written, the file sorted UTF-8 with
// each word once, and the check then knows them.
TEST(ProjectDictionary, RoundTripsWordsAsSortedUtf8) {
  TempDir dir;
  const std::string file = dir.file("tale.words.txt");
  for (const char* word : {"Zorbo", "Caf\xE9lo", "arrr", "Zorbo", "LeChuck"}) ASSERT_TRUE(AddToWordList(file, word));
  EXPECT_EQ(ReadBytes(file), "Caf\xC3\xA9lo\nLeChuck\nZorbo\narrr\n");
  WordListReading reading = ReadWordList(file);
  ASSERT_TRUE(reading.status) << reading.status.message;
  EXPECT_EQ(reading.words, (std::vector<std::string>{"Caf\xE9lo", "LeChuck", "Zorbo", "arrr"}));

  KnownWords known;
  known.add(reading.words);
  WordJudge judge(testing::EnglishDictionary(), known);
  EXPECT_TRUE(judge.known("Zorbo"));
  EXPECT_TRUE(judge.known("Caf\xE9lo"));
  EXPECT_FALSE(judge.known("Zorbu"));
}

TEST(ProjectDictionary, ReadsWhatPeopleWriteAndRefusesWhatItCannotHold) {
  TempDir dir;
  const std::string file = dir.file("tale.words.txt");
  EXPECT_TRUE(ReadWordList(file).status) << "a project without a list has an empty one";
  WriteBytes(file, "\xEF\xBB\xBF" "Grog\r\n\n  Melee \r\nlast");
  WordListReading reading = ReadWordList(file);
  ASSERT_TRUE(reading.status) << reading.status.message;
  EXPECT_EQ(reading.words, (std::vector<std::string>{"Grog", "Melee", "last"}));

  WriteBytes(file, "Grog\n\xE2\x82\xAC" "uro\n\xFF\xFE\nSmirk\n");
  reading = ReadWordList(file);
  EXPECT_FALSE(reading.status);
  EXPECT_EQ(reading.status.line, 3);
  EXPECT_NE(reading.status.message.find(file + ":3:"), std::string::npos) << reading.status.message;
  const std::string before = ReadBytes(file);
  EXPECT_FALSE(AddToWordList(file, "Stan"));
  EXPECT_EQ(ReadBytes(file), before) << "a list that cannot be read is never written over";
}

TEST(ProjectLanguage, IsStoredBesideTheProject) {
  TempDir dir;
  const std::string file = dir.file("tale.spelling");
  EXPECT_EQ(ReadProjectLanguage(file), std::nullopt);
  ASSERT_TRUE(WriteProjectLanguage(file, "de_DE"));
  EXPECT_EQ(ReadProjectLanguage(file), "de_DE");
  ASSERT_TRUE(WriteProjectLanguage(file, kNoSpellingLanguage));
  EXPECT_EQ(ReadProjectLanguage(file), "None");
}

TEST(InstalledDictionaries, AreThePairsOfFilesTheFirstFolderWinning) {
  TempDir dir;
  const std::string mine = dir.folder("mine");
  const std::string system = dir.folder("system");
  WriteBytes(mine + "/de_DE.aff", "SET UTF-8\n");
  WriteBytes(mine + "/de_DE.dic", "1\nHaus\n");
  WriteBytes(mine + "/fr_FR.aff", "SET UTF-8\n");  // without its word list
  WriteBytes(system + "/de_DE.aff", "SET UTF-8\n");
  WriteBytes(system + "/de_DE.dic", "1\nHaus\n");
  WriteBytes(system + "/en_GB.aff", "SET UTF-8\n");
  WriteBytes(system + "/en_GB.dic", "1\ncolour\n");
  std::vector<InstalledDictionary> found = FindInstalledDictionaries({mine, system, dir.file("missing")});
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].language, "de_DE");
  EXPECT_EQ(found[0].dicFile, mine + "/de_DE.dic");
  EXPECT_EQ(found[1].language, "en_GB");

  SpellCheckerOpening opening = SpellChecker::Open(found[1]);
  ASSERT_TRUE(opening.status) << opening.status.message;
  EXPECT_TRUE(opening.checker->knows("colour"));
  EXPECT_FALSE(opening.checker->knows("color"));
}

TEST(InstalledDictionaries, AreLookedForInDicpathTheUsersFolderAndTheSystems) {
  auto environment = [](const char* name) -> std::optional<std::string> {
    if (std::string(name) == "DICPATH") return "/opt/dicts:/srv/dicts";
    if (std::string(name) == "HOME") return "/home/writer";
    return std::nullopt;
  };
  std::vector<std::string> folders = DictionaryFolders(environment);
  EXPECT_EQ(folders, (std::vector<std::string>{"/opt/dicts", "/srv/dicts", "/home/writer/.local/share/hunspell",
                                               "/usr/local/share/hunspell", "/usr/share/hunspell"}));
}

TEST(SpellChecker, RefusesADictionaryInAnEncodingItCannotRead) {
  TempDir dir;
  WriteBytes(dir.file("ru_RU.aff"), "SET KOI8-R\n");
  WriteBytes(dir.file("ru_RU.dic"), "0\n");
  SpellCheckerOpening opening = SpellChecker::Open({"ru_RU", dir.file("ru_RU.aff"), dir.file("ru_RU.dic")});
  EXPECT_FALSE(opening.status);
  EXPECT_NE(opening.status.message.find("KOI8-R"), std::string::npos);
  EXPECT_EQ(opening.checker, nullptr);
}

}  // namespace
}  // namespace tellwright
