#include "ui/problems_monitor.h"

#include "base/path_names.h"
#include "base/utf8_text.h"
#include "tools/string_check.h"
#include "ui/spelling.h"

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
  problems_ = LintDialogue(document_);
  checkTranslations();
  linted_ = std::move(problems_);
  merge();
}

void ProblemsMonitor::merge() {
  problems_ = linted_;
  if (spelling_) {
    std::vector<Problem> notes = spelling_->notes();
    problems_.insert(problems_.end(), notes.begin(), notes.end());
  }
  counts_ = CountProblems(problems_);
  emit updated();
}

void ProblemsMonitor::checkTranslations() {
  for (const std::string& path : translationFiles_) {
    std::string_view name = FileNamePart(path);
    TranslationCheck check = CheckTranslationFile(document_, path);
    if (!check.status) {
      std::string where(name);
      if (check.status.line > 0) where += ":" + std::to_string(check.status.line);
      problems_.push_back({.severity = Severity::Error,
                           .place = {},
                           .rule = "translation-unreadable",
                           .message = Utf8ToCp1252Replacing(where + ": " + check.status.message),
                           .hint = "Correct the file, or stop checking it (Dialogue > Localisation)."});
      continue;
    }
    for (const TranslationFinding& finding : check.findings) problems_.push_back(AsProblem(finding, name));
  }
}

QString CountsText(const ProblemCounts& counts) {
  if (counts.errors + counts.warnings + counts.notes == 0) return QStringLiteral("No problems");
  QString text =
      Count(counts.errors, "error", "errors") + QStringLiteral(", ") + Count(counts.warnings, "warning", "warnings");
  if (counts.notes) text += QStringLiteral(", ") + Count(counts.notes, "note", "notes");
  return text;
}

}  // namespace tellwright
