#include "tools/po_file.h"

#include <gtest/gtest.h>

#include "os/child_process.h"
#include "support/temp_dir.h"
#include "tools/string_check.h"
#include "tools/tools_fixture.h"

namespace tellwright {
namespace {

using namespace testing;

const std::string kTemplate =
    "#, fuzzy\n"
    "msgid \"\"\n"
    "msgstr \"\"\n"
    "\"Project-Id-Version: demo\\n\"\n"
    "\"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n\"\n"
    "\"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n\"\n"
    "\"Language-Team: LANGUAGE <LL@li.org>\\n\"\n"
    "\"Language: \\n\"\n"
    "\"MIME-Version: 1.0\\n\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
    "\"Content-Transfer-Encoding: 8bit\\n\"\n"
    "\"X-Generator: Tellwright\\n\"\n"
    "\n"
    "#. Guy\n"
    "#: Start:1\n"
    "msgctxt \"DEMO0001\"\n"
    "msgid \"\"\n"
    "\"Hello\\n\"\n"
    "\"there, \\\"you\\\"\"\n"
    "msgstr \"\"\n"
    "\n"
    "#. Guy, response 1\n"
    "#: Start:4\n"
    "msgctxt \"DEMO0002\"\n"
    "msgid \"Bye\"\n"
    "msgstr \"\"\n"
    "\n"
    "#. Guy, response 2\n"
    "#: Start:4\n"
    "msgctxt \"DEMO0003\"\n"
    "msgid \"Who?\"\n"
    "msgstr \"\"\n"
    "\n"
    "#. Guy\n"
    "#: Intro:1\n"
    "msgctxt \"DEMO0004\"\n"
    "msgid \"Caf\xC3\xA9\"\n"
    "msgstr \"\"\n";

// msgfmt --check on `bytes`: "" when it finds nothing, else what it says,
// leaving out a template's header fields that the translator's tool fills
// in. Nothing when msgfmt is not installed.
std::optional<std::string> Msgfmt(const std::string& bytes, const char* name) {
  std::optional<std::string> msgfmt = FindOnPath("msgfmt", ProcessEnvironment());
  if (!msgfmt) return std::nullopt;
  TempDir temp;
  WriteBytes(temp.file(name), bytes);
  ProgramRun run = RunProgram(*msgfmt, {"--check", "-o", temp.file("out.mo"), temp.file(name)});
  if (!run.succeeded()) return DescribeRunFailure(run) + "\n" + run.output;
  std::string said;
  std::string_view output = run.output;
  while (!output.empty()) {
    std::string_view line = output.substr(0, output.find('\n'));
    output.remove_prefix(std::min(output.size(), line.size() + 1));
    bool templateField = std::string_view(name).ends_with(".pot") && line.ends_with("still has the initial default value");
    if (!templateField) said += std::string(line) + "\n";
  }
  return said;
}

// What a translator's tool puts into the header of a new translation.
std::string TranslatedHeader(std::string header) {
  const std::pair<std::string, std::string> fields[] = {
      {"YEAR-MO-DA HO:MI+ZONE", "2024-05-01 12:00+0200"},
      {"FULL NAME <EMAIL@ADDRESS>", "Greta <greta@example.org>"},
      {"LANGUAGE <LL@li.org>", "German"},
      {"Language: \n", "Language: de\n"},
  };
  for (const auto& [from, to] : fields) header.replace(header.find(from), from.size(), to);
  return header;
}

std::string Translated(const std::string& id) {
  if (id == "Hello\nthere, \"you\"") return "Hallo\nihr da, \xE2\x80\x9E" "euch\xE2\x80\x9C";
  if (id == "Caf\xC3\xA9") return "Kaffee";
  return "[" + id + "]";
}

TEST(PoFileTest, TemplateOfTheKeyedTexts) {
  DialogueDocument d = KeyedProject();
  std::string pot = WritePoFile(PoTemplate(d, CollectBaseStrings(d), "demo"));
  EXPECT_EQ(pot, kTemplate);
}

// Translated as a translator's tool would: the template read, every msgstr
// filled, written again; then made into a table, which passes the check.
TEST(PoFileTest, RoundTripThroughATranslation) {
  DialogueDocument d = KeyedProject();
  PoRead pot = ReadPoFile(WritePoFile(PoTemplate(d, CollectBaseStrings(d), "demo")));
  ASSERT_TRUE(pot.status.ok) << pot.status.message;
  ASSERT_EQ(pot.file.entries.size(), 4u);
  EXPECT_EQ(pot.file.entries[0].context, "DEMO0001");
  EXPECT_EQ(pot.file.entries[0].id, "Hello\nthere, \"you\"");
  EXPECT_EQ(pot.file.entries[0].references, std::vector<std::string>{"Start:1"});
  EXPECT_EQ(pot.file.entries[0].line, 16);
  for (PoEntry& entry : pot.file.entries) entry.str = Translated(entry.id);
  pot.file.header = TranslatedHeader(pot.file.header);
  pot.file.headerFuzzy = false;
  std::string po = WritePoFile(pot.file);

  if (std::optional<std::string> problems = Msgfmt(po, "de.po")) {
    EXPECT_EQ(*problems, "") << po;
  }
  PoRead read = ReadPoFile(po);
  ASSERT_TRUE(read.status.ok) << read.status.message;
  EXPECT_TRUE(CheckPoFile(d, read.file).empty());

  PoImport imported = TableFromPo(read.file, TableEncoding::Utf8);
  ASSERT_TRUE(imported.status.ok) << imported.status.message;
  EXPECT_EQ(imported.written, 4);
  EXPECT_EQ(imported.table,
            "\xEF\xBB\xBF; Start\r\nDEMO0001\tHallo|ihr da, \xE2\x80\x9E" "euch\xE2\x80\x9C\r\nDEMO0002\t[Bye]\r\n"
            "DEMO0003\t[Who?]\r\n; Intro\r\nDEMO0004\tKaffee\r\n");
  EXPECT_TRUE(CheckStringTable(d, ReadStringTable(imported.table)).empty());

  // Windows-1252 has the German quotes; it has no Cyrillic.
  EXPECT_TRUE(TableFromPo(read.file, TableEncoding::Windows1252).status.ok);
  read.file.entries[3].str = "\xD0\x9A\xD0\xBE\xD1\x84\xD0\xB5";
  PoImport refused = TableFromPo(read.file, TableEncoding::Windows1252);
  EXPECT_FALSE(refused.status.ok);
  EXPECT_EQ(refused.status.line, read.file.entries[3].line);
}

TEST(PoFileTest, TemplateAndTextsThatNeedEscapesPassMsgfmt) {
  DialogueDocument d = KeyedProject();
  SetBranch(d, 1, "Odd",
            {Talk("Guy", "/K1/back\\slash and tab\there"), Talk("Guy", "/K2/ends in a break~n"),
             Talk("Guy", "/K3/~nstarts with one"), Talk("Guy", "/K4/Hello~nthere, ~\"you~\""),
             Talk("Guy", "/DEMO0001/Hello~nthere, ~\"you~\"")});
  std::string pot = WritePoFile(PoTemplate(d, CollectBaseStrings(d), "demo"));
  std::optional<std::string> problems = Msgfmt(pot, "demo.pot");
  if (!problems) GTEST_SKIP() << "msgfmt is not installed (Debian package gettext)";
  EXPECT_EQ(*problems, "") << pot;
  PoRead read = ReadPoFile(pot);
  ASSERT_TRUE(read.status.ok) << read.status.message;
  std::vector<std::string> ids;
  for (const PoEntry& entry : read.file.entries) ids.push_back(entry.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"Hello\nthere, \"you\"", "Bye", "Who?", "back\\slash and tab\there",
                                           "ends in a break\n", "\nstarts with one", "Hello\nthere, \"you\"",
                                           "Caf\xC3\xA9"}));
  // One entry for a key said twice with one text, both places referenced.
  EXPECT_EQ(read.file.entries[0].references, (std::vector<std::string>{"Start:1", "Odd:5"}));
}

