#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/document_survey.h"

namespace tellwright {

class Spelling;

// Keeps the document's problems and statistics up to date without holding
// up an edit: after a change a snapshot of the document (cheap: it shares
// the branches and blocks) is surveyed on a thread of its own, once for a
// burst of changes. Only the survey of the newest snapshot is taken; until
// it arrives the last one stays, and isCurrent() says it is out of date.
// The translations named for the project (string tables and PO files) are
// checked against the snapshot with the lint, their findings led by the
// file's name; the spelling notes join them whenever a check of the spelling
// ends.
class ProblemsMonitor : public QObject {
  Q_OBJECT

 public:
  explicit ProblemsMonitor(const DialogueDocument& document);
  ~ProblemsMonitor() override;

  // The document changed.
  void schedule();
  // Surveys the document as it is now (the result follows, see updated()).
  void update();
  // The translation files to check from now on (paths).
  void setTranslationFiles(std::vector<std::string> paths) { translationFiles_ = std::move(paths); }

  // The spelling notes join the survey's problems after them, whenever a
  // check of the spelling ends; a change starts one.
  void setSpelling(Spelling* spelling);

  // The last survey taken, as the worker found it: its problems, counts and
  // statistics describe its own document. The spelling notes are apart.
  const DocumentSurvey& survey() const { return *survey_; }
  std::shared_ptr<const DocumentSurvey> sharedSurvey() const { return survey_; }
  // The spelling notes of the last check ended (never null).
  std::shared_ptr<const std::vector<Problem>> sharedNotes() const { return notes_; }
  // The survey's problems and then the spelling notes; made when asked for.
  const std::vector<Problem>& problems() const;
  // The counts of problems(), the spelling notes included.
  ProblemCounts counts() const { return counts_; }
  // True when the survey describes the document as it is now.
  bool isCurrent() const { return !timer_.isActive() && survey_->ticket == requested_; }

 signals:
  // A survey of the newest document arrived, or new spelling notes did.
  void updated();

 private:
  void take(DocumentSurvey survey);
  void merge();

  const DialogueDocument& document_;
  std::vector<std::string> translationFiles_;
  QTimer timer_;
  QPointer<Spelling> spelling_;
  // What the window last showed is let go of on another thread: freeing
  // 100,000 problems takes longer than the window may wait.
  std::shared_ptr<const DocumentSurvey> survey_;
  std::shared_ptr<const std::vector<Problem>> notes_;
  ProblemCounts counts_;
  mutable std::shared_ptr<const std::vector<Problem>> merged_;  // problems(), once asked for
  uint64_t requested_ = 0;
  std::unique_ptr<SurveyWorker> worker_;
};

// The counts of a survey's problems with the spelling notes after them.
ProblemCounts CountsWithNotes(const DocumentSurvey& survey, const std::vector<Problem>& notes);

// "2 errors, 5 warnings", with ", 1 note" when there are notes; "No
// problems" when there are none.
QString CountsText(const ProblemCounts& counts);

}  // namespace tellwright
