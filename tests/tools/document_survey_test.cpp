#include "tools/document_survey.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "document/project_file.h"
#include "tools_fixture.h"

namespace tellwright::testing {
namespace {

LintOptions NoDisk() {
  LintOptions options;
  options.checkSoundFiles = false;
  return options;
}

void ExpectSameSurvey(const DocumentSurvey& got, const DocumentSurvey& expected) {
  EXPECT_EQ(got.problems, expected.problems);
  EXPECT_EQ(got.counts.errors, expected.counts.errors);
  EXPECT_EQ(got.counts.warnings, expected.counts.warnings);
  EXPECT_EQ(got.counts.notes, expected.counts.notes);
  EXPECT_EQ(got.stats.characters, expected.stats.characters);
  EXPECT_EQ(got.stats.branches, expected.stats.branches);
  EXPECT_EQ(got.stats.totals, expected.stats.totals);
}

// One random edit of the kinds a writer makes: lines inserted (some without
// a character, an error), deleted and moved, a response relinked (maybe to
// nowhere), a branch renamed with its links, a character renamed.
void RandomEdit(DialogueDocument& d, std::mt19937& random) {
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  int b = pick(d.branchCount());
  switch (pick(6)) {
    case 0: {
      DialogueBranch& branch = d.editBranch(b);
      if (branch.lineCount >= kLinesPerBranch) return;
      const char* speakers[] = {"Guy", "", "Nobody", "\xC9lise"};
      branch.lines.splice(pick(branch.lineCount + 1), 0, {Talk(speakers[pick(4)], "Line " + std::to_string(random()))});
      ++branch.lineCount;
      return;
    }
    case 1: {
      DialogueBranch& branch = d.editBranch(b);
      if (branch.lineCount == 0) return;
      branch.lines.splice(pick(branch.lineCount), 1, {});
      --branch.lineCount;
      return;
    }
    case 2: {
      DialogueBranch& branch = d.editBranch(b);
      if (branch.lineCount < 2) return;
      int from = pick(branch.lineCount - 1);
      DialogueLine moved = branch.lines[from];
      branch.lines.splice(from, 2, {branch.lines[from + 1], moved});
      return;
    }
    case 3: {
      const char* links[] = {"Start", "Hello_World", "Nowhere", ""};
      d.responseBlocks.slot(0).responses.slot(pick(2)).linkBranch = links[pick(4)];
      return;
    }
    case 4:
      RenameBranch(d, b, "Branch_" + std::to_string(pick(4)));
      return;
    default:
      d.characters[static_cast<size_t>(pick(static_cast<int>(d.characters.size())))].realName =
          pick(2) ? "Guy" : "Narrator";
      return;
  }
}

// Surveys requested after every step of a random run of edits, undos and
// redos, while the editing goes on: each result describes the document as
// it was when asked for (what the edits did later leaves it alone), agrees
// with a survey made from scratch, and the last one asked for arrives and
// describes the final document.
TEST(SurveyWorkerTest, ResultsFollowRandomEditsUndoAndRedoAndMatchAFullRecount) {
  for (unsigned seed = 1; seed <= 5; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    DialogueDocument document = ToolsDocument();
    std::vector<DialogueDocument> undo, redo;

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<DocumentSurvey> results;
    std::map<uint64_t, std::string> bytesAsked;  // the document each ticket asked about
    uint64_t last = 0;
    {
      SurveyWorker worker(NoDisk());
      for (int step = 0; step < 200; ++step) {
        int choice = static_cast<int>(random() % 10);
        if (choice == 0 && !undo.empty()) {
          redo.push_back(document);
          document = undo.back();
          undo.pop_back();
        } else if (choice == 1 && !redo.empty()) {
          undo.push_back(document);
          document = redo.back();
          redo.pop_back();
        } else {
          undo.push_back(document);
          redo.clear();
          RandomEdit(document, random);
        }
        std::string bytes = WriteProject(document);
        last = worker.request(document, [&](DocumentSurvey survey) {
          std::lock_guard lock(mutex);
          results.push_back(std::move(survey));
          arrived.notify_one();
        });
        std::lock_guard lock(mutex);
        bytesAsked[last] = std::move(bytes);
      }
      std::unique_lock lock(mutex);
      arrived.wait(lock, [&] { return !results.empty() && results.back().ticket == last; });
    }
    ASSERT_FALSE(results.empty());
    uint64_t previous = 0;
    for (const DocumentSurvey& survey : results) {
      EXPECT_GT(survey.ticket, previous);  // never an older one after a newer
      previous = survey.ticket;
      EXPECT_EQ(WriteProject(*survey.document), bytesAsked[survey.ticket]);
      ExpectSameSurvey(survey, SurveyDocument(std::make_shared<DialogueDocument>(*survey.document), NoDisk()));
    }
    ExpectSameSurvey(results.back(), SurveyDocument(std::make_shared<DialogueDocument>(document), NoDisk()));
  }
}

TEST(SurveyDocumentTest, ListsErrorsFirstKeepingDocumentOrderWithinASeverity) {
  DialogueDocument d = ToolsDocument();
  SetBranch(d, 3, "Broken", {Talk("", "Who says this?"), Talk("", "And this?")});
  DocumentSurvey survey = SurveyDocument(std::make_shared<DialogueDocument>(d), NoDisk());
  std::vector<Problem> expected;
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Note})
    for (const Problem& problem : LintDialogue(d, NoDisk()))
      if (problem.severity == severity) expected.push_back(problem);
  EXPECT_EQ(survey.problems, expected);
  EXPECT_GE(survey.counts.errors, 2);
  EXPECT_GE(survey.counts.warnings + survey.counts.notes, 1);
}

}  // namespace
}  // namespace tellwright::testing
