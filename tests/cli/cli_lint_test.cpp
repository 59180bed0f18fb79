#include <gtest/gtest.h>

#include "cli/cli_process.h"
#include "cli/cli_projects.h"

namespace tellwright {
namespace {

using namespace testing;

// Start: a talkline by a character not in the list (its character on file
// line 11), a loop whose second response links to a missing branch (its link
// on line 40). Café (line 22): no script name, linked from nowhere; its
// talkline's text (line 26) holds a double quote.
const std::string kLintProject =
    "V1.2\n\nGuy\nguy\n##ENDCHARLIST##\n1\n"
    "##DIALOGBRANCH##\nStart\n2\n"
    "Talkline\nGyu\nHi\n\n0\n"
    "Responseblock\nGuy\n\n\n1\n"
    "##ENDBRANCH##\n"
    "##DIALOGBRANCH##\nCaf\xE9\n1\n"
    "Talkline\nGuy\nSay \"x\"\n\n0\n"
    "##ENDBRANCH##\n"
    "##RESPONSEBLOCK##\n1\n"
    "Bye\n\n\n0\n1\n1\n"
    "Ask\n\nIntro\n0\n0\n0\n"
    "##ENDRESPONSE##\n";

// The diagnostic lines (not the hints) of a text run.
std::vector<std::string> Diagnostics(const std::string& out) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t end; (end = out.find('\n', from)) != std::string::npos; from = end + 1)
    if (out.compare(from, 4, "    ") != 0) lines.push_back(out.substr(from, end - from));
  return lines;
}

// Each problem at the line of the field that holds it, in the order of the
// file.
TEST(CliLintTest, TextAtTheProjectFileLines) {
  TempDir dir;
  WriteBytes(dir.file("p.tlwdlg"), kLintProject);
  CliRun run = RunCli(dir, {"lint", "p.tlwdlg"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "");
  std::vector<std::string> lines = Diagnostics(run.out);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"p.tlwdlg:11: warning: Start, line 1: ", "[character-unknown]"},
      {"p.tlwdlg:22: error: Caf\xC3\xA9: ", "[branch-name-identifier]"},
      {"p.tlwdlg:22: note: Caf\xC3\xA9: ", "[branch-unreachable]"},
      {"p.tlwdlg:26: error: Caf\xC3\xA9, line 1: ", "[string-quote]"},
      {"p.tlwdlg:40: error: Start, line 2, response 2: ", "[link-missing]"},
  };
  ASSERT_EQ(lines.size(), expected.size() + 1) << run.out;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(lines[i].rfind(expected[i].first, 0), 0u) << lines[i];
    EXPECT_EQ(lines[i].substr(lines[i].size() - expected[i].second.size()), expected[i].second) << lines[i];
  }
  EXPECT_EQ(lines[0],
            "p.tlwdlg:11: warning: Start, line 1: The character 'Gyu' is not in the character list, so the script "
            "says nothing here. [character-unknown]");
  EXPECT_NE(run.out.find("\n    hint: Pick a character of the list, or add 'Gyu' to it.\n"), std::string::npos);
  EXPECT_EQ(lines.back(), "p.tlwdlg: 3 errors, 1 warning, 1 note");
}

// A key and a conflict marker are in a text: the problem is at its line.
TEST(CliLintTest, ProblemsOfATextAtTheTextsLine) {
  TempDir dir;
  WriteBytes(dir.file("p.tlwdlg"),
             "V1.2\n\nGuy\nguy\n##ENDCHARLIST##\n0\n##DIALOGBRANCH##\nStart\n3\n"
             "Talkline\nGuy\n/K1/Hi\n\n0\n"
             "Talkline\nGuy\n/k1/Ho\n\n0\n"
             "Remark\n\n>>>>>>> theirs\n\n0\n"
             "##ENDBRANCH##\n");
  CliRun run = RunCli(dir, {"lint", "p.tlwdlg"});
  EXPECT_EQ(run.exitCode, 1);
  std::vector<std::string> lines = Diagnostics(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0].rfind("p.tlwdlg:17: error: Start, line 2: The string-table key 'k1' of the talkline's text is "
                           "also the key of Start, line 1",
                           0),
            0u)
      << lines[0];
  EXPECT_EQ(lines[1].rfind("p.tlwdlg:22: error: Start, line 3: ", 0), 0u) << lines[1];
  EXPECT_TRUE(lines[1].ends_with("[merge-conflict]")) << lines[1];
}

