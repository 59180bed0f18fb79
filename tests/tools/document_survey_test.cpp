#include "tools/document_survey.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "document/project_file.h"
#include "export/sample_documents.h"
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
// a character, an error; some with string-table keys, some looking like
// UTF-8), deleted and moved, a loop inserted (maybe for no block), a
// response changed or relinked (maybe to nowhere), a block added, a branch
// renamed with its links, added or dropped at the end, a character renamed,
// added or removed.
void RandomEdit(DialogueDocument& d, std::mt19937& random) {
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  int b = pick(d.branchCount());
  auto insert = [&](const DialogueLine& line) {
    DialogueBranch& branch = d.editBranch(b);
    if (branch.lineCount >= kLinesPerBranch) return;
    branch.lines.splice(pick(branch.lineCount + 1), 0, {line});
    ++branch.lineCount;
  };
  switch (pick(12)) {
    case 0: {
      const char* speakers[] = {"Guy", "", "Nobody", "\xC9lise", "guy"};
      const char* texts[] = {"Line ", "/KEY_1/Keyed ", "/key_2/Keyed ", "caf\xC3\xA9 ", "Quote \" "};
      insert(Talk(speakers[pick(5)], texts[pick(5)] + std::to_string(random()), pick(2) ? "voice\\hello.ogg" : ""));
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
      const char* links[] = {"Start", "Hello_World", "Nowhere", "", "start"};
      d.responseBlocks.slot(0).responses.slot(pick(2)).linkBranch = links[pick(5)];
      return;
    }
    case 4:
      RenameBranch(d, b, "Branch_" + std::to_string(pick(4)));
      return;
    case 5:
      d.characters[static_cast<size_t>(pick(static_cast<int>(d.characters.size())))].realName =
          pick(2) ? "Guy" : "Narrator";
      return;
    case 6: {
      const char* texts[] = {"Sure.", "/KEY_1/Keyed", "", "<<<<<<< ours", "Caf\xC3\xA9"};
      const int slot = pick(d.responseBlocks.stored());
      if (d.responseBlocks[slot].id < 1) return;
      Response& response = d.responseBlocks.slot(slot).responses.slot(pick(3));
      switch (pick(4)) {
        case 0:
          response.text = texts[pick(5)];
          break;
        case 1:
          response.sayResponse = !response.sayResponse;
          break;
        case 2:
          response.leaveLoop = !response.leaveLoop;
          break;
        default:
          response.conditions = pick(2) ? "false" : "";
      }
      return;
    }
    case 7:
      if (pick(2) || d.characters.size() < 2)
        d.characters.push_back({pick(2) ? "Narrator" : "Guy", "actor_" + std::to_string(pick(3))});
      else
        d.characters.erase(d.characters.begin() + pick(static_cast<int>(d.characters.size())));
      return;
    case 8: {
      const int32_t ids[] = {7, 9, 12, 0};
      insert(BlockLine(pick(2) ? "Guy" : "", ids[pick(4)]));
      return;
    }
    case 9:
      if (pick(2) && d.lastBranchIndex > 0)
        --d.lastBranchIndex;
      else if (d.lastBranchIndex + 1 < kBranchSlots)
        SetBranch(d, d.lastBranchIndex + 1, pick(2) ? "Start" : "Late_" + std::to_string(pick(3)),
                  {Talk("Guy", "Late.")});
      return;
    case 10: {
      BlockAllocation added = AllocateResponseBlock(d);
      if (added.status)
        d.responseBlocks.slot(added.slot).responses.slot(0) =
            MakeResponse({.text = "Go", .leaveLoop = pick(2), .sayResponse = 1, .linkBranch = "Hello_World"});
      return;
    }
    default:
      d.responseBlocks.slot(pick(d.responseBlocks.stored())).id = pick(2) ? 9 : 12;
      return;
  }
}

// A random step of a writer's session: an undo, a redo or a new edit.
struct EditHistory {
  std::vector<DialogueDocument> undo, redo;

  void step(DialogueDocument& document, std::mt19937& random) {
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
  }
};

