#include "ui/problems_monitor.h"

#include <QMetaObject>
#include <utility>

#include "ui/discard_elsewhere.h"
#include "ui/spelling.h"

namespace tellwright {

namespace {

QString Count(int count, const char* singular, const char* plural) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

}  // namespace

ProblemsMonitor::ProblemsMonitor(const DialogueDocument& document)
    : document_(document),
      survey_(std::make_shared<DocumentSurvey>()),
      notes_(std::make_shared<std::vector<Problem>>()),
      worker_(std::make_unique<SurveyWorker>()) {
  timer_.setSingleShot(true);
  timer_.setInterval(0);  // when the events of the change are handled
  connect(&timer_, &QTimer::timeout, this, &ProblemsMonitor::update);
}

// The worker goes first: once it is gone no survey can reach this object.
ProblemsMonitor::~ProblemsMonitor() { worker_.reset(); }

void ProblemsMonitor::schedule() {
  timer_.start();
  if (spelling_) spelling_->schedule();
}

void ProblemsMonitor::setSpelling(Spelling* spelling) {
  spelling_ = spelling;
  connect(spelling, &Spelling::checked, this, &ProblemsMonitor::merge);
}

void ProblemsMonitor::update() {
  timer_.stop();
  requested_ = worker_->request(document_, translationFiles_, [this](DocumentSurvey survey) {
    // Handed to the window's thread (the monitor outlives the worker); Qt
    // drops it there if the monitor goes first.
    auto shared = std::make_shared<DocumentSurvey>(std::move(survey));
    QMetaObject::invokeMethod(
        this, [this, shared]() mutable { take(std::move(*shared)); }, Qt::QueuedConnection);
  });
}

void ProblemsMonitor::take(DocumentSurvey survey) {
  if (survey.ticket != requested_) return;  // an older document's
  DiscardElsewhere(std::exchange(survey_, std::make_shared<const DocumentSurvey>(std::move(survey))));
  merge();
}

// The spelling notes come last: they are notes, and the survey's problems
// are ordered errors first. They are kept apart, so that a new survey or new
// notes never copy the other's problems.
void ProblemsMonitor::merge() {
  if (spelling_) {
    std::vector<Problem> notes = spelling_->notes();
    if (!notes.empty() || !notes_->empty())
      DiscardElsewhere(std::exchange(notes_, std::make_shared<const std::vector<Problem>>(std::move(notes))));
  }
  DiscardElsewhere(std::exchange(merged_, nullptr));
  counts_ = CountsWithNotes(*survey_, *notes_);
  emit updated();
}

const std::vector<Problem>& ProblemsMonitor::problems() const {
  if (notes_->empty()) return survey_->problems;
  if (!merged_) {
    auto merged = std::make_shared<std::vector<Problem>>(survey_->problems);
    merged->insert(merged->end(), notes_->begin(), notes_->end());
    merged_ = std::move(merged);
  }
  return *merged_;
}

ProblemCounts CountsWithNotes(const DocumentSurvey& survey, const std::vector<Problem>& notes) {
  ProblemCounts counts = survey.counts;
  ProblemCounts spelling = CountProblems(notes);
  counts.errors += spelling.errors;
  counts.warnings += spelling.warnings;
  counts.notes += spelling.notes;
  return counts;
}

QString CountsText(const ProblemCounts& counts) {
  if (counts.errors + counts.warnings + counts.notes == 0) return QStringLiteral("No problems");
  QString text =
      Count(counts.errors, "error", "errors") + QStringLiteral(", ") + Count(counts.warnings, "warning", "warnings");
  if (counts.notes) text += QStringLiteral(", ") + Count(counts.notes, "note", "notes");
  return text;
}

}  // namespace tellwright