struct PoReadCase {
  const char* title;
  std::string bytes;
  // context|id|str|fuzzy per entry, or the error's line
  std::vector<std::string> entries;
  int errorLine = -1;
};

const PoReadCase kPoReadCases[] = {
    {"strings over several lines, escapes and comments",
     "# translator's comment\n"
     "msgid \"\"\n"
     "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
     "\n"
     "#. Guy\n"
     "#: Start:1\n"
     "msgctxt \"K\" \"1\"\n"
     "msgid \"\"\n"
     "\"a\\tb\\\\\"\n"
     "  \"\\\"c\\\"\\n\"\n"
     "msgstr \"x\\101\\x42\"\r\n",
     {"K1|a\tb\\\"c\"\n|xAB|0"}},
    {"fuzzy among other flags, obsolete entries left out",
     "#, c-format, fuzzy\nmsgctxt \"K1\"\nmsgid \"a\"\nmsgstr \"b\"\n"
     "#~ msgctxt \"OLD\"\n#~ msgid \"old\"\n#~ msgstr \"alt\"\n"
     "#, no-wrap\nmsgctxt \"K2\"\nmsgid \"c\"\nmsgstr \"d\"\n",
     {"K1|a|b|1", "K2|c|d|0"}},
    {"entries without a blank line between, and without a key",
     "msgctxt \"K1\"\nmsgid \"a\"\nmsgstr \"b\"\nmsgid \"c\"\nmsgstr \"\"\n",
     {"K1|a|b|0", "|c||0"}},
    {"a plural entry gives its first form",
     "msgctxt \"K1\"\nmsgid \"one\"\nmsgid_plural \"many\"\nmsgstr[0] \"eins\"\nmsgstr[1] \"viele\"\n",
     {"K1|one|eins|0"}},
    {"Windows-1252 named in the header",
     "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=windows-1252\\n\"\n\nmsgctxt \"K1\"\nmsgid \"caf\xE9\"\nmsgstr "
     "\"Kaff\xE9\"\n",
     {"K1|caf\xC3\xA9|Kaff\xC3\xA9|0"}},
    {"a string without its closing quote", "msgctxt \"K1\"\nmsgid \"a\nmsgstr \"b\"\n", {}, 2},
    {"msgstr without msgid", "msgctxt \"K1\"\nmsgstr \"b\"\n", {}, 2},
    {"an unknown keyword", "msgctxt \"K1\"\nmsgid \"a\"\nmsgtxt \"b\"\n", {}, 3},
    {"the file ends before msgstr", "msgctxt \"K1\"\nmsgid \"a\"\n", {}, 2},
    {"a bad escape", "msgid \"a\\q\"\nmsgstr \"\"\n", {}, 1},
    {"bytes that are no UTF-8", "msgctxt \"K1\"\nmsgid \"caf\xE9\"\nmsgstr \"\"\n", {}, 1},
};