// KeyedProject's branches, then ToolsDocument's: texts with keys and without,
// shared and unused blocks, sound files.
DialogueDocument KeyedToolsDocument() {
  DialogueDocument document = KeyedProject();
  const DialogueDocument tools = ToolsDocument();
  document.characters.insert(document.characters.end(), tools.characters.begin(), tools.characters.end());
  for (int b = 0; b < tools.branchCount(); ++b) document.editBranch(b + 3) = tools.branch(b);
  document.lastBranchIndex = tools.branchCount() + 2;
  document.responseBlocks.slot(0) = tools.responseBlocks[0];
  document.responseBlocks.slot(3) = tools.responseBlocks[3];
  document.engineProjectPath = tools.engineProjectPath;
  return document;
}

// The engine project's folder of ToolsDocument, with the one sound file.
LintOptions FakeDisk() {
  return {.listFolder = [](const std::string& folder) -> std::optional<std::vector<std::string>> {
    if (folder == "C:/Game") return std::vector<std::string>{"game.wpr", "Voice"};
    if (folder == "C:/Game/Voice") return std::vector<std::string>{"hello.ogg"};
    return std::nullopt;
  }};
}

// A surveyor that keeps what each branch found, asked after every edit,
// undo and redo of a random run, answers as a survey from scratch does.
TEST(DocumentSurveyorTest, AfterEveryRandomEditUndoAndRedoAgreesWithAFullSurvey) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    DialogueDocument document = KeyedToolsDocument();
    EditHistory history;
    DocumentSurveyor surveyor(FakeDisk());
    for (int step = 0; step < 300; ++step) {
      history.step(document, random);
      SCOPED_TRACE("step " + std::to_string(step));
      auto snapshot = std::make_shared<const DialogueDocument>(document);
      DocumentSurvey kept = surveyor.survey(snapshot);
      ExpectSameSurvey(kept, SurveyDocument(std::make_shared<DialogueDocument>(document), FakeDisk()));
      if (::testing::Test::HasFailure()) return;
    }
  }
}

// A sound file added to the engine project's folder counts once the folders
// are listed again, though no branch changed.
TEST(DocumentSurveyorTest, SeesSoundFilesAddedOnDiskWhenItListsTheFoldersAgain) {
  auto voice = std::make_shared<std::vector<std::string>>();
  LintOptions disk{.listFolder = [voice](const std::string& folder) -> std::optional<std::vector<std::string>> {
    if (folder == "C:/Game") return std::vector<std::string>{"game.wpr", "Voice"};
    if (folder == "C:/Game/Voice") return *voice;
    return std::nullopt;
  }};
  auto document = std::make_shared<const DialogueDocument>(ToolsDocument());
  auto missing = [](const DocumentSurvey& survey) {
    int count = 0;
    for (const Problem& problem : survey.problems) count += problem.rule == "sound-file-missing";
    return count;
  };
  DocumentSurveyor surveyor(disk);
  surveyor.recheckFoldersEvery({});
  EXPECT_EQ(missing(surveyor.survey(document)), 1);
  voice->push_back("HELLO.ogg");
  EXPECT_EQ(missing(surveyor.survey(document)), 0);
  ExpectSameSurvey(surveyor.survey(document), SurveyDocument(document, disk));
}

// After an edit of one branch, only that branch is read again.
TEST(DocumentSurveyorTest, ReadsOnlyTheBranchAnEditChanged) {
  DialogueDocument document = ToolsDocument();
  for (int b = 3; b < 40; ++b) SetBranch(document, b, "Branch_" + std::to_string(b), {Talk("Guy", "Hi.")});
  DocumentSurveyor surveyor(FakeDisk());
  surveyor.survey(std::make_shared<const DialogueDocument>(document));
  EXPECT_EQ(surveyor.branchesLinted(), 40);

  DialogueBranch& branch = document.editBranch(20);
  branch.lines.slot(branch.lineCount++) = Talk("Guy", "More.");
  DocumentSurvey survey = surveyor.survey(std::make_shared<const DialogueDocument>(document));
  EXPECT_EQ(surveyor.branchesLinted(), 1);
  EXPECT_EQ(surveyor.branchesCounted(), 1);
  EXPECT_EQ(survey.stats.branches[20].lines, 2);
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
    EditHistory history;

    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<DocumentSurvey> results;
    std::map<uint64_t, std::string> bytesAsked;  // the document each ticket asked about
    uint64_t last = 0;
    {
      SurveyWorker worker(NoDisk());
      for (int step = 0; step < 200; ++step) {
        history.step(document, random);
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
