#include "ui/problems_monitor.h"

namespace tellwright {

namespace {

QString Count(int count, const char* singular, const char* plural) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? singular : plural));
}

}  // namespace

ProblemsMonitor::ProblemsMonitor(const DialogueDocument& document) : document_(document) {
  timer_.setSingleShot(true);
  timer_.setInterval(0);  // when the events of the change are handled
  connect(&timer_, &QTimer::timeout, this, &ProblemsMonitor::update);
}

void ProblemsMonitor::update() {
  timer_.stop();
  problems_ = LintDialogue(document_);
  counts_ = CountProblems(problems_);
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
