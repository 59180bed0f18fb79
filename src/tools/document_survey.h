#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "document/dialogue_document.h"
#include "lint/lint.h"
#include "lint/lint_cache.h"
#include "tools/dialogue_stats.h"

namespace tellwright {

// What the editor shows about a whole document besides the document itself:
// its problems and its statistics, and the document they were found in (a
// problem's place means a line of that document, which the one being edited
// may no longer have).
struct DocumentSurvey {
  uint64_t ticket = 0;  // of the request it answers
  std::shared_ptr<const DialogueDocument> document;
  std::vector<Problem> problems;  // errors first, then warnings, then notes; in document order within each
  ProblemCounts counts;
  DialogueStats stats;
};

// The survey of `document`, all of it computed afresh. The translation files
// (string tables and PO files, paths) are checked against it, their
// findings among the lint's problems, led by the file's name.
DocumentSurvey SurveyDocument(std::shared_ptr<const DialogueDocument> document, const LintOptions& options = {},
                              const std::vector<std::string>& translationFiles = {});

// Surveys document after document, each most often the one before with a
// branch or two changed: what the lint and the counting found in a branch is
// kept while it still holds (see LintCache and StatsCache), so that a survey
// after a typical edit reads only the changed branch. The survey is always
// SurveyDocument's of the same document. The translation files are checked
// afresh every time.
class DocumentSurveyor {
 public:
  explicit DocumentSurveyor(LintOptions options = {});
  DocumentSurvey survey(std::shared_ptr<const DialogueDocument> document,
                        const std::vector<std::string>& translationFiles = {});
  // Forgets what was kept, such as the sound files' folders listed.
  void clear() { lint_.clear(); }
  // How often the sound files' folders are listed again (LintCache).
  void recheckFoldersEvery(std::chrono::steady_clock::duration interval) { lint_.recheckFoldersEvery(interval); }

  int branchesLinted() const { return lint_.branchesLinted(); }
  int branchesCounted() const { return stats_.branchesCounted(); }

 private:
  LintCache lint_;
  StatsCache stats_;
};

// Surveys documents on a thread of its own, so that an edit never waits
// for the lint or the counting. The newest request wins: one made while a
// survey runs waits, replacing any other still waiting, so a burst of edits
// costs at most one survey beyond the one running. Every request carries a
// ticket higher than the ones before; a caller shows a result as current
// only when its ticket is the last one it asked for.
class SurveyWorker {
 public:
  // Runs on the worker's thread; a window hands the result on to its own.
  using Done = std::function<void(DocumentSurvey survey)>;

  explicit SurveyWorker(LintOptions options = {});
  // Waits for the survey that runs, drops the one waiting.
  ~SurveyWorker();
  SurveyWorker(const SurveyWorker&) = delete;
  SurveyWorker& operator=(const SurveyWorker&) = delete;

  // Asks for a survey of `snapshot` (a copy of a document shares its
  // branches and blocks, so it costs little). A request replaced before it
  // started never calls `done`.
  uint64_t request(DialogueDocument snapshot, std::vector<std::string> translationFiles, Done done);
  uint64_t request(DialogueDocument snapshot, Done done) { return request(std::move(snapshot), {}, std::move(done)); }

 private:
  struct Job {
    uint64_t ticket = 0;
    std::shared_ptr<const DialogueDocument> document;
    std::vector<std::string> translationFiles;
    Done done;
  };
  void run();

  DocumentSurveyor surveyor_;  // used on the worker's thread only
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> waiting_;
  uint64_t lastTicket_ = 0;
  bool stopping_ = false;
  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace tellwright
