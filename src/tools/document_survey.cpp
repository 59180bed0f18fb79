#include "tools/document_survey.h"

#include <span>
#include <utility>

#include "base/path_names.h"
#include "base/utf8_text.h"
#include "tools/string_check.h"

namespace tellwright {

namespace {

// A translation's findings as problems; a file that cannot be read is one
// error naming it (and the line).
void CheckTranslations(const DialogueDocument& document, const std::vector<std::string>& paths,
                       std::vector<Problem>& problems) {
  for (const std::string& path : paths) {
    std::string_view name = FileNamePart(path);
    TranslationCheck check = CheckTranslationFile(document, path);
    if (!check.status) {
      std::string where(name);
      if (check.status.line > 0) where += ":" + std::to_string(check.status.line);
      problems.push_back({.severity = Severity::Error,
                          .place = {},
                          .rule = "translation-unreadable",
                          .message = Utf8ToCp1252Replacing(where + ": " + check.status.message),
                          .hint = "Correct the file, or stop checking it (Dialogue > Localisation)."});
      continue;
    }
    for (const TranslationFinding& finding : check.findings) problems.push_back(AsProblem(finding, name));
  }
}

// Errors first, then warnings, then notes; in document order within each.
// One pass per severity, each problem copied once: a sort would move every
// problem many times.
void Finish(DocumentSurvey& survey, const std::vector<std::span<const Problem>>& runs) {
  size_t total = 0;
  for (std::span<const Problem> run : runs) total += run.size();
  survey.problems.reserve(total);
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Note})
    for (std::span<const Problem> run : runs)
      for (const Problem& problem : run)
        if (problem.severity == severity) survey.problems.push_back(problem);
  survey.counts = CountProblems(survey.problems);
}

// The same, for problems of no further use: moved, not copied.
void Finish(DocumentSurvey& survey, std::vector<Problem> problems) {
  survey.problems.reserve(problems.size());
  for (Severity severity : {Severity::Error, Severity::Warning, Severity::Note})
    for (Problem& problem : problems)
      if (problem.severity == severity) survey.problems.push_back(std::move(problem));
  survey.counts = CountProblems(survey.problems);
}

}  // namespace

DocumentSurvey SurveyDocument(std::shared_ptr<const DialogueDocument> document, const LintOptions& options,
                              const std::vector<std::string>& translationFiles) {
  DocumentSurvey survey;
  std::vector<Problem> problems = LintDialogue(*document, options);
  CheckTranslations(*document, translationFiles, problems);
  Finish(survey, std::move(problems));
  survey.stats = CountDialogue(*document);
  survey.document = std::move(document);
  return survey;
}

DocumentSurveyor::DocumentSurveyor(LintOptions options) : lint_(std::move(options)) {}

DocumentSurvey DocumentSurveyor::survey(std::shared_ptr<const DialogueDocument> document,
                                        const std::vector<std::string>& translationFiles) {
  DocumentSurvey survey;
  std::vector<std::span<const Problem>> runs = lint_.lintInRuns(document);
  std::vector<Problem> translations;
  CheckTranslations(*document, translationFiles, translations);
  runs.push_back(translations);
  Finish(survey, runs);
  survey.stats = stats_.count(document);
  survey.document = std::move(document);
  return survey;
}

SurveyWorker::SurveyWorker(LintOptions options) : surveyor_(std::move(options)), thread_([this] { run(); }) {}

SurveyWorker::~SurveyWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.reset();
  }
  wake_.notify_one();
  thread_.join();
}

uint64_t SurveyWorker::request(DialogueDocument snapshot, std::vector<std::string> translationFiles, Done done) {
  // The snapshot's own copy of what it shares with the edited document is
  // made here, on the caller's thread, as the shared tables require.
  auto document = std::make_shared<const DialogueDocument>(std::move(snapshot));
  uint64_t ticket;
  {
    std::lock_guard lock(mutex_);
    ticket = ++lastTicket_;
    waiting_ = Job{ticket, std::move(document), std::move(translationFiles), std::move(done)};
  }
  wake_.notify_one();
  return ticket;
}

void SurveyWorker::run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || waiting_; });
      if (stopping_) return;
      job = std::move(*waiting_);
      waiting_.reset();
    }
    DocumentSurvey survey = surveyor_.survey(std::move(job.document), job.translationFiles);
    survey.ticket = job.ticket;
    job.done(std::move(survey));
  }
}

}  // namespace tellwright
