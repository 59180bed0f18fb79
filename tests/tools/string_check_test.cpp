#include "tools/string_check.h"

#include <gtest/gtest.h>

#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

using F = TranslationFault;

struct Found {
  F fault;
  int line;
  std::string key;
  friend bool operator==(const Found&, const Found&) = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
  return out << "{" << static_cast<int>(f.fault) << ", " << f.line << ", " << f.key << "}";
}

std::vector<Found> Summary(const std::vector<TranslationFinding>& findings) {
  std::vector<Found> summary;
  for (const TranslationFinding& f : findings) summary.push_back({f.fault, f.line, f.key});
  return summary;
}

// The German of KeyedProject's four keys, one a line from line 2.
const std::string kGerman =
    "\xEF\xBB\xBF; Start\r\n"
    "DEMO0001\tHallo|ihr da\r\n"
    "DEMO0002\tTsch\xC3\xBCss\r\n"
    "DEMO0003\tWer?\r\n"
    "DEMO0004\tKaffee\r\n";

struct TableCase {
  const char* title;
  std::string table;
  std::vector<Found> expected;
};

const TableCase kTableCases[] = {
    {"complete translation", kGerman, {}},
    {"a key missing, another the project does not have",
     "\xEF\xBB\xBF" "DEMO0001\tHallo|ihr da\r\nDEMO0002\tTsch\xC3\xBCss\r\nOLD0009\tAlt\r\nDEMO0004\tKaffee\r\n",
     {{F::Missing, 0, "DEMO0003"}, {F::NotInProject, 3, "OLD0009"}}},
    {"texts that equal the base text, keys in another letter case",
     "\xEF\xBB\xBF" "demo0001\tHello|there, \"you\"\r\nDEMO0002\tBye\r\nDEMO0003\tWer?\r\nDEMO0004\tCaf\xC3\xA9\r\n",
     {{F::Untranslated, 1, "demo0001"}, {F::Untranslated, 2, "DEMO0002"}, {F::Untranslated, 4, "DEMO0004"}}},
    {"a duplicate: only the later entry counts",
     "\xEF\xBB\xBF" "DEMO0001\tHallo\r\nDEMO0002\tBye\r\nDEMO0003\tWer?\r\nDEMO0004\tKaffee\r\ndemo0002\tTsch\xC3\xBCss\r\n",
     {{F::Duplicate, 5, "demo0002"}}},
    {"bare LF line ends",
     "DEMO0001\tHallo\nDEMO0002\tTschau\r\nDEMO0003\tWer?\nDEMO0004\tKaffee\r\n",
     {{F::Cut, 1, "DEMO0001"}, {F::Cut, 3, "DEMO0003"}}},
    {"lines the engine skips",
     "DEMO0001\tHallo\r\nDEMO0002\r\nDEMO0003\tWer?\r\nDEMO0004\tKaffee\r\n",
     {{F::Missing, 0, "DEMO0002"}, {F::Unreadable, 2, ""}}},
};

class CheckStringTableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(CheckStringTableTest, FindsWhatTheGameWouldShowWrongly) {
  DialogueDocument d = KeyedProject();
  std::vector<TranslationFinding> findings = CheckStringTable(d, ReadStringTable(GetParam().table));
  EXPECT_EQ(Summary(findings), GetParam().expected);
  for (const TranslationFinding& f : findings) {
    EXPECT_FALSE(f.message.empty());
    EXPECT_EQ(f.severity, f.fault == F::Missing ? Severity::Error : Severity::Warning);
  }
  EXPECT_EQ(AnyMissingKey(findings), !GetParam().expected.empty() && GetParam().expected[0].fault == F::Missing);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckStringTableTest, ::testing::ValuesIn(kTableCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(CheckStringTableTest, AMissingKeyNamesWhereTheProjectSaysIt) {
  DialogueDocument d = KeyedProject();
  std::vector<TranslationFinding> findings = CheckStringTable(d, ReadStringTable("DEMO0001\tHallo\r\n"));
  ASSERT_EQ(findings.size(), 3u);
  EXPECT_EQ(findings[1].place, (ProblemPlace{.branch = 0, .line = 3, .response = 1, .blockSlot = 1}));
  EXPECT_EQ(findings[1].message,
            "the key \"DEMO0003\" is missing (Start, line 4, response 2: \"Who?\"): the game shows the base text there");
}

// The Problems list shows a finding where the project says the text, the
// file and line in front, in the document's encoding.
TEST(CheckStringTableTest, FindingsAsProblemsOfTheProject) {
  DialogueDocument d = KeyedProject();
  std::vector<TranslationFinding> findings =
      CheckStringTable(d, ReadStringTable("\xEF\xBB\xBF" "DEMO0001\tHallo\r\nDEMO0002\tBye\r\nDEMO0003\tWer?\r\n"
                                          "\xD0\x9A\tCaf\xC3\xA9\r\n"));
  ASSERT_EQ(findings.size(), 3u);
  Problem missing = AsProblem(findings[0], "de.tab");
  EXPECT_EQ(missing.rule, "translation-missing");
  EXPECT_EQ(missing.severity, Severity::Error);
  EXPECT_EQ(missing.place, (ProblemPlace{.branch = 2, .line = 0}));
  EXPECT_EQ(missing.field, ProblemField::Text);
  EXPECT_TRUE(missing.message.starts_with("de.tab: the key \"DEMO0004\" is missing")) << missing.message;
  EXPECT_NE(missing.message.find("\"Caf\xE9\""), std::string::npos) << missing.message;
  Problem untranslated = AsProblem(findings[1], "de.tab");
  EXPECT_EQ(untranslated.rule, "translation-untranslated");
  EXPECT_EQ(untranslated.place, (ProblemPlace{.branch = 0, .line = 3, .response = 0, .blockSlot = 1}));
  EXPECT_EQ(untranslated.message.substr(0, 9), "de.tab:2:");
  Problem unknown = AsProblem(findings[2], "de.tab");
  EXPECT_EQ(unknown.place, ProblemPlace{});
  EXPECT_EQ(unknown.field, ProblemField::Record);
  EXPECT_NE(unknown.message.find("key \"?\""), std::string::npos) << unknown.message;
  EXPECT_FALSE(unknown.hint.empty());
}

// A PO file from the template; each case changes one entry.
std::string Po(const std::string& entries) {
  return "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n" + entries;
}
const std::string kEntry1 = "msgctxt \"DEMO0001\"\nmsgid \"Hello\\nthere, \\\"you\\\"\"\nmsgstr \"Hallo\\nihr\"\n\n";
const std::string kEntry2 = "msgctxt \"DEMO0002\"\nmsgid \"Bye\"\nmsgstr \"Tsch\xC3\xBCss\"\n\n";
const std::string kEntry3 = "msgctxt \"DEMO0003\"\nmsgid \"Who?\"\nmsgstr \"Wer?\"\n\n";
const std::string kEntry4 = "msgctxt \"DEMO0004\"\nmsgid \"Caf\xC3\xA9\"\nmsgstr \"Kaffee\"\n\n";

struct PoCase {
  const char* title;
  std::string po;
  std::vector<Found> expected;
};

const PoCase kPoCases[] = {
    {"complete translation", Po(kEntry1 + kEntry2 + kEntry3 + kEntry4), {}},
    {"a base text changed since it was translated",
     Po(kEntry1 + "msgctxt \"DEMO0002\"\nmsgid \"Goodbye\"\nmsgstr \"Auf Wiedersehen\"\n\n" + kEntry3 + kEntry4),
     {{F::Stale, 8, "DEMO0002"}}},
    {"fuzzy, empty and copied translations",
     Po(kEntry1 + "#, fuzzy\nmsgctxt \"DEMO0002\"\nmsgid \"Bye\"\nmsgstr \"Tschau\"\n\n" +
        "msgctxt \"DEMO0003\"\nmsgid \"Who?\"\nmsgstr \"\"\n\n" +
        "msgctxt \"DEMO0004\"\nmsgid \"Caf\xC3\xA9\"\nmsgstr \"Caf\xC3\xA9\"\n\n"),
     {{F::Fuzzy, 9, "DEMO0002"}, {F::Untranslated, 13, "DEMO0003"}, {F::Untranslated, 17, "DEMO0004"}}},
    {"keys missing, unknown, and an entry without one",
     Po(kEntry1 + "msgid \"Bye\"\nmsgstr \"Tsch\xC3\xBCss\"\n\n" + kEntry3 +
        "msgctxt \"GONE\"\nmsgid \"x\"\nmsgstr \"y\"\n\n" + kEntry4),
     {{F::Missing, 0, "DEMO0002"}, {F::Unreadable, 8, ""}, {F::NotInProject, 15, "GONE"}}},
    {"a key defined twice",
     Po(kEntry1 + kEntry2 + kEntry3 + kEntry4 + "msgctxt \"demo0002\"\nmsgid \"Bye\"\nmsgstr \"Tschau\"\n"),
     {{F::Duplicate, 20, "demo0002"}}},
};

class CheckPoFileTest : public ::testing::TestWithParam<PoCase> {};

TEST_P(CheckPoFileTest, FindsStaleAndUntranslatedEntries) {
  DialogueDocument d = KeyedProject();
  PoRead read = ReadPoFile(GetParam().po);
  ASSERT_TRUE(read.status.ok) << read.status.message << " on line " << read.status.line;
  EXPECT_EQ(Summary(CheckPoFile(d, read.file)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckPoFileTest, ::testing::ValuesIn(kPoCases),
                         [](const auto& info) { return CaseName(info.param.title); });

}  // namespace
}  // namespace tellwright
