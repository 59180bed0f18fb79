#include "spelling/spelling_check.h"

#include <gtest/gtest.h>

#include "english_dictionary.h"
#include "spelling/text_words.h"

namespace tellwright {
namespace {

using testing::EnglishDictionary;

// The words as "word@offset+length" in the text as written.
std::vector<std::string> Described(const std::vector<TextWord>& words) {
  std::vector<std::string> out;
  for (const TextWord& word : words)
    out.push_back(word.word + "@" + std::to_string(word.offset) + "+" + std::to_string(word.length));
  return out;
}

struct WordsCase {
  const char* written;
  std::vector<std::string> words;
};

TEST(SpokenWords, AreTheWordsThePlayerReadsPlacedInTheTextAsTyped) {
  const WordsCase cases[] = {
      {"Hello there.", {"Hello@0+5", "there@6+5"}},
      {"Line one~nline two", {"Line@0+4", "one@5+3", "line@10+4", "two@15+3"}},
      {"/GREET01/Hello world", {"Hello@9+5", "world@15+5"}},
      {"/KEY/", {}},
      {"Don't go", {"Don't@0+5", "go@6+2"}},
      {"\x92Tis the season\x92", {"Tis@1+3", "the@5+3", "season@9+6"}},
      {"R2D2 said 3rd", {"said@5+4"}},
      {"well-known", {"well@0+4", "known@5+5"}},
      {"~~Ahoy~\"", {"Ahoy@2+4"}},
      {"Caf\xE9 au lait", {"Caf\xE9@0+4", "au@5+2", "lait@8+4"}},
      {"a~\"b\"", {"a@0+1", "b@3+1"}},
      {"Game.Say(\"x\")", {"Game@0+4", "Say@5+3", "x@10+1"}},
      {"", {}},
  };
  for (const WordsCase& c : cases) EXPECT_EQ(Described(SpokenWords(c.written)), c.words) << c.written;
}

TEST(SpokenWords, OfARemarkAreTakenAsWritten) {
  EXPECT_EQ(Described(RemarkWords("/KEY/ fix~nlater")), (std::vector<std::string>{"KEY@1+3", "fix@6+3", "nlater@10+6"}));
}

TEST(NameWords, SplitAtEverythingButLetters) {
  EXPECT_EQ(NameWords("Old_Tom"), (std::vector<std::string>{"Old", "Tom"}));
  EXPECT_EQ(NameWords("Dialog_Default2"), (std::vector<std::string>{"Dialog", "Default"}));
  EXPECT_EQ(NameWords("__"), std::vector<std::string>{});
}

TEST(SpellChecker, KnowsEnglishAndSuggestsAtMostSeven) {
  const SpellChecker& english = EnglishDictionary();
  EXPECT_EQ(english.language(), "en_US");
  for (const char* word : {"the", "lighthouse", "don't", "Don't", "Don\x92t", "THE", "keeper's"})
    EXPECT_TRUE(english.knows(word)) << word;
  for (const char* word : {"teh", "lighthuose", "Guybrush", "recieve", "na\xEF" "f"}) EXPECT_FALSE(english.knows(word)) << word;
  std::vector<std::string> suggestions = english.suggestions("recieve");
  ASSERT_FALSE(suggestions.empty());
  EXPECT_EQ(suggestions.front(), "receive");
  EXPECT_LE(english.suggestions("xqzt").size(), 7u);
  EXPECT_LE(english.suggestions("thnig", 2).size(), 2u);
}

DialogueDocument NamedProject() {
  DialogueDocument document;
  document.characters = {{"Guybrush", "guybrush_threepwood"}, {"Elaine", "marley"}};
  document.editBranch(0).name = "Melee_Island";
  return document;
}

TEST(KnownWords, TheProjectsNamesInAnyCaseAndPossessive) {
  KnownWords known;
  known.addNamesOf(NamedProject());
  WordJudge judge(EnglishDictionary(), known);
  for (const char* word : {"Guybrush", "GUYBRUSH", "Guybrush's", "Guybrush\x92s", "Threepwood", "Melee", "Marley",
                           "island", "ship"})
    EXPECT_TRUE(judge.known(word)) << word;
  for (const char* word : {"Guybrushs", "Threepwod", "Lechuck"}) EXPECT_FALSE(judge.known(word)) << word;
}

// A project with a misspelling in every field, only some of which a player
// reads.
DialogueDocument TypoProject() {
  DialogueDocument document = NamedProject();
  DialogueBranch& branch = document.editBranch(0);
  branch.lineCount = 5;
  branch.lines.slot(0) = {"Talkline", "Guybrush", "Teh ship~nis mine, Elaine.", "voize\\wrng.ogg", 0};
  branch.lines.slot(1) = {"Codeline", "", "Gmae.SetGlobal(\"wrnog\", true);", "", 0};
  branch.lines.slot(2) = {"Remark", "", "Chek this latr", "", 0};
  branch.lines.slot(3) = {"Responseblock", "Guybrush", "", "", 2};
  branch.lines.slot(4) = {"Talkline", "Elaine", "/MARLY01/Fine, Guybrush's boat.", "", 0};
  ResponseBlock& unused = document.responseBlocks.slot(0);
  unused.id = 1;
  unused.responses.slot(0) = {"Nevr mind.", "", "", kAlways, 0, 0};
  ResponseBlock& used = document.responseBlocks.slot(1);
  used.id = 2;
  used.responses.slot(0) = {"I'm lookking for grog.", "Game.GetGlobal(\"gmae\")", "Melee_Island", kAlways, 0, 0};
  used.responses.slot(1) = {"", "", "", kAlways, 0, 0};
  used.responses.slot(2) = {"Hiddn after the end", "", "", kAlways, 0, 0};
  return document;
}

std::vector<std::string> Found(const std::vector<Misspelling>& misspellings) {
  std::vector<std::string> out;
  for (const Misspelling& m : misspellings)
    out.push_back(m.word.word + " b" + std::to_string(m.place.branch) + " l" + std::to_string(m.place.line) + " s" +
                  std::to_string(m.place.blockSlot) + " r" + std::to_string(m.place.response) + " @" +
                  std::to_string(m.word.offset));
  return out;
}

TEST(FindMisspellings, ReadsOnlyWhatThePlayerReadsInTheLintsOrder) {
  DialogueDocument document = TypoProject();
  KnownWords known;
  known.addNamesOf(document);
  WordJudge judge(EnglishDictionary(), known);
  EXPECT_EQ(Found(FindMisspellings(document, judge)), (std::vector<std::string>{
                                                           "Teh b0 l0 s-1 r-1 @0",
                                                           "lookking b0 l3 s1 r0 @4",
                                                           "Nevr b-1 l-1 s0 r0 @0",
                                                       }));
  EXPECT_EQ(Found(FindMisspellings(document, judge, {.remarks = true})), (std::vector<std::string>{
                                                                             "Teh b0 l0 s-1 r-1 @0",
                                                                             "Chek b0 l2 s-1 r-1 @0",
                                                                             "latr b0 l2 s-1 r-1 @10",
                                                                             "lookking b0 l3 s1 r0 @4",
                                                                             "Nevr b-1 l-1 s0 r0 @0",
                                                                         }));
}

TEST(FindMisspellings, WordsTheWriterAddedAreKnown) {
  DialogueDocument document = TypoProject();
  KnownWords known;
  known.addNamesOf(document);
  known.add(std::vector<std::string>{"teh", "Lookking", "Nevr"});
  WordJudge judge(EnglishDictionary(), known);
  EXPECT_TRUE(FindMisspellings(document, judge).empty());
}

TEST(SpellingNotes, AreNotesInTheTextNamingTheWord) {
  Misspelling misspelling{{.branch = 2, .line = 4}, {3, 4, "Nevr"}};
  std::vector<Problem> notes = SpellingNotes({misspelling});
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].severity, Severity::Note);
  EXPECT_EQ(notes[0].rule, "spelling");
  EXPECT_EQ(notes[0].field, ProblemField::Text);
  EXPECT_EQ(notes[0].place, misspelling.place);
  EXPECT_NE(notes[0].message.find("'Nevr'"), std::string::npos);
}

TEST(UnknownWords, CountEachWordWithItsPlacesMostFrequentFirst) {
  std::vector<Misspelling> found = {
      {{.branch = 0, .line = 1}, {0, 3, "Teh"}},
      {{.branch = 0, .line = 2}, {0, 4, "Nevr"}},
      {{.branch = 1, .line = 0}, {0, 4, "Nevr"}},
      {{.branch = 1, .line = 1}, {0, 4, "Arrr"}},
  };
  std::vector<UnknownWord> words = UnknownWords(found);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].word, "Nevr");
  EXPECT_EQ(words[0].places, (std::vector<ProblemPlace>{{.branch = 0, .line = 2}, {.branch = 1, .line = 0}}));
  EXPECT_EQ(words[1].word, "Arrr");
  EXPECT_EQ(words[2].word, "Teh");
}

}  // namespace
}  // namespace tellwright