TEST(CliLintTest, ExitCodes) {
  TempDir dir;
  WriteBytes(dir.file("good.tlwdlg"), kGoodProject);
  std::string warned = kGoodProject;
  warned.replace(warned.find("\nGuy\nHello"), 4, "\nGyu");
  WriteBytes(dir.file("warned.tlwdlg"), warned);
  WriteBytes(dir.file("bad.tlwdlg"), kLintProject);
  WriteBytes(dir.file("damaged.tlwdlg"), kDamagedProject);
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{"lint", "good.tlwdlg"}, 0},
      {{"lint", "warned.tlwdlg"}, 0},
      {{"lint", "warned.tlwdlg", "--werror"}, 1},
      {{"lint", "good.tlwdlg", "bad.tlwdlg"}, 1},
      {{"lint", "damaged.tlwdlg", "bad.tlwdlg"}, 2},
      {{"lint", "missing.tlwdlg", "--format", "json"}, 2},
      {{"lint", "good.tlwdlg", "--format", "xml"}, 2},
  };
  for (const auto& [args, code] : cases) {
    CliRun run = RunCli(dir, args);
    EXPECT_EQ(run.exitCode, code) << args[1] << " " << run.err;
  }
  EXPECT_EQ(RunCli(dir, {"lint", "good.tlwdlg"}).out, "");
  CliRun damaged = RunCli(dir, {"lint", "damaged.tlwdlg", "bad.tlwdlg"});
  EXPECT_EQ(damaged.err.rfind("damaged.tlwdlg:7: error: ", 0), 0u) << damaged.err;
  EXPECT_NE(damaged.out.find("bad.tlwdlg: 3 errors"), std::string::npos) << "later files still linted";
  CliRun help = RunCli(dir, {"lint", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: tellwright-cli lint [OPTIONS] PROJECT..."), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("nothing for a project without problems"), std::string::npos) << help.out;
}

// The JSON is read back by Python's own parser, which prints one line per
// file and per problem.
TEST(CliLintTest, JsonForTools) {
  TempDir dir;
  WriteBytes(dir.file("p.tlwdlg"), kLintProject);
  CliRun run = RunCli(dir, {"lint", "p.tlwdlg", "missing.tlwdlg", "--format", "json"});
  EXPECT_EQ(run.exitCode, 2);
  WriteBytes(dir.file("out.json"), run.out);
  const std::string script =
      "import json, sys\n"
      "d = json.load(open(sys.argv[1], encoding='utf-8'))\n"
      "for f in d['files']: print(f['file'], f.get('errors'), f.get('warnings'), f.get('notes'), 'loadError' in f)\n"
      "for p in d['problems']:\n"
      "  print(p['file'], p['fileLine'], p['severity'], p['rule'], p['branch'], p['line'], p['response'],\n"
      "        p['block'], p['character'], p['message'][:24], bool(p['hint']))\n";
  WriteBytes(dir.file("read.py"), script);
  std::string command = "cd " + ShellQuoted(dir.path().string()) + " && python3 read.py out.json > parsed.txt 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(dir.file("parsed.txt")) << run.out;
  EXPECT_EQ(ReadBytes(dir.file("parsed.txt")),
            "p.tlwdlg 3 1 1 False\n"
            "missing.tlwdlg None None None True\n"
            "p.tlwdlg 11 warning character-unknown Start 1 None None Gyu The character 'Gyu' is n True\n"
            "p.tlwdlg 22 error branch-name-identifier Caf\xC3\xA9 None None None None The dialogue branch name True\n"
            "p.tlwdlg 22 note branch-unreachable Caf\xC3\xA9 None None None None No response of another b True\n"
            "p.tlwdlg 26 error string-quote Caf\xC3\xA9 1 None None None The talkline's text hold True\n"
            "p.tlwdlg 40 error link-missing Start 2 2 1 None The response links to 'I True\n");
  EXPECT_NE(run.out.find("holds a double quote"), std::string::npos);
}

// Several projects: each reported in full as if linted alone, in the order
// given; the JSON lists every project's problems after all the files.
TEST(CliLintTest, SeveralProjectsEachInFull) {
  TempDir dir;
  WriteBytes(dir.file("p.tlwdlg"), kLintProject);
  WriteBytes(dir.file("q.tlwdlg"), kLintProject);
  const std::string p = RunCli(dir, {"lint", "p.tlwdlg"}).out;
  const std::string q = RunCli(dir, {"lint", "q.tlwdlg"}).out;
  EXPECT_EQ(RunCli(dir, {"lint", "p.tlwdlg", "q.tlwdlg"}).out, p + q);
  EXPECT_EQ(RunCli(dir, {"lint", "q.tlwdlg", "p.tlwdlg"}).out, q + p);

  const std::string pJson = RunCli(dir, {"lint", "p.tlwdlg", "--format", "json"}).out;
  const std::string qJson = RunCli(dir, {"lint", "q.tlwdlg", "--format", "json"}).out;
  auto part = [](const std::string& json, const char* from, const char* to) {
    size_t start = json.find(from) + std::string(from).size();
    return json.substr(start, json.find(to, start) - start);
  };
  const std::string both = RunCli(dir, {"lint", "p.tlwdlg", "q.tlwdlg", "--format", "json"}).out;
  EXPECT_EQ(both, "{\"files\":[" + part(pJson, "{\"files\":[", "],") + "," + part(qJson, "{\"files\":[", "],") +
                      "],\n\"problems\":[" + part(pJson, "\"problems\":[", "]}\n") + "," +
                      part(qJson, "\"problems\":[", "]}\n") + "]}\n");
}

}  // namespace
}  // namespace tellwright