class PoReadTest : public ::testing::TestWithParam<PoReadCase> {};

TEST_P(PoReadTest, ReadsAsGettextDoes) {
  PoRead read = ReadPoFile(GetParam().bytes);
  if (GetParam().errorLine >= 0) {
    EXPECT_FALSE(read.status.ok);
    EXPECT_EQ(read.status.line, GetParam().errorLine) << read.status.message;
    return;
  }
  ASSERT_TRUE(read.status.ok) << read.status.message << " on line " << read.status.line;
  std::vector<std::string> entries;
  for (const PoEntry& e : read.file.entries)
    entries.push_back(e.context + "|" + e.id + "|" + e.str + "|" + (e.fuzzy ? "1" : "0"));
  EXPECT_EQ(entries, GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Cases, PoReadTest, ::testing::ValuesIn(kPoReadCases),
                         [](const auto& info) { return CaseName(info.param.title); });

TEST(PoFileTest, ImportLeavesOutWhatIsNotTranslated) {
  PoRead read = ReadPoFile(
      "#: Start:1\nmsgctxt \"K1\"\nmsgid \"a\"\nmsgstr \"A\"\n\n"
      "#: Start:2\n#, fuzzy\nmsgctxt \"K2\"\nmsgid \"b\"\nmsgstr \"B?\"\n\n"
      "#: Start:3\nmsgctxt \"K3\"\nmsgid \"c\"\nmsgstr \"\"\n\n"
      "msgid \"no key\"\nmsgstr \"kein Schl\xC3\xBCssel\"\n\n"
      "#: Outro:1\nmsgctxt \"K4\"\nmsgid \"d\"\nmsgstr \"D\"\n");
  ASSERT_TRUE(read.status.ok) << read.status.message;
  PoImport imported = TableFromPo(read.file, TableEncoding::Windows1252);
  EXPECT_EQ(imported.table, "; Start\r\nK1\tA\r\n; Outro\r\nK4\tD\r\n");
  EXPECT_EQ(imported.written, 2);
  EXPECT_EQ(imported.fuzzy, 1);
  EXPECT_EQ(imported.untranslated, 1);
  EXPECT_EQ(imported.withoutKey, 1);
}

}  // namespace
}  // namespace tellwright
