#include "ui/problems_monitor.h"

#include <QMetaObject>

#include "ui/spelling.h"

namespace tellwright {

namespace {

QString Count(int count, const char* singular, const char* plural) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

}  // namespace

ProblemsMonitor::ProblemsMonitor(const DialogueDocument& document)
    : document_(document),
      surveyed_(std::make_shared<DocumentSurvey>()),
      survey_(surveyed_),
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
  surveyed_ = std::make_shared<const DocumentSurvey>(std::move(survey));
  merge();
}

// The spelling notes come last: they are notes, and the survey's problems
// are ordered errors first.
void ProblemsMonitor::merge() {
  std::vector<Problem> notes;
  if (spelling_) notes = spelling_->notes();
  if (notes.empty()) {
    survey_ = surveyed_;
  } else {
    auto merged = std::make_shared<DocumentSurvey>(*surveyed_);
    merged->problems.insert(merged->problems.end(), notes.begin(), notes.end());
    merged->counts = CountProblems(merged->problems);
    survey_ = std::move(merged);
  }
  emit updated();
}

QString CountsText(const ProblemCounts& counts) {
  if (counts.errors + counts.warnings + counts.notes == 0) return QStringLiteral("No problems");
  QString text =
      Count(counts.errors, "error", "errors") + QStringLiteral(", ") + Count(counts.warnings, "warning", "warnings");
  if (counts.notes) text += QStringLiteral(", ") + Count(counts.notes, "note", "notes");
  return text;
}

}  // namespace tellwright
